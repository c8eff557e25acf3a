#include "doc/CPbtDoc.h"

#include "app/UserPort.h"
#include "workbook/Book.h"

namespace frusta {

CPbtDoc::CPbtDoc(CPbtApp& app, UserPort& port) : m_app(app), m_port(port) {}

CPbtDoc::~CPbtDoc() = default;

void CPbtDoc::resetResults() {
    m_nMatched = 0;
    m_nScored = 0;
    m_pResults.reset();
}

Outcome CPbtDoc::OnSaveDocument(const std::string& /*path*/) {
    return SaveResultsWorkbook();
}

bool CPbtDoc::SaveModified() {
    if (!IsModified())
        return true;
    switch (m_port.message("Save Results?", Buttons::YesNoCancel)) {
    case Answer::Cancel:
        return false;
    case Answer::No:
        return true;
    default:
        return OnSaveDocument(std::string()).ok();
    }
}

} // namespace frusta
