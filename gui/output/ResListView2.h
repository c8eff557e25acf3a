#pragma once
// The site uncertainty grid: one row per site with its confidence of class.
#include "gui/output/GridView.h"

#include <string>
#include <vector>

namespace frusta {
class CPbtDoc;
}

namespace frusta::gui {

class ResListView2 : public GridView {
    Q_OBJECT
public:
    ResListView2(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                 QWidget* parent = nullptr);
};

} // namespace frusta::gui
