#include "gui/output/ResultsFileDialog.h"

namespace frusta::gui {

std::optional<ResultsFileChoice> runResultsFileDialog(const ResultsFileRequest&, QWidget*) {
    return std::nullopt;
}

} // namespace frusta::gui
