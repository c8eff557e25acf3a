#include "gui/output/DataListView.h"

#include "doc/CPbtDoc.h"
#include "gui/common/WaitCursor.h"
#include "output/GridText.h"

#include <QHeaderView>

#include <algorithm>

namespace frusta::gui {

namespace {

class DataListModel : public GridModel {
public:
    explicit DataListModel(const CPbtDoc& doc)
        : GridModel(frusta::cells::dataRowCount(doc), frusta::cells::dataColumnCount(doc)),
          doc_(doc) {}
    std::string cellText(int r, int c) const override { return frusta::cells::data(doc_, r, c); }
    std::optional<QColor> cellBackground(int r, int c) const override {
        if (c >= 1 && frusta::cells::dataRowUnscored(doc_, r))
            return kUnscoredColour;
        return std::nullopt;
    }

private:
    const CPbtDoc& doc_;
};

} // namespace

DataListView::DataListView(const CPbtDoc& doc, QWidget* parent)
    : GridView(new DataListModel(doc), parent) {
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
