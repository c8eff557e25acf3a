#include "doc/CPbtDoc.h"

namespace frusta {

bool CPbtDoc::RunAnalysis() { return false; }
bool CPbtDoc::RunUncertainty() { return false; }

} // namespace frusta
