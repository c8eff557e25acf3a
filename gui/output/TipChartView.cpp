#include "gui/output/TipChartView.h"

#include <QHelpEvent>
#include <QToolTip>

namespace frusta::gui {

namespace {
// How far the pointer may move before the tip goes, in pixels each way.
constexpr int kTipSlack = 4;
} // namespace

TipChartView::TipChartView(QWidget* parent) : QChartView(parent) {
    setMouseTracking(true);
}

bool TipChartView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QChartView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = tipAt ? tipAt(mapToScene(help->pos())) : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const QRect around(help->pos() - QPoint(kTipSlack, kTipSlack),
                       QSize(2 * kTipSlack + 1, 2 * kTipSlack + 1));
    QToolTip::showText(help->globalPos(), text, viewport(), around);
    return true;
}

} // namespace frusta::gui
