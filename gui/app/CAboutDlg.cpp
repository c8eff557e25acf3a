#include "gui/app/CAboutDlg.h"

#include "gui/common/DialogUnits.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>

#include <cmath>

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
    // The box grows downwards until the whole text shows without scrolling: the text laid
    // out at the width of the box's text area (less a scroll bar, to be sure) gives the
    // height it needs, and a line more.
    QTextDocument layout;
    layout.setDefaultFont(edit_->font());
    layout.setDocumentMargin(edit_->document()->documentMargin());
    layout.setPlainText(text);
    layout.setTextWidth(edit_->width() - 2 * edit_->frameWidth() -
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, edit_));
    const int needed = static_cast<int>(std::ceil(layout.size().height())) +
                       2 * edit_->frameWidth() + QFontMetrics(edit_->font()).lineSpacing();
    if (const int grow = needed - edit_->height(); grow > 0) {
        edit_->resize(edit_->width(), needed);
        ok_->move(ok_->x(), ok_->y() + grow);
        setFixedSize(width(), height() + grow);
    }
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

QString CAboutDlg::text() const {
    return edit_->toPlainText();
}

} // namespace frusta::gui
