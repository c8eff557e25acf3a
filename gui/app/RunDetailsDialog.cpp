#include "gui/app/RunDetailsDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace frusta::gui {

RunDetailsDialog::RunDetailsDialog(const RunDetails& details, const QString& title, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(static_cast<int>(details.size()), 2, this)),
      details_(details) {
    setWindowTitle("Run details");
    setObjectName("runDetailsDialog");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(details.empty() ? title + " has not been analysed yet."
                                                 : "How the results of " + title + " were made:",
                                 this));
    table_->setHorizontalHeaderLabels({"Item", "Value"});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideRight);
    for (int r = 0; r < static_cast<int>(details.size()); ++r) {
        const auto& [label, value] = details[static_cast<std::size_t>(r)];
        table_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(label)));
        // One line a row; a text of several lines (the database's About table) in full in
        // its hover text.
        QString line = QString::fromStdString(value);
        line.replace('\n', "  |  ");
        auto* item = new QTableWidgetItem(line);
        item->setToolTip(QString::fromStdString(value));
        table_->setItem(r, 1, item);
    }
    table_->resizeColumnToContents(0);
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* copy = buttons->addButton("&Copy", QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(text()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(760, 520);
}

QString RunDetailsDialog::text() const {
    QString out;
    for (const auto& [label, value] : details_)
        out += QString::fromStdString(label) + "\t" + QString::fromStdString(value) + "\n";
    return out;
}

} // namespace frusta::gui
