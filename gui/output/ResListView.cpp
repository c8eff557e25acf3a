#include "gui/output/ResListView.h"

#include "doc/CPbtDoc.h"
#include "doc/ResultsView.h"
#include "gui/common/WaitCursor.h"
#include "gui/output/ClassColours.h"
#include "output/GridText.h"

#include <algorithm>

namespace frusta::gui {

namespace {

GridModel* resultsModel(const CPbtDoc& doc, const std::vector<std::string>& classNames) {
    auto* model = new GridModel(
        cells::resultsRowCount(doc), cells::resultsColumnCount(doc),
        [&doc, &classNames](int r, int c) { return cells::results(doc, classNames, r, c); },
        classTintedColumn(cells::resultsGridColumn(doc, ResultColumn::Class),
                          [&doc](int row) { return ResultsView(doc).classCode(row); }));
    model->setTipSource([&doc](int r, int c) { return cells::resultsTip(doc, r, c); });
    return model;
}

} // namespace

ResListView::ResListView(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                         QWidget* parent)
    : GridView(resultsModel(doc, classNames), parent) {
    setObjectName("ResListView");
    freeze(0, 2);
    const WaitCursor wait;
    const int columns = gridModel().columnCount();
    fitColumns(1, columns, 0, std::min(gridModel().rowCount(), 50));
    widenColumnsTo(50);
}

} // namespace frusta::gui
