#include "gui/output/EqrChartView.h"

#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "engine/ClassBoundaries.h"
#include "gui/output/ChartExport.h"
#include "gui/output/ClassColours.h"
#include "gui/output/ZoomChartView.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>

namespace frusta::gui {

namespace {

constexpr int kScrollSteps = 1000;
constexpr double kMinSitePixels = 12.0;
const QColor kMarkBorder(45, 45, 45);
constexpr int kRimDarker = 170; // percent: the rim of a mark against its fill
const QColor kSeparator(150, 150, 150);

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

void hideFromLegend(QChart& chart, QAbstractSeries* series) {
    for (QLegendMarker* marker : chart.legend()->markers(series))
        marker->setVisible(false);
}

// The EQR range of class k's band (1 High to 5 Bad) between the axis ends.
std::pair<double, double> bandRange(const charts::BandLimits& b, int k, double lo, double hi) {
    const double top = k == 1 ? hi : b[static_cast<std::size_t>(k - 2)];
    const double bottom = k == 5 ? lo : b[static_cast<std::size_t>(k - 1)];
    const double t = std::clamp(top, lo, hi), u = std::clamp(bottom, lo, hi);
    return {u, std::max(t, u)};
}

// Category labels must differ: a repeated sample name gets invisible zero-width spaces.
QString uniqueLabel(QString text, QSet<QString>& used) {
    while (used.contains(text))
        text += QChar(0x200B);
    used.insert(text);
    return text;
}

void clearCategories(QCategoryAxis& axis) {
    for (const QString& label : axis.categoriesLabels())
        axis.remove(label);
}

// The step of at most about ten EQR ticks: 0.1, 0.2, 0.5, 1, 2, 5, 10 ...
double tickStep(double span) {
    double step = 0.1;
    for (int i = 0; span / step > 10.5 && i < 60; ++i)
        step *= i % 3 == 1 ? 2.5 : 2.0;
    return step;
}

QFont smallFont(int points) {
    QFont font("Arial");
    font.setPointSize(points);
    return font;
}

} // namespace

EqrChartView::EqrChartView(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                           QWidget* parent)
    : ChartTab(parent), doc_(doc), classNames_(classNames), view_(new ZoomChartView(this)),
      scroll_(new QScrollBar(Qt::Horizontal, this)) {
    setObjectName("EqrChartView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    layout->addWidget(scroll_);
    scroll_->setRange(0, kScrollSteps);
    scroll_->hide();
    view_->tipAt = [this](QPointF scenePoint) { return tipAt(scenePoint); };
    connect(scroll_, &QScrollBar::valueChanged, this, &EqrChartView::scrollTo);
}

QSize EqrChartView::pictureSize() const {
    return view_->size();
}

void EqrChartView::paintPicture(QPainter& p) const {
    paintChartView(p, QRectF(QPointF(0, 0), QSizeF(view_->size())), *view_);
}

void EqrChartView::rebuild() {
    series_ = charts::eqrSeries(doc_);
    auto* chart = new QChart;
    chart->setTitle(qs(doc_.GetTitle()) + ": " + qs(series_.title) + " of every sample");
    chart->setTitleFont(smallFont(10));
    chart->setMargins(QMargins(6, 6, 6, 6));
    chart->setBackgroundRoundness(0); // square on white, in the window and in its pictures
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(smallFont(8));

    samplesAxis_ = new QCategoryAxis;
    samplesAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    samplesAxis_->setLabelsAngle(-90);
    samplesAxis_->setLabelsFont(smallFont(7));
    samplesAxis_->setGridLineVisible(false);
    samplesAxis_->setRange(series_.positionMin, series_.positionMax);
    sitesAxis_ = new QCategoryAxis;
    sitesAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    sitesAxis_->setLabelsFont(smallFont(8));
    sitesAxis_->setGridLineVisible(false);
    sitesAxis_->setRange(series_.positionMin, series_.positionMax);
    eqrAxis_ = new QValueAxis;
    eqrAxis_->setRange(series_.axisMin, series_.axisMax);
    eqrAxis_->setTickType(QValueAxis::TicksDynamic);
    eqrAxis_->setTickAnchor(0.0);
    eqrAxis_->setTickInterval(tickStep(series_.axisMax - series_.axisMin));
    eqrAxis_->setLabelFormat("%.1f");
    eqrAxis_->setLabelsFont(smallFont(8));
    eqrAxis_->setTitleText(qs(series_.title));
    eqrAxis_->setTitleFont(smallFont(8));
    chart->addAxis(samplesAxis_, Qt::AlignBottom);
    chart->addAxis(sitesAxis_, Qt::AlignTop);
    chart->addAxis(eqrAxis_, Qt::AlignLeft);

    addBands(*chart);
    addSeparators(*chart);
    addMarks(*chart);

    QChart* old = view_->chart();
    view_->setChart(chart);
    delete old;
    connect(samplesAxis_, &QValueAxis::rangeChanged, this, &EqrChartView::rangeChanged);
    // Zooming is along the samples only: the EQR axis keeps its range.
    connect(eqrAxis_, &QValueAxis::rangeChanged, this, [this] {
        if (!relabelling_)
            rangeChanged(samplesAxis_->min(), samplesAxis_->max());
    });
    connect(chart, &QChart::plotAreaChanged, this, &EqrChartView::relabel);
    rangeChanged(samplesAxis_->min(), samplesAxis_->max());
}

void EqrChartView::addBands(QChart& chart) {
    // The outer bands run on beyond the axis ends, where the plot cuts them off, so that
    // they fill the margin that keeps the marks at the ends whole.
    const double span = series_.axisMax - series_.axisMin;
    const double lo = series_.axisMin - span, hi = series_.axisMax + span;
    const auto& marks = series_.samples;
    for (int k = 1; k <= 5; ++k) {
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        QList<QPointF> up, down;
        // Four points a sample, from half way to the previous sample to half way to the
        // next, so that bands run on across the gaps between sites; between samples both
        // edges run together, so that samples without boundaries leave the place empty.
        for (std::size_t i = 0; i < marks.size(); ++i) {
            const charts::SampleMark& m = marks[i];
            if (!m.bands)
                continue;
            const auto [bottom, top] = bandRange(*m.bands, k, lo, hi);
            const double x0 = i > 0 ? (marks[i - 1].position + m.position) / 2 : m.position - 0.5;
            const double x1 =
                i + 1 < marks.size() ? (m.position + marks[i + 1].position) / 2 : m.position + 0.5;
            up << QPointF(x0, bottom) << QPointF(x0, top) << QPointF(x1, top)
               << QPointF(x1, bottom);
            down << QPointF(x0, bottom) << QPointF(x0, bottom) << QPointF(x1, bottom)
                 << QPointF(x1, bottom);
        }
        upper->replace(up);
        lower->replace(down);
        auto* area = new QAreaSeries(upper, lower);
        upper->setParent(area);
        lower->setParent(area);
        area->setName(qs(classNameOf(classNames_, k)) + " band");
        area->setPen(Qt::NoPen);
        area->setBrush(classQTint(k));
        chart.addSeries(area);
        area->attachAxis(samplesAxis_);
        area->attachAxis(eqrAxis_);
        hideFromLegend(chart, area);
    }
}

void EqrChartView::addSeparators(QChart& chart) {
    // One line that rises and falls in the middle of every gap between two sites; its
    // runs in between lie beyond the plot, where they are cut off.
    separators_ = new QLineSeries;
    const double span = series_.axisMax - series_.axisMin;
    const double below = series_.axisMin - span, above = series_.axisMax + span;
    QList<QPointF> points;
    bool up = true;
    for (std::size_t i = 0; i + 1 < series_.sites.size(); ++i) {
        const double x = series_.sites[i].last + 1.0;
        points << QPointF(x, up ? below : above) << QPointF(x, up ? above : below);
        up = !up;
    }
    separators_->replace(points);
    separators_->setPen(QPen(kSeparator, 1));
    chart.addSeries(separators_);
    separators_->attachAxis(samplesAxis_);
    separators_->attachAxis(eqrAxis_);
    hideFromLegend(chart, separators_);
}

void EqrChartView::addMarks(QChart& chart) {
    marks_.clear();
    // Marks have a darker rim of their own colour, so that they stand out from the band of
    // their class even when they are small.
    auto add = [&](const QString& name, const QBrush& fill, const QColor& rim, double border) {
        auto* s = new QScatterSeries;
        s->setName(name);
        s->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        s->setBrush(fill);
        s->setPen(QPen(rim, border));
        marks_.push_back(s);
        return s;
    };
    for (int k = 1; k <= 5; ++k)
        add(qs(classNameOf(classNames_, k)), classQColor(k), classQColor(k).darker(kRimDarker),
            1.0);
    QScatterSeries* noClass =
        add("No class", classQColor(0), classQColor(0).darker(kRimDarker), 1.0);
    QScatterSeries* noEqr = add("No EQR", Qt::NoBrush, kMarkBorder, 1.5);
    for (const charts::SampleMark& m : series_.samples) {
        if (!m.eqr)
            noEqr->append(m.position, series_.axisMin);
        else
            (m.classCode > 0 ? marks_[m.classCode - 1] : noClass)->append(m.position, *m.eqr);
    }
    for (QScatterSeries* s : marks_) {
        chart.addSeries(s);
        s->attachAxis(samplesAxis_);
        s->attachAxis(eqrAxis_);
        if (s->count() == 0 && (s == noClass || s == noEqr))
            hideFromLegend(chart, s);
    }
}

void EqrChartView::resetZoom() {
    if (samplesAxis_)
        samplesAxis_->setRange(series_.positionMin, series_.positionMax);
}

void EqrChartView::rangeChanged(double min, double max) {
    if (relabelling_ || !samplesAxis_)
        return;
    // The view stays within the samples and never shows more than all of them.
    const double full = series_.positionMax - series_.positionMin;
    const double width = std::min(max - min, full);
    min = std::clamp(min, series_.positionMin, series_.positionMax - width);
    max = min + width;
    relabelling_ = true;
    samplesAxis_->setRange(min, max);
    sitesAxis_->setRange(min, max);
    eqrAxis_->setRange(series_.axisMin, series_.axisMax);
    relabelling_ = false;
    const QSignalBlocker block(scroll_);
    const bool zoomed = width < full - 1e-9;
    scroll_->setVisible(zoomed);
    scroll_->setPageStep(std::max(1, static_cast<int>(kScrollSteps * width / full)));
    scroll_->setValue(zoomed ? static_cast<int>(std::lround((min - series_.positionMin) /
                                                            (full - width) * kScrollSteps))
                             : 0);
    relabel();
}

void EqrChartView::scrollTo(int value) {
    if (!samplesAxis_)
        return;
    const double full = series_.positionMax - series_.positionMin;
    const double width = samplesAxis_->max() - samplesAxis_->min();
    const double min = series_.positionMin + (full - width) * value / kScrollSteps;
    samplesAxis_->setRange(min, min + width);
}

void EqrChartView::relabel() {
    if (!samplesAxis_ || relabelling_)
        return;
    const double lo = samplesAxis_->min(), hi = samplesAxis_->max();
    const double perPosition = view_->chart()->plotArea().width() / std::max(hi - lo, 1e-9);
    // Sample names stand upright side by side: one in every `step` samples fits (the axis
    // shortens a name that has less than about twice the text height to itself).
    const double slot = 2.0 * QFontMetricsF(samplesAxis_->labelsFont()).height() + 6.0;
    const std::size_t step =
        static_cast<std::size_t>(std::max(1.0, std::ceil(slot / std::max(perPosition, 1e-9))));
    relabelling_ = true;
    clearCategories(*samplesAxis_);
    clearCategories(*sitesAxis_);
    samplesAxis_->setStartValue(series_.positionMin);
    sitesAxis_->setStartValue(series_.positionMin);
    QSet<QString> used;
    for (std::size_t k = 0; k < series_.samples.size(); k += step) {
        const charts::SampleMark& m = series_.samples[k];
        if (m.position >= lo && m.position <= hi)
            samplesAxis_->append(uniqueLabel(qs(m.name), used), m.position);
    }
    // Site codes read across: a code is shown when it clears the one shown before it by
    // the margin the axis needs not to shorten it.
    const QFontMetricsF siteMetrics(sitesAxis_->labelsFont());
    double lastRight = -1e9;
    for (const charts::SiteSpan& site : series_.sites) {
        const double centre = (site.first + site.last) / 2.0;
        const QString text = qs(site.site);
        const double half = siteMetrics.horizontalAdvance(text) / 2.0 + 12.0;
        const double x = (centre - lo) * perPosition;
        if (centre < lo || centre > hi || x - half < lastRight)
            continue;
        sitesAxis_->append(uniqueLabel(text, used), centre);
        lastRight = x + half;
    }
    samplesAxis_->setRange(lo, hi);
    sitesAxis_->setRange(lo, hi);
    // Thin marks where samples stand close together; site lines only where they stay apart.
    const double size = std::clamp(perPosition * 0.8, 3.0, 10.0);
    for (QScatterSeries* s : marks_)
        s->setMarkerSize(size);
    fitValueAxis(size);
    const double perSite = perPosition * (series_.positionMax - series_.positionMin) /
                           std::max<std::size_t>(series_.sites.size(), 1);
    // (Hiding the series would bring back its legend entry.)
    separators_->setPen(QPen(perSite >= kMinSitePixels ? kSeparator : QColor(Qt::transparent), 1));
    relabelling_ = false;
}

void EqrChartView::fitValueAxis(double markSize) {
    // The axis reaches half a mark and its rim beyond the highest and the lowest value, so
    // that marks at the ends (EQR 1, the cap, and the lowest) are drawn whole: a margin of
    // `pad` pixels on a plot of `plot` pixels is pad x span / (plot - 2 x pad) in EQR.
    const double plot = view_->chart()->plotArea().height();
    const double pad = markSize / 2.0 + 2.0;
    const double span = series_.axisMax - series_.axisMin;
    const double margin = plot > 4.0 * pad ? span * pad / (plot - 2.0 * pad) : 0.0;
    const double lo = series_.axisMin - margin, hi = series_.axisMax + margin;
    if (std::abs(eqrAxis_->min() - lo) > 1e-9 || std::abs(eqrAxis_->max() - hi) > 1e-9)
        eqrAxis_->setRange(lo, hi);
}

int EqrChartView::markAt(double position) const {
    for (std::size_t i = 0; i < series_.samples.size(); ++i)
        if (std::abs(series_.samples[i].position - position) <= 0.5)
            return static_cast<int>(i);
    return -1;
}

QString EqrChartView::markText(int mark) const {
    const charts::SampleMark& m = series_.samples.at(static_cast<std::size_t>(mark));
    QString text = qs(m.name) + " (" + qs(m.site) + ")\n";
    if (!m.eqr) {
        // The comment says why, after the "No EQR" note itself when it has one.
        const QString note = m.note.empty() ? QString("no value") : qs(m.note);
        return text + (note.contains("No EQR") ? note : "No EQR: " + note);
    }
    const std::string className = classNameOf(classNames_, m.classCode);
    const QString name = className.empty() ? QString("no class") : qs(className);
    return text + "EQR " + qs(charts::twoDecimals(*m.eqr)) + ", " + name;
}

QString EqrChartView::bandText(int mark) const {
    const charts::SampleMark& m = series_.samples.at(static_cast<std::size_t>(mark));
    if (!m.bands)
        return qs(m.name) + ": no class boundaries";
    QString text = qs(m.name) + " boundaries:";
    for (int k = 0; k < 4; ++k)
        text +=
            QString("\n%1 %2").arg(engine::boundaryName(k), qs(charts::twoDecimals((*m.bands)[k])));
    return text;
}

QString EqrChartView::tipAt(QPointF scenePoint) const {
    QChart* chart = view_->chart();
    if (!chart || marks_.empty())
        return {};
    const QPointF point = chart->mapFromScene(scenePoint);
    if (!chart->plotArea().contains(point))
        return {};
    QAbstractSeries* axes = marks_.front(); // attached to both axes, as every series is
    const int mark = markAt(chart->mapToValue(point, axes).x());
    if (mark < 0)
        return {};
    const charts::SampleMark& m = series_.samples[static_cast<std::size_t>(mark)];
    const QPointF centre =
        chart->mapToPosition(QPointF(m.position, m.eqr ? *m.eqr : series_.axisMin), axes);
    const double reach = marks_.front()->markerSize() / 2.0 + 2.0;
    return QLineF(centre, point).length() <= reach ? markText(mark) : bandText(mark);
}

} // namespace frusta::gui
