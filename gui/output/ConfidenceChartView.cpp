#include "gui/output/ConfidenceChartView.h"

#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "gui/output/ChartExport.h"
#include "gui/output/ClassColours.h"
#include "gui/output/TipChartView.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalPercentBarSeries>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>

namespace frusta::gui {

namespace {

constexpr int kChartChrome = 190; // title, legend and axis around the bars

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QFont smallFont(int points) {
    QFont font("Arial");
    font.setPointSize(points);
    return font;
}

QString percent(double x) {
    return qs(charts::twoDecimals(x)) + "%";
}

} // namespace

ConfidenceChartView::ConfidenceChartView(const CPbtDoc& doc,
                                         const std::vector<std::string>& classNames,
                                         QWidget* parent)
    : ChartTab(parent), doc_(doc), classNames_(classNames), scroll_(new QScrollArea(this)),
      content_(new QWidget), view_(new TipChartView(content_)), without_(new QLabel(content_)) {
    setObjectName("ConfidenceChartView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    content_->setAutoFillBackground(true);
    QPalette white = content_->palette();
    white.setColor(QPalette::Window, Qt::white);
    content_->setPalette(white);
    auto* inner = new QVBoxLayout(content_);
    inner->setContentsMargins(0, 0, 0, 6);
    inner->addWidget(view_);
    inner->addWidget(without_);
    without_->setObjectName("sitesWithoutFigures");
    without_->setFont(smallFont(9));
    without_->setContentsMargins(12, 0, 12, 0);
    without_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->tipAt = [this](QPointF scenePoint) { return tipAt(scenePoint); };
    view_->setBackgroundBrush(Qt::white);
    scroll_->setWidget(content_);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
}

QChartView* ConfidenceChartView::chartView() const {
    return view_;
}

QSize ConfidenceChartView::pictureSize() const {
    return content_->size();
}

void ConfidenceChartView::paintPicture(QPainter& p) const {
    paintChartView(p, QRectF(view_->geometry()), *view_);
    if (!without_->isHidden()) {
        p.setFont(without_->font());
        p.setPen(Qt::black);
        p.drawText(without_->geometry().marginsRemoved(without_->contentsMargins()),
                   Qt::AlignLeft | Qt::AlignTop, without_->text());
    }
}

void ConfidenceChartView::rebuild() {
    series_ = charts::confidenceSeries(doc_, classNames_).value_or(charts::ConfidenceSeries{});
    auto* chart = new QChart;
    chart->setTitle(qs(doc_.GetTitle()) + ": confidence of class of every site");
    chart->setTitleFont(smallFont(10));
    chart->setMargins(QMargins(6, 6, 12, 6));
    chart->setBackgroundRoundness(0); // square on white, in the window and in its pictures
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setFont(smallFont(8));

    auto* bars = new QHorizontalPercentBarSeries;
    bars->setBarWidth(0.75);
    for (int k = 1; k <= 5; ++k) {
        auto* set = new QBarSet(qs(classNameOf(classNames_, k)));
        set->setColor(classQColor(k));
        set->setPen(Qt::NoPen); // a border would cover thin bars on a page
        // The axis runs upwards: the last site first, so that the first stands at the top.
        for (auto bar = series_.bars.rbegin(); bar != series_.bars.rend(); ++bar)
            set->append(bar->coc[static_cast<std::size_t>(k - 1)]);
        bars->append(set);
    }
    chart->addSeries(bars);
    bars_ = bars;

    auto* sites = new QBarCategoryAxis;
    for (auto bar = series_.bars.rbegin(); bar != series_.bars.rend(); ++bar)
        sites->append(qs(bar->label));
    sites->setLabelsFont(smallFont(8));
    sites->setGridLineVisible(false);
    auto* share = new QValueAxis;
    share->setRange(0, 100);
    share->setTickCount(11);
    share->setLabelFormat("%.0f");
    share->setLabelsFont(smallFont(8));
    share->setTitleText("Confidence of class (%)");
    share->setTitleFont(smallFont(8));
    chart->addAxis(sites, Qt::AlignLeft);
    chart->addAxis(share, Qt::AlignBottom);
    bars->attachAxis(sites);
    bars->attachAxis(share);

    QChart* old = view_->chart();
    view_->setChart(chart);
    delete old;
    // Every bar keeps a readable height; the tab scrolls when they do not all fit.
    view_->setMinimumHeight(kChartChrome + kRowHeight * static_cast<int>(series_.bars.size()));
    without_->setText(withoutText());
    without_->setVisible(!without_->text().isEmpty());
}

QString ConfidenceChartView::withoutText() const {
    if (series_.without.empty())
        return series_.bars.empty() ? "No site has a confidence of class." : QString();
    QString text = "Sites without a confidence of class:";
    for (const charts::SiteBar& bar : series_.without)
        text += "\n" + qs(bar.label) + ": " + qs(bar.reason);
    return text;
}

QString ConfidenceChartView::barText(int bar) const {
    const charts::SiteBar& b = series_.bars.at(static_cast<std::size_t>(bar));
    const std::vector<std::string>& names = defaultClassNames();
    QString text = qs(b.label);
    for (int k = 0; k < 5; ++k)
        text +=
            QString("\nCoC %1 %2")
                .arg(qs(classNameOf(names, k + 1)), percent(b.coc[static_cast<std::size_t>(k)]));
    text += "\nRisk of misclassification " + (b.rom ? percent(*b.rom) : QString("..."));
    text += "\nGood/Moderate risk " +
            (b.romGoodModerate ? percent(*b.romGoodModerate) : QString("..."));
    return text;
}

QString ConfidenceChartView::tipAt(QPointF scenePoint) const {
    QChart* chart = view_->chart();
    if (!chart || !bars_)
        return {};
    const QPointF point = chart->mapFromScene(scenePoint);
    if (!chart->plotArea().contains(point))
        return {};
    // Along the site axis a bar stands at its category's index, the bar width across.
    const double across = chart->mapToValue(point, bars_).y();
    const int index = static_cast<int>(std::lround(across));
    const int n = static_cast<int>(series_.bars.size());
    if (index < 0 || index >= n || std::abs(across - index) > bars_->barWidth() / 2)
        return {};
    return barText(n - 1 - index);
}

} // namespace frusta::gui
