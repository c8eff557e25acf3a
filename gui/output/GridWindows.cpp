#include "gui/output/GridWindows.h"

#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/DataListView.h"
#include "gui/output/GridPane.h"
#include "gui/output/MatchingView.h"
#include "gui/output/TaxonListView.h"

namespace frusta::gui {

namespace {

// Why there is no master taxon list to show.
QString noTaxonListNotice(const CPbtApp& app) {
    const QString head = "No master taxon list was loaded: ";
    if (app.databasePath.empty())
        return head + "no reference database was found at start-up.";
    return head + "it could not be read from the reference database " +
           QString::fromStdString(app.databasePath.string()) + ".";
}

} // namespace

CChildResFrame* createResultsView(CPbtDoc& doc) {
    return new CChildResFrame(doc, doc.app().shownClassNames());
}

DataListView* createDataView(CPbtDoc& doc) {
    return new DataListView(doc);
}

MatchingView* createMatchingView(CPbtDoc& doc, std::function<void(double)> shareChanged) {
    return new MatchingView(doc, std::move(shareChanged));
}

QWidget* createTaxonListView(const CPbtApp& app) {
    auto* view = new TaxonListView(app.taxonTable);
    return new GridPane(view, app.taxonTable ? QString() : noTaxonListNotice(app));
}

} // namespace frusta::gui
