#include "gui/output/TaxonListView.h"

#include "gui/common/WaitCursor.h"
#include "output/GridText.h"
#include "refdb/dbTable.h"

#include <algorithm>
#include <set>

namespace frusta::gui {

namespace {

constexpr std::size_t kMeasured = 8; // texts measured in pixels per column

GridModel* taxonListModel(const dbTable* table) {
    return new GridModel(
        table ? table->rowCount : 0, table ? table->colCount : 0,
        [table](int r, int c) { return table ? cells::taxonList(*table, r, c) : std::string(); });
}

} // namespace

TaxonListView::TaxonListView(std::shared_ptr<const dbTable> table, QWidget* parent)
    : GridView(taxonListModel(table.get()), parent), table_(std::move(table)) {
    setObjectName("TaxonListView");
    const WaitCursor wait;
    fitToAllRows();
}

void TaxonListView::fitToAllRows() {
    const int rows = gridModel().rowCount();
    for (int c = 1; c <= gridModel().columnCount(); ++c) {
        // The longest texts by character count, shortest first.
        std::multiset<std::pair<std::size_t, std::string>> longest;
        for (int r = 1; r <= rows; ++r) {
            std::string text = gridModel().cellText(r, c);
            if (longest.size() == kMeasured && text.size() <= longest.begin()->first)
                continue;
            const std::size_t n = text.size();
            longest.emplace(n, std::move(text));
            if (longest.size() > kMeasured)
                longest.erase(longest.begin());
        }
        int width = headerTextWidth(QString::fromStdString(gridModel().cellText(0, c)));
        for (const auto& entry : longest)
            width = std::max(width, cellTextWidth(QString::fromStdString(entry.second)));
        setGridColumnWidth(c, width);
    }
}

} // namespace frusta::gui
