#include "gui/output/GridWindows.h"

#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/DataListView.h"
#include "gui/output/GridPane.h"
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

GridView* createDataView(CPbtDoc& doc) {
    return new DataListView(doc);
}

QWidget* createTaxonListView(const CPbtApp& app) {
    auto* view = new TaxonListView(app.taxonTable);
    return new GridPane(view, app.taxonTable ? QString() : noTaxonListNotice(app));
}

} // namespace frusta::gui
