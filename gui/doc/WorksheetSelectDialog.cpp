#include "gui/doc/WorksheetSelectDialog.h"

namespace frusta::gui {

std::optional<WorksheetChoice> runWorksheetDialog(const WorksheetRequest&, QtUserPort&, QWidget*) {
    return std::nullopt;
}

} // namespace frusta::gui
