#include "gui/engine/CDefaultDialog.h"

#include "app/ShellTexts.h"
#include "engine/DefaultValueCheck.h"
#include "engine/TextFormat.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/HelpCommand.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace frusta::gui {

namespace {
struct Field {
    const char* label;
    int labelY, labelWidth, editY;
    double lo, hi;
};
const Field kFields[3] = {{"Alkalinity (mg/l)", 44, 48, 40, 0.0, 1000.0},
                          {"Calcium (ueq/l)", 59, 48, 56, 0.0, 100.0},
                          {"DOC (mg/l)", 75, 36, 73, 0.0, 20.0}};
} // namespace

CDefaultDialog::CDefaultDialog(const DefaultValues& current, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Default values");
    setObjectName("defaultsDialog");
    setFont(dialogFont());
    const DialogUnits du(font());
    setFixedSize(du.x(200), du.y(100));
    auto* intro = new QLabel("Default values: these will be used to replace any missing values "
                             "in the calculation of expected TDI or DAM.",
                             this);
    intro->setWordWrap(true);
    intro->setGeometry(du.rect(7, 5, 186, 23));
    auto* group = new QGroupBox(this);
    group->setGeometry(du.rect(7, 28, 121, 65));
    const double values[3] = {current.alk, current.ca, current.doc};
    m_defaultAlk = current.alk;
    m_defaultCa = current.ca;
    m_defaultDoc = current.doc;
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(kFields[i].label, this);
        label->setGeometry(du.rect(15, kFields[i].labelY - 1, 60, 10));
        edits_[i] = new QLineEdit(QString::fromStdString(formatG(values[i])), this);
        edits_[i]->setGeometry(du.rect(77, kFields[i].editY, 44, 12));
    }
    auto* ok = new QPushButton("OK", this);
    ok->setGeometry(du.rect(143, 42, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setGeometry(du.rect(143, 60, 50, 14));
    auto* help = new QPushButton("Help", this);
    help->setGeometry(du.rect(143, 79, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CDefaultDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelp(); });
}

void CDefaultDialog::accept() {
    double* targets[3] = {&m_defaultAlk, &m_defaultCa, &m_defaultDoc};
    double checked[3] = {};
    for (int i = 0; i < 3; ++i) {
        const DefaultValueCheck c =
            checkDefaultValue(edits_[i]->text().toStdString(), kFields[i].lo, kFields[i].hi);
        if (!c.value) {
            QMessageBox::warning(this, QString::fromUtf8(kAppTitle),
                                 QString::fromStdString(c.message));
            edits_[i]->setFocus();
            edits_[i]->selectAll();
            return; // the dialog stays open with the offending box selected
        }
        checked[i] = *c.value;
    }
    for (int i = 0; i < 3; ++i)
        *targets[i] = checked[i];
    QDialog::accept();
}

std::optional<DefaultValues> runDefaultDialog(const DefaultValues& current, QWidget* parent) {
    CDefaultDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return DefaultValues{dialog.m_defaultAlk, dialog.m_defaultCa, dialog.m_defaultDoc};
}

} // namespace frusta::gui
