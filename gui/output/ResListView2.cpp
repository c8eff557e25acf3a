#include "gui/output/ResListView2.h"

#include "doc/CPbtDoc.h"
#include "doc/ResultsView.h"
#include "gui/common/WaitCursor.h"
#include "gui/output/ClassColours.h"
#include "output/GridText.h"

#include <algorithm>

namespace frusta::gui {

namespace {

GridModel* uncertaintyModel(const CPbtDoc& doc, const std::vector<std::string>& classNames) {
    return new GridModel(
        cells::uncertaintyRowCount(doc),
        doc.m_pUncertainty ? cells::uncertaintyColumnCount(doc) : 0,
        [&doc, &classNames](int r, int c) { return cells::uncertainty(doc, classNames, r, c); },
        classTintedColumn(cells::uncertaintyGridColumn(SiteColumn::Class),
                          [&doc](int row) { return ResultsView(doc).siteClass(row); }));
}

} // namespace

ResListView2::ResListView2(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                           QWidget* parent)
    : GridView(uncertaintyModel(doc, classNames), parent) {
    setObjectName("ResListView2");
    if (!doc.m_pUncertainty)
        return; // no site table: an empty grid
    freeze(0, 1);
    const WaitCursor wait;
    fitColumns(1, gridModel().columnCount(), 0, std::min(gridModel().rowCount(), 50));
    widenColumnsTo(50);
}

} // namespace frusta::gui
