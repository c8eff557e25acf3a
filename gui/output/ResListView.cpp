#include "gui/output/ResListView.h"

#include "doc/CPbtDoc.h"
#include "doc/ResultsView.h"
#include "gui/common/WaitCursor.h"
#include "gui/output/ClassColours.h"
#include "output/GridText.h"

#include <algorithm>

namespace frusta::gui {

namespace {

class ResListModel : public GridModel {
public:
    ResListModel(const CPbtDoc& doc, const std::vector<std::string>& classNames)
        : GridModel(frusta::cells::resultsRowCount(doc), frusta::cells::resultsColumnCount(doc)),
          doc_(doc), classNames_(classNames) {}
    std::string cellText(int r, int c) const override {
        return frusta::cells::results(doc_, classNames_, r, c);
    }
    // The class cell in a light tint of its class colour.
    std::optional<QColor> cellBackground(int r, int c) const override {
        const int classColumn = frusta::cells::resultsGridColumn(doc_, ResultColumn::Class);
        const int code = r > 0 && c == classColumn ? ResultsView(doc_).classCode(r - 1) : 0;
        return code > 0 ? std::optional<QColor>(classQTint(code)) : std::nullopt;
    }

private:
    const CPbtDoc& doc_;
    const std::vector<std::string>& classNames_;
};

} // namespace

ResListView::ResListView(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                         QWidget* parent)
    : GridView(new ResListModel(doc, classNames), parent) {
    setObjectName("ResListView");
    freeze(0, 2);
    const WaitCursor wait;
    const int columns = gridModel().columnCount();
    fitColumns(1, columns, 0, std::min(gridModel().rowCount(), 50));
    widenColumnsTo(50);
}

} // namespace frusta::gui
