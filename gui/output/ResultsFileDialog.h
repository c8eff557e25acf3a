#pragma once
// The results file dialog: name and type (.xls or .xlsx) of the results workbook.
#include "app/UserPort.h"

#include <optional>

class QWidget;

namespace frusta::gui {

// Runs the save dialog modally; nothing on Cancel.
std::optional<ResultsFileChoice> runResultsFileDialog(const ResultsFileRequest& request,
                                                      QWidget* parent);

} // namespace frusta::gui
