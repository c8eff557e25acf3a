#include "gui/output/ZoomChartView.h"

#include <QWheelEvent>

namespace frusta::gui {

ZoomChartView::ZoomChartView(QWidget* parent) : TipChartView(parent) {
    setRubberBand(QChartView::HorizontalRubberBand);
    setRenderHint(QPainter::Antialiasing);
    setBackgroundBrush(Qt::white);
}

void ZoomChartView::wheelEvent(QWheelEvent* event) {
    QChart* c = chart();
    const int steps = event->angleDelta().y() / 120;
    if (!c || steps == 0) {
        event->ignore();
        return;
    }
    // Zoom about the pointer: the plot position under it stays in place.
    const QRectF plot = c->plotArea();
    const double factor = steps > 0 ? 0.8 : 1.25;
    const double x = std::clamp(event->position().x(), plot.left(), plot.right());
    const double left = x - (x - plot.left()) * factor;
    c->zoomIn(QRectF(left, plot.top(), plot.width() * factor, plot.height()));
    event->accept();
}

void ZoomChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        QGraphicsView::mouseReleaseEvent(event); // no zoom out: the context menu follows
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

} // namespace frusta::gui
