#pragma once
// The Default values dialog: the values that replace missing alkalinity, calcium and DOC.
#include "app/UserPort.h"

#include <optional>

class QWidget;

namespace frusta::gui {

// Runs the dialog modally with `current`; the edited values on OK, nothing on Cancel.
std::optional<DefaultValues> runDefaultDialog(const DefaultValues& current, QWidget* parent);

} // namespace frusta::gui
