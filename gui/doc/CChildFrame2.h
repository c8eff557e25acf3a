#pragma once
// The command panel's child window: fixed size, no minimise or maximise box. Closing it
// asks the document's save-modified question and closes every window of the document.
#include <QMdiSubWindow>

namespace frusta::gui {

class DocumentSession;

class CChildFrame2 : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame2(DocumentSession& session, QWidget* panel);
    DocumentSession& session() const { return session_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    DocumentSession& session_;
};

} // namespace frusta::gui
