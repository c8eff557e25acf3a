#include "gui/doc/WorksheetSelectDialog.h"

#include "doc/WorksheetProposal.h"
#include "engine/Metric.h"
#include "gui/common/HelpCommand.h"
#include "gui/doc/ImpGrid.h"
#include "workbook/Book.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSizeGrip>
#include <QVBoxLayout>

namespace frusta::gui {

namespace {
constexpr int kListedRows = 20;
constexpr int kListedCols = 20; // "A" to "T"
const char* const kMetricTexts[] = {"TDI: Trophic Diatom Indices for rivers",
                                    "LTDI: Trophic Diatom Indices for lakes",
                                    "DAM: Diatom Acidification Metric"};
} // namespace

WorksheetSelectDialog::WorksheetSelectDialog(const WorksheetRequest& request, UserPort& port,
                                             QWidget* parent)
    : QDialog(parent), m_sheetNames(request.sheetNames), m_pBook(request.book),
      m_nFamily(request.family), port_(port), sheets_(new QListWidget), notes_(new QLabel),
      rows_(new QComboBox), cols_(new QComboBox), latest_(nullptr), previous_(nullptr),
      grid_(new ImpGrid) {
    setWindowTitle("Select worksheet");
    setObjectName("worksheetDialog");
    setSizeGripEnabled(true);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("Avaliable worksheets"));
    left->addWidget(sheets_, 1);
    // How a text file was read (its encoding), below the worksheet it became.
    notes_->setObjectName("readingNotes");
    notes_->setWordWrap(true);
    QStringList notes;
    if (m_pBook)
        for (const std::string& note : m_pBook->notes()) {
            QString text = QString::fromStdString(note);
            text[0] = text[0].toUpper();
            notes << text + ".";
        }
    notes_->setText(notes.join("\n"));
    notes_->setVisible(!notes.isEmpty());
    left->addWidget(notes_);
    auto* rowLine = new QHBoxLayout;
    rowLine->addWidget(new QLabel("First data row"));
    rowLine->addWidget(rows_);
    left->addLayout(rowLine);
    auto* colLine = new QHBoxLayout;
    colLine->addWidget(new QLabel("First data column"));
    colLine->addWidget(cols_);
    left->addLayout(colLine);

    auto* metricBox = new QGroupBox("Metric");
    auto* metricLayout = new QVBoxLayout(metricBox);
    for (int f = 0; f < 3; ++f) {
        metric_[f] = new QRadioButton(kMetricTexts[f]);
        metricLayout->addWidget(metric_[f]);
        connect(metric_[f], &QRadioButton::clicked, this, [this, f] { familyChosen(f); });
    }
    left->addWidget(metricBox);
    auto* versionBox = new QGroupBox("Version");
    auto* versionLayout = new QVBoxLayout(versionBox);
    latest_ = new QRadioButton("TDI4 / LTDI2: Latest version of TDI metrics for lakes && rivers");
    previous_ =
        new QRadioButton("TDI3 / LTDI1: Previous version of TDI metrics for lakes && rivers");
    versionLayout->addWidget(latest_);
    versionLayout->addWidget(previous_);
    left->addWidget(versionBox);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton("Help", QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelp(); });
    left->addWidget(buttons);

    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 0);
    main->addWidget(grid_, 1);
    resize(1000, 560);

    for (int i = 1; i <= kListedRows; ++i)
        rows_->addItem(QString::number(i));
    for (int i = 1; i <= kListedCols; ++i)
        cols_->addItem(QString::fromStdString(columnLetters(i)));
    connect(rows_, qOverload<int>(&QComboBox::activated), this,
            [this](int i) { setFirstRow(i + 1, true); });
    connect(cols_, qOverload<int>(&QComboBox::activated), this,
            [this](int i) { setFirstCol(i + 1, true); });
    connect(grid_, &ImpGrid::rowChosen, this, [this](int r) { setFirstRow(r, false); });
    connect(grid_, &ImpGrid::colChosen, this, [this](int c) { setFirstCol(c, false); });

    for (const std::string& name : m_sheetNames)
        sheets_->addItem(QString::fromStdString(name));
    connect(sheets_, &QListWidget::currentRowChanged, this, [this](int i) {
        if (i >= 0)
            loadPreview(i);
    });
    connect(sheets_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_nSelected = sheets_->row(item);
        accept();
    });
    if (!m_sheetNames.empty())
        sheets_->setCurrentRow(0); // loads the first preview
    metric_[m_nFamily >= 0 && m_nFamily < 3 ? m_nFamily : 0]->setChecked(true);
    latest_->setChecked(true);
    m_bLatest = true;
    familyChosen(m_nFamily);
}

void WorksheetSelectDialog::loadPreview(int index) {
    m_nSelected = index;
    WaitCursor wait(port_);
    m_pSheet = m_pBook ? m_pBook->getSheet(index) : nullptr;
    grid_->load(m_pSheet);
    if (m_pSheet)
        m_nFirstRow = proposeFirstRow(*m_pSheet, m_nFirstRow);
    rows_->setCurrentIndex(m_nFirstRow <= kListedRows ? m_nFirstRow - 1 : -1);
    cols_->setCurrentIndex(m_nFirstCol <= kListedCols ? m_nFirstCol - 1 : -1);
    grid_->SetFirstRow(m_nFirstRow);
    grid_->SetFirstCol(m_nFirstCol);
}

void WorksheetSelectDialog::setFirstRow(int r, bool fromList) {
    if (fromList)
        m_nFirstRow = r; // the list sets FR even beyond the worksheet's rows
    if (grid_->SetFirstRow(r)) {
        m_nFirstRow = r;
        if (!fromList)
            rows_->setCurrentIndex(r <= kListedRows ? r - 1 : -1);
    }
}

void WorksheetSelectDialog::setFirstCol(int c, bool fromList) {
    if (fromList)
        m_nFirstCol = c;
    if (grid_->SetFirstCol(c)) {
        m_nFirstCol = c;
        if (!fromList)
            cols_->setCurrentIndex(c <= kListedCols ? c - 1 : -1);
    }
}

void WorksheetSelectDialog::familyChosen(int family) {
    const bool versions = familyHasVersions(family);
    latest_->setEnabled(versions);
    previous_->setEnabled(versions);
}

void WorksheetSelectDialog::accept() {
    for (int f = 0; f < 3; ++f)
        if (metric_[f]->isChecked())
            m_nFamily = f;
    m_bLatest = latest_->isChecked();
    QDialog::accept();
}

WorksheetChoice WorksheetSelectDialog::choice() const {
    WorksheetChoice c;
    c.sheetIndex = m_nSelected;
    c.family = m_nFamily;
    c.latest = m_bLatest;
    c.firstRow = m_nFirstRow;
    c.firstCol = m_nFirstCol;
    return c;
}

std::optional<WorksheetChoice> runWorksheetDialog(const WorksheetRequest& request, UserPort& port,
                                                  QWidget* parent) {
    WorksheetSelectDialog dialog(request, port, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace frusta::gui
