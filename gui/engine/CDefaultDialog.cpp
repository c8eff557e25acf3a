#include "gui/engine/CDefaultDialog.h"

namespace frusta::gui {

std::optional<DefaultValues> runDefaultDialog(const DefaultValues&, QWidget*) {
    return std::nullopt;
}

} // namespace frusta::gui
