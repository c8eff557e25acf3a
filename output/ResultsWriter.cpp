// The results workbook writer: the document's save operation.
#include "app/CPbtApp.h"
#include "app/UserPort.h"
#include "doc/CPbtDoc.h"
#include "output/ResultsBook.h"
#include "workbook/Book.h"

#include <filesystem>

namespace frusta {

namespace {

// The file's extension without the dot: the format is chosen by it, case-sensitively.
std::string extensionOf(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    return ext.empty() ? ext : ext.substr(1);
}

} // namespace

Outcome CPbtDoc::SaveResultsWorkbook() {
    if (!m_bAnalysed || !m_pResults)
        return fail(m_port, {"There are no results to save yet.\nPress Analyse first, then save "
                             "the results."});
    ResultsFileRequest request;
    const auto choice = m_port.chooseResultsFile(request);
    if (!choice)
        return Outcome::failed();
    auto book = extensionOf(choice->path) == "xls" ? Book::createBinary() : Book::createXml();
    if (!book)
        return fail(m_port, {"The results workbook could not be created."});
    buildResultsBook(*this, m_app.shownClassNames(), *book);
    if (!book->save(choice->path))
        return fail(m_port, {book->errorMessage()});
    SetModifiedFlag(false);
    return Outcome::done();
}

} // namespace frusta
