#include "gui/tour/Tour.h"

namespace frusta::gui::tour {

void tourAnalysis(TourContext&) {}

} // namespace frusta::gui::tour
