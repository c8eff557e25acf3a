#pragma once
// The "Confidence chart" tab: one bar per site, 100% wide, divided into the confidence of
// class High, Good, Moderate, Poor and Bad in the class colours and labelled with the site
// code, its samples, its mean EQR and its class; the risks on hover. The bars keep a
// readable height and the tab scrolls; the sites without figures are listed beneath.
#include "gui/output/ChartTab.h"
#include "output/ChartSeries.h"

#include <string>
#include <vector>

class QChartView;
class QHorizontalPercentBarSeries;
class QLabel;
class QScrollArea;

namespace frusta {
class CPbtDoc;
}

namespace frusta::gui {

class TipChartView;

class ConfidenceChartView : public ChartTab {
    Q_OBJECT
public:
    ConfidenceChartView(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                        QWidget* parent = nullptr);

    // The chart with the list of sites without figures beneath it.
    QSize pictureSize() const override;
    void paintPicture(QPainter& p) const override;
    QChartView* chartView() const;
    // The list of sites without figures (empty when every site has them).
    QLabel* withoutList() const { return without_; }
    // The text shown on hover over site bar `bar` (0 the first site, at the top).
    QString barText(int bar) const;
    // The hover text at a point of the chart's scene: the text of the bar there, if any.
    QString tipAt(QPointF scenePoint) const;

    // Height of one bar's row, in pixels.
    static constexpr int kRowHeight = 24;

protected:
    void rebuild() override;

private:
    QString withoutText() const;

    const CPbtDoc& doc_;
    const std::vector<std::string>& classNames_;
    charts::ConfidenceSeries series_; // what the chart draws, computed from the document
    QScrollArea* scroll_;
    QWidget* content_;
    TipChartView* view_;
    QHorizontalPercentBarSeries* bars_ = nullptr;
    QLabel* without_;
};

} // namespace frusta::gui
