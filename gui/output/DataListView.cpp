#include "gui/output/DataListView.h"

#include "doc/CPbtDoc.h"
#include "gui/common/WaitCursor.h"
#include "output/GridText.h"

#include <QHeaderView>

#include <algorithm>

namespace frusta::gui {

namespace {

GridModel* dataModel(const CPbtDoc& doc) {
    return new GridModel(
        cells::dataRowCount(doc), cells::dataColumnCount(doc),
        [&doc](int r, int c) { return cells::data(doc, r, c); },
        [&doc](int r, int c) -> std::optional<QColor> {
            if (c >= 1 && cells::dataRowUnscored(doc, r))
                return kUnscoredColour;
            return std::nullopt;
        });
}

} // namespace

DataListView::DataListView(const CPbtDoc& doc, QWidget* parent) : GridView(dataModel(doc), parent) {
    setObjectName("DataListView");
    const WaitCursor wait;
    setUpdatesEnabled(false);
    // Every count column is 80 pixels wide: the default, so no column is set one by one.
    horizontalHeader()->setDefaultSectionSize(80);
    fitColumns(1, 2, 1, std::min(gridModel().rowCount(), 50));
    freeze(2, 2);
    setUpdatesEnabled(true);
}

} // namespace frusta::gui
