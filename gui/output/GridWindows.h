#pragma once
// The grid windows' views: the results (sample summary and site uncertainty), the input
// data, and the master taxon list.
class QWidget;

namespace frusta {
class CPbtApp;
}

namespace frusta::gui {

class DocumentSession;

QWidget* createResultsView(DocumentSession& session);
QWidget* createDataView(DocumentSession& session);
QWidget* createMatchingView(DocumentSession& session);
QWidget* createTaxonListView(const CPbtApp& app);

} // namespace frusta::gui
