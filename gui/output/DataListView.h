#pragma once
// The input data grid: the sample information rows, then one row per taxon with its code,
// name and counts; after an analysis the rows of taxa without a score are light red.
#include "gui/output/GridView.h"

namespace frusta {
class CPbtDoc;
}

namespace frusta::gui {

class DataListView : public GridView {
    Q_OBJECT
public:
    explicit DataListView(const CPbtDoc& doc, QWidget* parent = nullptr);
};

// The background of the rows of unscored taxa.
inline const QColor kUnscoredColour(255, 200, 200);

} // namespace frusta::gui
