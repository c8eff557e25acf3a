#pragma once
// The "EQR chart" tab: one mark per sample at its EQR in its class colour, samples grouped by
// site, in front of the five class bands of each sample's own boundaries. Sample names below
// and site codes above the plot are thinned out to what fits; the chart zooms along the
// samples (band drag, wheel) and scrolls with the bar beneath it.
#include "gui/output/ChartTab.h"
#include "output/ChartSeries.h"

#include <string>
#include <vector>

class QCategoryAxis;
class QChart;
class QLineSeries;
class QScatterSeries;
class QScrollBar;
class QValueAxis;

namespace frusta {
class CPbtDoc;
}

namespace frusta::gui {

class ZoomChartView;

class EqrChartView : public ChartTab {
    Q_OBJECT
public:
    EqrChartView(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                 QWidget* parent = nullptr);

    QSize pictureSize() const override;
    void paintPicture(QPainter& p) const override;
    ZoomChartView* chartView() const { return view_; }
    bool zooms() const override { return true; }
    void resetZoom() override;

    // The texts shown on hover: a sample's mark, and its class bands.
    QString markText(int mark) const;
    QString bandText(int mark) const;
    // The mark at a horizontal axis position; -1 when none.
    int markAt(double position) const;
    // The hover text at a point of the chart's scene: the mark's text on a mark, the band
    // text elsewhere in a sample's column of the plot, nothing outside.
    QString tipAt(QPointF scenePoint) const;

protected:
    void rebuild() override;

private:
    void addBands(QChart& chart);
    void addMarks(QChart& chart);
    void addSeparators(QChart& chart);
    void rangeChanged(double min, double max);
    void relabel();
    void fitValueAxis(double markSize);
    void scrollTo(int value);

    const CPbtDoc& doc_;
    const std::vector<std::string>& classNames_;
    charts::EqrSeries series_; // what the chart draws, computed from the document
    ZoomChartView* view_;
    QScrollBar* scroll_;
    QCategoryAxis* samplesAxis_ = nullptr;
    QCategoryAxis* sitesAxis_ = nullptr;
    QValueAxis* eqrAxis_ = nullptr;
    std::vector<QScatterSeries*> marks_;
    QLineSeries* separators_ = nullptr;
    bool relabelling_ = false;
};

} // namespace frusta::gui
