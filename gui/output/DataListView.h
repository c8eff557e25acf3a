#pragma once
// The input data grid: the sample information rows, then one row per taxon with its code,
// name and counts; after an analysis the rows of taxa without a score are light red, their
// hover text says why, and their context menu offers the suggested list entries.
#include "gui/output/GridView.h"

#include <QMenu>

#include <memory>

namespace frusta {
class CPbtDoc;
}

namespace frusta::gui {

class DataListView : public GridView {
    Q_OBJECT
public:
    explicit DataListView(const CPbtDoc& doc, QWidget* parent = nullptr);

    // The context menu of grid row r: "Use suggestion CODE NAME" for each suggestion of a
    // highlighted taxon; null for rows that have none.
    std::unique_ptr<QMenu> suggestionMenu(int r);

signals:
    // The user chose suggestion `index` of input taxon `taxon`.
    void useSuggestion(int taxon, int index);

private:
    const CPbtDoc& doc_;
};

// The background of the rows of unscored taxa.
inline const QColor kUnscoredColour(255, 200, 200);

} // namespace frusta::gui
