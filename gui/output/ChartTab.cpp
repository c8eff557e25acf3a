#include "gui/output/ChartTab.h"

#include "gui/output/ChartExport.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace frusta::gui {

ChartTab::ChartTab(QWidget* parent) : QWidget(parent) {}

void ChartTab::refresh() {
    stale_ = true;
    if (isVisible())
        ensureBuilt();
}

void ChartTab::ensureBuilt() {
    if (!stale_)
        return;
    stale_ = false;
    rebuild();
}

void ChartTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ensureBuilt();
}

QImage ChartTab::image() {
    ensureBuilt();
    const QSize size = pictureSize().expandedTo(QSize(1, 1));
    constexpr double kMaxPixels = 16e6;
    const double area = static_cast<double>(size.width()) * size.height();
    const double scale = std::clamp(std::sqrt(kMaxPixels / area), 0.25, 2.0);
    QImage picture((QSizeF(size) * scale).toSize().expandedTo(QSize(1, 1)),
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    paintChart(p, QRectF(QPointF(0, 0), QSizeF(picture.size())), *this);
    return picture;
}

void ChartTab::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction("&Copy", this, [this] { copyChart(*this); });
    menu.addAction("Save c&hart as...", this, &ChartTab::saveRequested);
    if (zooms())
        menu.addAction("&Reset zoom", this, &ChartTab::resetZoom);
    menu.exec(event->globalPos());
}

} // namespace frusta::gui
