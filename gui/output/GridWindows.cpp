#include "gui/output/GridWindows.h"

#include "app/CPbtApp.h"
#include "gui/doc/DocumentSession.h"
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

QWidget* createResultsView(DocumentSession& session) {
    auto* view = new CChildResFrame(session.doc(), session.doc().app().shownClassNames());
    QObject::connect(&session, &DocumentSession::changed, view, &CChildResFrame::refresh);
    return view;
}

QWidget* createDataView(DocumentSession& session) {
    auto* view = new DataListView(session.doc());
    QObject::connect(&session, &DocumentSession::changed, view, &GridView::refresh);
    QObject::connect(view, &DataListView::useSuggestion, &session, [&session](int taxon, int i) {
        if (session.useSuggestion)
            session.useSuggestion(taxon, i);
    });
    return view;
}

QWidget* createMatchingView(DocumentSession& session) {
    auto* view = new MatchingView(session.doc(), [&session](double share) {
        if (session.scoredShareChanged)
            session.scoredShareChanged(share);
        session.notifyChanged();
    });
    QObject::connect(&session, &DocumentSession::changed, view, &MatchingView::refresh);
    return view;
}

QWidget* createTaxonListView(const CPbtApp& app) {
    auto* view = new TaxonListView(app.taxonTable);
    return new GridPane(view, app.taxonTable ? QString() : noTaxonListNotice(app));
}

} // namespace frusta::gui
