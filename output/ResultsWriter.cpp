#include "doc/CPbtDoc.h"

namespace frusta {

void CPbtDoc::SaveResultsWorkbook() {}

} // namespace frusta
