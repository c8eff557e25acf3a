#include "gui/doc/CChildFrame2.h"

#include "gui/doc/DocumentSession.h"

#include <QCloseEvent>
#include <QLayout>

namespace frusta::gui {

CChildFrame2::CChildFrame2(DocumentSession& session, QWidget* panel) : session_(session) {
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWidget(panel);
    // Fixed size: the panel's form decides it.
    if (layout())
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    setOption(QMdiSubWindow::RubberBandResize, false);
}

void CChildFrame2::closeEvent(QCloseEvent* event) {
    // The frame itself is never closed here: the document closes all its windows when the
    // save-modified question allows it.
    event->ignore();
    session_.CanCloseFrame(this);
}

} // namespace frusta::gui
