#include "app/CPbtApp.h"
#include "doc/AnalysisCommand.h"
#include "doc/CPbtDoc.h"
#include "gui/app/CMainFrame.h"
#include "gui/doc/DocumentSession.h"
#include "gui/output/CChildResFrame.h"
#include "gui/tour/Tour.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace frusta::gui::tour {

namespace {

void showAlone(QMdiArea& area, QMdiSubWindow* frame) {
    for (QMdiSubWindow* other : area.subWindowList())
        if (other != frame)
            other->showMinimized();
    frame->showNormal();
    frame->setGeometry(QRect(QPoint(0, 0), area.size()));
    area.setActiveSubWindow(frame);
}

// A window of `size`, alone in the workspace, written as `name`.
void shootSized(TourContext& tour, QMdiSubWindow* frame, const QSize& size, const QString& name) {
    QMdiArea& area = *frame->mdiArea();
    showAlone(area, frame);
    frame->resize(size);
    TourContext::settle();
    tour.shot(frame, name);
}

// The grid windows again, 900 pixels wide and as tall as the example's rows need: the user
// guide prints its pictures across the page, where a narrower window shows larger text.
void shootForGuide(TourContext& tour, DocumentSession& session, QMdiSubWindow* masterList) {
    const int width = 900;
    shootSized(tour, masterList, QSize(width, 420), "guide-master-taxon-list");
    shootSized(tour, session.dataFrame(), QSize(width, 520), "guide-data-window");
    auto* tabs = qobject_cast<CChildResFrame*>(session.resultsFrame()->widget());
    if (!tabs)
        return;
    tabs->setCurrentIndex(0);
    shootSized(tour, session.resultsFrame(), QSize(width, 500), "guide-results-samples");
    if (tabs->count() > 1) {
        tabs->setCurrentIndex(1);
        shootSized(tour, session.resultsFrame(), QSize(width, 250), "guide-results-sites");
    }
}

// An analysed document of the example's worksheet `sheet` with its data and results
// windows open.
DocumentSession* openAnalysed(TourContext& tour, ScriptedPort& port, const WorksheetChoice& sheet) {
    port.worksheet = sheet;
    auto doc = std::make_unique<CPbtDoc>(tour.app.core(), port);
    if (!doc->OnOpenDocument(tour.app.core().examplePath.string()) ||
        !analyseDocument(*doc).analysis)
        return nullptr;
    doc->SetModifiedFlag(false);
    DocumentSession* session = tour.app.addSession(std::move(doc));
    session->notifyChanged();
    session->ShowDataView();
    session->ShowResultsView();
    return session;
}

// The example's rivers, its windows where they open, then as Window > Cascade and Tile
// arrange them; then its lakes in a main window of 800 x 600.
void tourPlacement(TourContext& tour, ScriptedPort& port) {
    if (!openAnalysed(tour, port, {0, 0, true, 7, 3}))
        return;
    tour.shotMain("windows-as-they-open");
    tour.app.mainFrame().actions().cascade->trigger();
    tour.shotMain("windows-cascaded");
    tour.app.mainFrame().actions().tile->trigger();
    tour.shotMain("windows-tiled");
    const QSize first = tour.app.mainFrame().size();
    tour.app.mainFrame().resize(800, 600);
    TourContext::settle();
    openAnalysed(tour, port, {1, 1, true, 7, 3});
    tour.shotMain("windows-as-they-open-800x600");
    tour.app.mainFrame().resize(first);
    port.worksheet = {0, 0, true, 7, 3};
}

} // namespace

void tourGrids(TourContext& tour) {
    ScriptedPort& port = tourPort();
    tourPlacement(tour, port);
    auto doc = std::make_unique<CPbtDoc>(tour.app.core(), port);
    const std::string example = tour.app.core().examplePath.string();
    if (!doc->OnOpenDocument(example)) {
        std::fprintf(stderr, "The example %s could not be read\n", example.c_str());
        return;
    }
    DocumentSession* session = tour.app.addSession(std::move(doc));
    QMdiArea& area = session->area();

    session->ShowDataView();
    showAlone(area, session->dataFrame());
    TourContext::settle();
    tour.shot(session->dataFrame(), "grid-data-before-analysis");

    analyseDocument(session->doc());
    session->notifyChanged();
    TourContext::settle();
    tour.shot(session->dataFrame(), "grid-data-after-analysis");

    session->ShowResultsView();
    showAlone(area, session->resultsFrame());
    TourContext::settle();
    tour.shot(session->resultsFrame(), "grid-results-samples");
    if (auto* tabs = qobject_cast<CChildResFrame*>(session->resultsFrame()->widget());
        tabs && tabs->count() > 1) {
        tabs->setCurrentIndex(1);
        TourContext::settle();
        tour.shot(session->resultsFrame(), "grid-results-sites");
    }

    tour.app.OnViewTaxonList();
    showAlone(area, area.activeSubWindow());
    TourContext::settle();
    tour.shot(area.activeSubWindow(), "grid-master-taxon-list");
    tour.shotMain("grid-main-window");
    shootForGuide(tour, *session, area.activeSubWindow());
}

} // namespace frusta::gui::tour
