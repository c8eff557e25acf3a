#include "gui/output/ResListView.h"

#include "doc/CPbtDoc.h"
#include "gui/output/ClassColours.h"
#include "gui/output/WaitCursor.h"
#include "output/GridText.h"

#include <algorithm>

namespace frusta::gui {

namespace {

constexpr int kClassResult = 6; // the class among the result columns

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
        const int classColumn = static_cast<int>(doc_.m_infoValues.size()) + kClassResult;
        const int code = r > 0 && c == classColumn ? charts::sampleClass(doc_, r - 1) : 0;
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

QString uncertaintyTabName(int metric) {
    switch (metric) {
    case kMetricTDI3:
        return "Uncertainty TDI3";
    case kMetricTDI4:
        return "Uncertainty TDI4";
    case kMetricLTDI1:
        return "Uncertainty LTDI1";
    case kMetricLTDI2:
        return "Uncertainty LTDI2";
    case kMetricDAM:
        return "Uncertainty DAM";
    default:
        return {};
    }
}

} // namespace frusta::gui
