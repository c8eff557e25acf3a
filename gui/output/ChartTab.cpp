#include "gui/output/ChartTab.h"

#include "gui/output/ChartExport.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

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
    QWidget* w = pictureWidget();
    const QSize size = w->size().expandedTo(QSize(1, 1));
    QImage picture(size * 2, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    paintChart(p, QRectF(QPointF(0, 0), QSizeF(picture.size())), *w);
    return picture;
}

void ChartTab::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction("&Copy", this, [this] { copyChart(*this); });
    menu.addAction("Save c&hart as...", this, &ChartTab::saveRequested);
    menu.addAction("&Reset zoom", this, &ChartTab::resetZoom);
    menu.exec(event->globalPos());
}

} // namespace frusta::gui
