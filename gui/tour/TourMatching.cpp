#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "gui/app/CMainFrame.h"
#include "gui/doc/DocumentSession.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/DataListView.h"
#include "gui/output/GridView.h"
#include "gui/tour/Tour.h"
#include "output/GridText.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolTip>

namespace frusta::gui::tour {

namespace {

// A worksheet with taxa the list knows by another spelling: a code with spacing, a name
// with a typing slip, and one unlike any entry.
const char kCounts[] = "Sample name,,R1,R2,R3\n"
                       "Site code,,SITE1,SITE1,SITE2\n"
                       "Sampling date,,2010-01-04,2010-06-01,2010-06-02\n"
                       "Alkalinity (mg/l),,50,60,80\n"
                       "Calcium,,,,\n"
                       "DOC,,,,\n"
                       "AC004A,Achnanthes oblongella,60,90,20\n"
                       "AC 005-A,Achnanthes coarctata,30,5,40\n"
                       "XX1,Cymbella cistulla,10,3,30\n"
                       "AH006A,Achnanthidium saprophilum,4,2,0\n"
                       "ZZ9,Unknown thing,0,2,12\n";

// The window alone in the workspace at `size`.
void showAlone(QMdiSubWindow* frame, const QSize& size) {
    QMdiArea& area = *frame->mdiArea();
    for (QMdiSubWindow* other : area.subWindowList())
        if (other != frame)
            other->showMinimized();
    frame->showNormal();
    frame->setGeometry(QRect(QPoint(0, 0), size));
    area.setActiveSubWindow(frame);
    TourContext::settle();
}

// The tool tip of a cell of `grid` as the pointer resting there shows it.
void shootTip(TourContext& tour, GridView& grid, const QModelIndex& cell, const QString& name) {
    grid.scrollTo(cell);
    TourContext::settle();
    const QRect rect = grid.visualRect(cell);
    const QString text = cell.data(Qt::ToolTipRole).toString();
    QToolTip::showText(grid.viewport()->mapToGlobal(rect.center()), text, grid.viewport(), rect);
    TourContext::settle(200);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QTipLabel") && w->isVisible())
            tour.shot(w, name);
    QToolTip::hideText();
}

} // namespace

void tourMatching(TourContext& tour) {
    ScriptedPort& port = tourPort();
    static QTemporaryDir dir;
    const QString counts = dir.filePath("counts.csv");
    {
        QFile f(counts);
        if (!f.open(QIODevice::WriteOnly))
            return;
        f.write(kCounts);
    }
    port.worksheet = WorksheetChoice{0, 0, true, 7, 3};
    auto doc = std::make_unique<CPbtDoc>(tour.app.core(), port);
    if (!doc->OnOpenDocument(counts.toStdString()) || !doc->RunAnalysis())
        return;
    doc->SetModifiedFlag(false);
    DocumentSession* session = tour.app.addSession(std::move(doc));
    session->notifyChanged();
    const CPbtDoc& d = session->doc();

    session->ShowDataView();
    showAlone(session->dataFrame(), QSize(760, 360));
    tour.shot(session->dataFrame(), "matching-data-window");
    auto* data = qobject_cast<DataListView*>(session->dataFrame()->widget());
    const int first = d.m_nInfoRows + 1;
    if (data) {
        shootTip(tour, *data, data->model()->index(first, 2), "matching-data-tip-code");
        shootTip(tour, *data, data->model()->index(first + 1, 2), "matching-data-tip-name");
        shootTip(tour, *data, data->model()->index(first + 3, 2), "matching-data-tip-unscored");
        if (const std::unique_ptr<QMenu> menu = data->suggestionMenu(first + 2)) {
            const QModelIndex cell = data->model()->index(first + 1, 1);
            menu->popup(data->viewport()->mapToGlobal(data->visualRect(cell).center()));
            TourContext::settle(200);
            tour.shot(menu.get(), "matching-use-suggestion-menu");
            menu->close();
        }
    }

    session->ShowResultsView();
    showAlone(session->resultsFrame(), QSize(760, 300));
    if (auto* tabs = qobject_cast<CChildResFrame*>(session->resultsFrame()->widget())) {
        const int metric = cells::resultsGridColumn(d, ResultColumn::Metric);
        shootTip(tour, *tabs->grid(0), tabs->grid(0)->model()->index(2, metric - 1),
                 "matching-results-tip");
    }

    tour.app.mainFrame().actions().viewTaxonMatching->trigger();
    if (QMdiSubWindow* matching = session->matchingFrame()) {
        showAlone(matching, QSize(900, 330));
        tour.shot(matching, "guide-taxon-matching");
        showAlone(matching, QSize(640, 300));
        tour.shot(matching, "matching-window-small");
    }
    tour.shotModal("run-details", [&] { tour.app.mainFrame().actions().runDetails->trigger(); });
    tour.shotModal("taxon-translations-dialog",
                   [&] { tour.app.mainFrame().actions().taxonTranslations->trigger(); });
    const QString bad = dir.filePath("lab-codes.csv");
    {
        QFile f(bad);
        if (f.open(QIODevice::WriteOnly))
            f.write("Your code,List code,Note\nOLD1,AC004A,renamed\nold1,AC005A,\n");
    }
    tour.shotModal("taxon-translations-refused",
                   [&] { tour.app.UseTranslations(bad.toStdString()); });
}

} // namespace frusta::gui::tour
