#include "gui/output/ResListView2.h"

#include "doc/CPbtDoc.h"
#include "doc/ResultsView.h"
#include "gui/common/WaitCursor.h"
#include "gui/output/ClassColours.h"
#include "output/GridText.h"

#include <algorithm>

namespace frusta::gui {

namespace {

class ResListModel2 : public GridModel {
public:
    ResListModel2(const CPbtDoc& doc, const std::vector<std::string>& classNames)
        : GridModel(frusta::cells::uncertaintyRowCount(doc),
                    doc.m_pUncertainty ? frusta::cells::uncertaintyColumnCount(doc) : 0),
          doc_(doc), classNames_(classNames) {}
    std::string cellText(int r, int c) const override {
        return frusta::cells::uncertainty(doc_, classNames_, r, c);
    }
    // The class cell in a light tint of its class colour.
    std::optional<QColor> cellBackground(int r, int c) const override {
        const int classColumn = frusta::cells::uncertaintyGridColumn(SiteColumn::Class);
        const int code = r > 0 && c == classColumn ? ResultsView(doc_).siteClass(r - 1) : 0;
        return code > 0 ? std::optional<QColor>(classQTint(code)) : std::nullopt;
    }

private:
    const CPbtDoc& doc_;
    const std::vector<std::string>& classNames_;
};

} // namespace

ResListView2::ResListView2(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                           QWidget* parent)
    : GridView(new ResListModel2(doc, classNames), parent) {
    setObjectName("ResListView2");
    if (!doc.m_pUncertainty)
        return; // no site table: an empty grid
    freeze(0, 1);
    const WaitCursor wait;
    fitColumns(1, gridModel().columnCount(), 0, std::min(gridModel().rowCount(), 50));
    widenColumnsTo(50);
}

} // namespace frusta::gui
