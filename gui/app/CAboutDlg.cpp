#include "gui/app/CAboutDlg.h"

#include "gui/app/DialogUnits.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace frusta::gui {

CAboutDlg::CAboutDlg(const std::string& aboutText, QWidget* parent)
    : QDialog(parent), edit_(new QPlainTextEdit(this)), ok_(new QPushButton("OK", this)) {
    setWindowTitle("About FRUSTA 2");
    setObjectName("aboutBox");
    setFont(dialogFont());
    const DialogUnits du(font());
    setFixedSize(du.x(275), du.y(211));
    edit_->setGeometry(du.rect(7, 6, 261, 181));
    edit_->setReadOnly(true);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // CR LF between lines in the text; the box shows each pair as one line break.
    QString text = QString::fromStdString(aboutText);
    text.replace("\r\n", "\n");
    edit_->setPlainText(text);
    ok_->setGeometry(du.rect(218, 192, 50, 14));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

QString CAboutDlg::text() const {
    return edit_->toPlainText();
}

} // namespace frusta::gui
