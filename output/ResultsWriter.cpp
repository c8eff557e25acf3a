#include "output/ResultsWriter.h"

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

Outcome saveResultsWorkbook(CPbtDoc& doc) {
    UserPort& port = doc.port();
    if (!doc.m_bAnalysed || !doc.m_pResults)
        return fail(port, {"There are no results to save yet.\nPress Analyse first, then save "
                           "the results."});
    ResultsFileRequest request;
    const auto choice = port.chooseResultsFile(request);
    if (!choice)
        return Outcome::failed();
    auto book = extensionOf(choice->path) == "xls" ? Book::createBinary() : Book::createXml();
    if (!book)
        return fail(port, {"The results workbook could not be created."});
    buildResultsBook(doc, doc.app().shownClassNames(), *book);
    if (!book->save(choice->path))
        return fail(port, {book->errorMessage()});
    doc.SetModifiedFlag(false);
    return Outcome::done();
}

bool saveModified(CPbtDoc& doc) {
    if (!doc.IsModified())
        return true;
    switch (doc.port().message("Save Results?", Buttons::YesNoCancel)) {
    case Answer::Cancel:
        return false;
    case Answer::No:
        return true;
    default:
        return saveResultsWorkbook(doc).ok();
    }
}

} // namespace frusta
