#include "doc/CPbtDoc.h"

namespace frusta {

CPbtDoc::CPbtDoc(CPbtApp& app, UserPort& port) : m_app(app), m_port(port) {}

CPbtDoc::~CPbtDoc() = default;

void CPbtDoc::resetResults() {
    m_nMatched = 0;
    m_nScored = 0;
    m_pResults.reset();
}

} // namespace frusta
