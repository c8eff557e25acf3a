#include "gui/doc/CChildFrame.h"

namespace frusta::gui {

CChildFrame::CChildFrame(DocumentSession* session, QWidget* view, const QString& caption)
    : session_(session) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    setWindowTitle(caption);
}

} // namespace frusta::gui
