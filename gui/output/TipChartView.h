#pragma once
// A chart view that shows a tip for what lies under the pointer when the pointer rests
// there, as the tool tips of other controls appear; the tip goes when the pointer moves on.
#include <QChartView>

#include <functional>

namespace frusta::gui {

class TipChartView : public QChartView {
    Q_OBJECT
public:
    explicit TipChartView(QWidget* parent = nullptr);

    // The tip's text at a point of the chart's scene; empty for none.
    std::function<QString(QPointF scenePoint)> tipAt;

protected:
    bool viewportEvent(QEvent* event) override;
};

} // namespace frusta::gui
