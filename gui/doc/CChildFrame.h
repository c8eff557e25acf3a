#pragma once
// A plain child window of the main frame (data, results and master taxon list windows): it
// keeps the caption the program gives it and closes alone, without a question.
#include <QMdiSubWindow>

namespace frusta::gui {

class DocumentSession;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(DocumentSession* session, QWidget* view, const QString& caption);
    DocumentSession* session() const { return session_; }

private:
    DocumentSession* session_;
};

} // namespace frusta::gui
