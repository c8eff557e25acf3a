#pragma once
// Reference tables built in memory for tests: class boundaries and CoC coefficients.
#include "refdb/dbTable.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace frusta::test {

// One row of a boundary table: site type, lake type, median and the four boundaries.
struct BoundaryRow {
    std::string type;
    double median = 0.0;
    std::array<double, 4> limits{0.8, 0.6, 0.4, 0.2};
};

// A boundary table: site type, lake type, "MedianTDI", then "HG", "GM", "MP", "PB".
inline std::shared_ptr<dbTable> makeBoundaries(const std::vector<BoundaryRow>& rows) {
    auto t = std::make_shared<dbTable>();
    t->addColumn("SiteType", ColumnType::Text);
    t->addColumn("LakeType", ColumnType::Text);
    t->addColumn("MedianTDI", ColumnType::Double);
    for (const char* name : {"HG", "GM", "MP", "PB"})
        t->addColumn(name, ColumnType::Double);
    t->setRowCount(static_cast<int32_t>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        t->setText(r, 0, "X");
        t->setText(r, 1, rows[r].type);
        t->setDouble(r, 2, rows[r].median);
        for (int k = 0; k < 4; ++k)
            t->setDouble(r, 3 + k, rows[r].limits[k]);
    }
    return t;
}

// A CoC table with coefficients c0 to c3 at position 2.
inline std::shared_ptr<dbTable> makeCoc(const std::array<double, 4>& c) {
    auto t = std::make_shared<dbTable>();
    t->addColumn("SiteType", ColumnType::Text);
    t->addColumn("Coefficient", ColumnType::Text);
    t->addColumn("Value", ColumnType::Double);
    t->setRowCount(4);
    for (int r = 0; r < 4; ++r)
        t->setDouble(r, 2, c[r]);
    return t;
}

} // namespace frusta::test
