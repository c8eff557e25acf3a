#pragma once
// The grid windows' views: the results (sample summary and site uncertainty), the input
// data, and the master taxon list.
class QWidget;

namespace frusta {
class CPbtApp;
class CPbtDoc;
} // namespace frusta

namespace frusta::gui {

class CChildResFrame;
class GridView;

CChildResFrame* createResultsView(CPbtDoc& doc);
GridView* createDataView(CPbtDoc& doc);
QWidget* createTaxonListView(const CPbtApp& app);

} // namespace frusta::gui
