#pragma once
// The master taxon list grid: one row per record, one column per field.
#include "gui/output/GridView.h"

#include <memory>

namespace frusta {
class dbTable;
}

namespace frusta::gui {

class TaxonListView : public GridView {
    Q_OBJECT
public:
    // `table` may be null: the grid is then empty.
    explicit TaxonListView(std::shared_ptr<const dbTable> table, QWidget* parent = nullptr);

    // Fits every column to all rows. The widest texts of a column are found by their length
    // in characters; only the longest few of each column are measured in pixels.
    void fitToAllRows();

private:
    std::shared_ptr<const dbTable> table_;
};

} // namespace frusta::gui
