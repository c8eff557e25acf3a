#include "cli/ResultsOutput.h"

#include "app/UserPort.h"
#include "output/CsvWriter.h"
#include "output/JsonWriter.h"
#include "output/ResultsBook.h"
#include "output/ResultsTables.h"
#include "workbook/Book.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <ostream>

namespace frusta::cli {

namespace {

bool writeFile(const std::filesystem::path& path, const std::function<void(std::ostream&)>& body,
               UserPort& port) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        body(out);
    out.close();
    if (!out) {
        const int e = errno;
        port.message("The results could not be written to " + path.string() +
                     (e ? std::string(": ") + std::strerror(e) : std::string()));
        return false;
    }
    return true;
}

bool writeWorkbook(const ResultsTables& tables, const ResultsTarget& target, UserPort& port) {
    auto book = target.format == ResultsFormat::Xls ? Book::createBinary() : Book::createXml();
    if (!book) {
        port.message("The results workbook could not be created.");
        return false;
    }
    buildResultsBook(tables, *book);
    if (!book->save(target.path.string())) {
        port.message(book->errorMessage());
        return false;
    }
    return true;
}

// The samples, the sites when the site table was computed, and the unmatched taxa.
bool writeCsvFiles(const ResultsTables& tables, const ResultsTarget& target, UserPort& port) {
    if (!writeFile(
            target.csvFile("samples"), [&](std::ostream& o) { writeCsv(tables.samples, o); }, port))
        return false;
    if (tables.hasSites &&
        !writeFile(
            target.csvFile("sites"), [&](std::ostream& o) { writeCsv(tables.sites, o); }, port))
        return false;
    return writeFile(
        target.csvFile("unmatched"), [&](std::ostream& o) { writeCsv(tables.unmatched, o); }, port);
}

} // namespace

bool writeResults(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                  const ResultsTarget& target, const JsonSource& source, std::ostream& stdOut,
                  UserPort& port) {
    const ResultsTables tables = buildResultsTables(doc, classNames);
    switch (target.format) {
    case ResultsFormat::Xlsx:
    case ResultsFormat::Xls:
        return writeWorkbook(tables, target, port);
    case ResultsFormat::Csv:
        if (target.toStdout) {
            writeCsv(tables.samples, stdOut);
            return static_cast<bool>(stdOut.flush());
        }
        return writeCsvFiles(tables, target, port);
    case ResultsFormat::Json:
        if (target.toStdout) {
            writeJson(tables, source, stdOut);
            return static_cast<bool>(stdOut.flush());
        }
        return writeFile(
            target.path, [&](std::ostream& o) { writeJson(tables, source, o); }, port);
    }
    return false;
}

} // namespace frusta::cli
