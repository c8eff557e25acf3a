#pragma once
// The grid windows' views: the results (sample summary and site uncertainty), the input
// data, and the master taxon list.
#include <functional>

class QWidget;

namespace frusta {
class CPbtApp;
class CPbtDoc;
} // namespace frusta

namespace frusta::gui {

class CChildResFrame;
class DataListView;
class GridView;
class MatchingView;

CChildResFrame* createResultsView(CPbtDoc& doc);
DataListView* createDataView(CPbtDoc& doc);
// `shareChanged` is told each smallest scored share the user sets in the window.
MatchingView* createMatchingView(CPbtDoc& doc, std::function<void(double)> shareChanged);
QWidget* createTaxonListView(const CPbtApp& app);

} // namespace frusta::gui
