#include "gui/output/FrozenPane.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

namespace frusta::gui {

FrozenPane::FrozenPane(QTableView& grid, Qt::Orientations pinned)
    : QTableView(&grid), grid_(grid), pinned_(pinned) {
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // No scrolling of its own while a selection is dragged to the pane's edge.
    setAutoScroll(false);
    if (pinned_ & Qt::Horizontal)
        pin(horizontalScrollBar());
    if (pinned_ & Qt::Vertical)
        pin(verticalScrollBar());
}

void FrozenPane::pin(QScrollBar* bar) {
    // Whatever moves the bar (a range change on resize, a header's own scrolling), it goes
    // straight back to the start.
    connect(bar, &QScrollBar::valueChanged, bar, [bar](int value) {
        if (value != 0)
            bar->setValue(0);
    });
}

void FrozenPane::scrollTo(const QModelIndex&, ScrollHint) {}

void FrozenPane::mousePressEvent(QMouseEvent* event) {
    grid_.setFocus(Qt::MouseFocusReason);
    QTableView::mousePressEvent(event);
}

void FrozenPane::wheelEvent(QWheelEvent* event) {
    QApplication::sendEvent(grid_.viewport(), event);
}

} // namespace frusta::gui
