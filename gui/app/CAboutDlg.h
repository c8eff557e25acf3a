#pragma once
// The About box: the version and credits in a read-only text box, and an OK button.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace frusta::gui {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const std::string& aboutText, QWidget* parent);
    QString text() const;
    QPushButton* okButton() const { return ok_; }

private:
    QPlainTextEdit* edit_;
    QPushButton* ok_;
};

} // namespace frusta::gui
