#include "doc/CPbtDoc.h"

namespace frusta {

bool CPbtDoc::OnOpenDocument(const std::string&) { return false; }

} // namespace frusta
