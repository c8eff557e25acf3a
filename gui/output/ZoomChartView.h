#pragma once
// A chart view that zooms along the horizontal axis only: drag a band with the left button
// or turn the wheel over the plot. The right button is left to the context menu.
#include "gui/output/TipChartView.h"

namespace frusta::gui {

class ZoomChartView : public TipChartView {
    Q_OBJECT
public:
    explicit ZoomChartView(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace frusta::gui
