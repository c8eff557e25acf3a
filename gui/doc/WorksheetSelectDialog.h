#pragma once
// The worksheet selection dialog: worksheet, first data row and column, metric and version.
#include "app/UserPort.h"

#include <optional>

class QWidget;

namespace frusta::gui {

class QtUserPort;

// Runs the dialog modally for the open book of `request`; nothing on Cancel.
std::optional<WorksheetChoice> runWorksheetDialog(const WorksheetRequest& request, QtUserPort& port,
                                                  QWidget* parent);

} // namespace frusta::gui
