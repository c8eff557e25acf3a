#pragma once
// The "Sample Summary" grid: one row per sample with its information values and results.
#include "gui/output/GridView.h"

#include <string>
#include <vector>

namespace frusta {
class CPbtDoc;
}

namespace frusta::gui {

class ResListView : public GridView {
    Q_OBJECT
public:
    ResListView(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                QWidget* parent = nullptr);
};

// The name of the site tab for a metric code ("Uncertainty TDI4" ...; empty for others).

} // namespace frusta::gui
