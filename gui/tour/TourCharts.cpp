#include "doc/AnalysisCommand.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "engine/ClassBoundaries.h"
#include "gui/doc/DocumentSession.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/ChartExport.h"
#include "gui/output/EqrChartView.h"
#include "gui/output/ZoomChartView.h"
#include "gui/tour/Tour.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <cstdio>

namespace frusta::gui::tour {

namespace {

struct Sheet {
    const char* name; // in the pictures' names
    WorksheetChoice choice;
};

void showAlone(QMdiArea& area, QMdiSubWindow* frame) {
    for (QMdiSubWindow* other : area.subWindowList())
        if (other != frame)
            other->showMinimized();
    frame->showNormal();
    frame->setGeometry(QRect(QPoint(0, 0), area.size()));
    area.setActiveSubWindow(frame);
}

CChildResFrame* resultsOf(DocumentSession& session) {
    session.ShowResultsView();
    showAlone(session.area(), session.resultsFrame());
    return qobject_cast<CChildResFrame*>(session.resultsFrame()->widget());
}

int tabNamed(const CChildResFrame& tabs, const QString& name) {
    for (int i = 0; i < tabs.count(); ++i)
        if (tabs.tabText(i) == name)
            return i;
    return -1;
}

// Pictures of every chart tab of the results window, named <prefix>-eqr and so on.
void shootCharts(TourContext& tour, DocumentSession& session, const QString& prefix) {
    CChildResFrame* tabs = resultsOf(session);
    if (!tabs)
        return;
    for (const auto& [tab, suffix] :
         {std::pair<QString, QString>{"EQR chart", "eqr"},
          std::pair<QString, QString>{"Confidence chart", "confidence"}}) {
        const int i = tabNamed(*tabs, tab);
        if (i < 0)
            continue;
        tabs->setCurrentIndex(i);
        TourContext::settle(200);
        tour.shot(session.resultsFrame(), prefix + "-" + suffix);
        // The picture that Save chart as writes, beside the window's.
        if (auto* chart = tabs->currentChart())
            writeChart(*chart, tour.folder() + "/" + prefix + "-" + suffix + "-saved.png",
                       session.resultsFrame()->windowTitle());
    }
}

DocumentSession* openAnalysed(TourContext& tour, ScriptedPort& port) {
    auto doc = std::make_unique<CPbtDoc>(tour.app.core(), port);
    const std::string example = tour.app.core().examplePath.string();
    if (!doc->OnOpenDocument(example) || !analyseDocument(*doc).analysis) {
        std::fprintf(stderr, "The example %s could not be analysed\n", example.c_str());
        return nullptr;
    }
    return tour.app.addSession(std::move(doc));
}

// The river document made as large as the charts must stay readable for: 2,000 samples at
// 500 sites.
void enlarge(CPbtDoc& doc) {
    const int n = 2000;
    for (auto& row : doc.m_infoValues)
        row.resize(n);
    doc.m_comments.assign(n, "");
    doc.m_pResults = std::make_unique<dMat>(n, kResultColumnCount, 0.0);
    const engine::ClassBoundaries bounds(doc.m_boundaryTable.get());
    const auto b = bounds.boundaries(0);
    for (int s = 0; s < n; ++s) {
        char name[32];
        std::snprintf(name, sizeof name, "S%04d", s + 1);
        doc.m_infoValues[0][s] = name;
        std::snprintf(name, sizeof name, "SITE%03d", s / 4 + 1);
        doc.m_infoValues[1][s] = name;
        const double eqr = 0.15 + 0.8 * ((s * 37) % 101) / 100.0 - (s % 250 == 0 ? 0.3 : 0.0);
        dMat& r = *doc.m_pResults;
        r(s, col(ResultColumn::Eqr)) = s % 300 == 7 ? r.missingValue() : eqr;
        r(s, col(ResultColumn::Class)) =
            s % 300 == 7 || !b ? r.missingValue() : engine::classForEqr(eqr, *b);
        if (s % 300 == 7)
            doc.m_comments[s] = "No matching taxa found";
    }
    doc.RunUncertainty();
}

} // namespace

void tourCharts(TourContext& tour) {
    ScriptedPort& port = tourPort();
    const Sheet sheets[] = {{"rivers", {0, kFamilyRivers, true, 7, 3}},
                            {"lakes", {1, kFamilyLakes, true, 7, 3}},
                            {"acidification", {2, kFamilyAcid, true, 7, 3}}};
    for (const Sheet& sheet : sheets) {
        port.worksheet = sheet.choice;
        if (DocumentSession* session = openAnalysed(tour, port))
            shootCharts(tour, *session, QString("chart-") + sheet.name);
    }
}

void tourLargeCharts(TourContext& tour) {
    ScriptedPort& port = tourPort();
    port.worksheet = {0, kFamilyRivers, true, 7, 3};
    DocumentSession* large = openAnalysed(tour, port);
    if (!large)
        return;
    enlarge(large->doc());
    large->notifyChanged();
    shootCharts(tour, *large, "chart-2000-samples");
    CChildResFrame* tabs = resultsOf(*large);
    if (auto* eqr = qobject_cast<EqrChartView*>(tabs->widget(tabNamed(*tabs, "EQR chart")))) {
        tabs->setCurrentWidget(eqr);
        eqr->chartView()->chart()->zoom(12.0);
        TourContext::settle(200);
        tour.shot(large->resultsFrame(), "chart-2000-samples-eqr-zoomed");
    }
    tabs->setCurrentIndex(0);
    TourContext::settle(200);
    tour.shot(large->resultsFrame(), "chart-2000-samples-grid-class-tints");
}

} // namespace frusta::gui::tour
