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

Outcome writeFile(const std::filesystem::path& path, const std::function<void(std::ostream&)>& body,
                  UserPort& port) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        body(out);
    out.close();
    if (!out) {
        const int e = errno;
        return fail(port, {"The results could not be written to " + path.string() +
                           (e ? std::string(": ") + std::strerror(e) : std::string())});
    }
    return Outcome::done();
}

// A stream written in full, or a failure without a message (the reader of a pipe left).
Outcome flushed(std::ostream& out) {
    return out.flush() ? Outcome::done() : Outcome::failed();
}

Outcome writeWorkbook(const ResultsTables& tables, const ResultsTarget& target, UserPort& port) {
    auto book = target.format == ResultsFormat::Xls ? Book::createBinary() : Book::createXml();
    if (!book)
        return fail(port, {"The results workbook could not be created."});
    buildResultsBook(tables, *book);
    if (!book->save(target.path.string()))
        return fail(port, {book->errorMessage()});
    return Outcome::done();
}

// The samples, the sites when the site table was computed, and the unmatched taxa.
Outcome writeCsvFiles(const ResultsTables& tables, const ResultsTarget& target, UserPort& port) {
    if (Outcome o = writeFile(
            target.csvFile("samples"), [&](std::ostream& s) { writeCsv(tables.samples, s); }, port);
        !o)
        return o;
    if (tables.hasSites)
        if (Outcome o = writeFile(
                target.csvFile("sites"), [&](std::ostream& s) { writeCsv(tables.sites, s); }, port);
            !o)
            return o;
    return writeFile(
        target.csvFile("unmatched"), [&](std::ostream& o) { writeCsv(tables.unmatched, o); }, port);
}

} // namespace

Outcome writeResults(const CPbtDoc& doc, const std::vector<std::string>& classNames,
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
            return flushed(stdOut);
        }
        return writeCsvFiles(tables, target, port);
    case ResultsFormat::Json:
        if (target.toStdout) {
            writeJson(tables, source, stdOut);
            return flushed(stdOut);
        }
        return writeFile(
            target.path, [&](std::ostream& o) { writeJson(tables, source, o); }, port);
    }
    return Outcome::failed();
}

} // namespace frusta::cli
