#include "cli/ResultsOutput.h"

#include "app/UserPort.h"
#include "output/CsvFileSet.h"
#include "output/CsvWriter.h"
#include "output/JsonWriter.h"
#include "output/ResultsBook.h"
#include "output/ResultsTables.h"
#include "workbook/AtomicFile.h"
#include "workbook/Book.h"

#include <ostream>
#include <sstream>

namespace frusta::cli {

namespace {

// Saves the files as one set: all of them replaced, or, after the message, none.
Outcome save(AtomicFileSet& files, UserPort& port) {
    if (const auto failure = files.commit())
        return fail(port, {"The results could not be written to " + failure->target + ": " +
                           failure->reason});
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

} // namespace

Outcome writeResults(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                     const ResultsTarget& target, const JsonSource& source, std::ostream& stdOut,
                     UserPort& port) {
    const ResultsTables tables = buildResultsTables(doc, classNames);
    AtomicFileSet files;
    switch (target.format) {
    case ResultsFormat::Xlsx:
    case ResultsFormat::Xls:
        return writeWorkbook(tables, target, port);
    case ResultsFormat::Csv:
        if (target.toStdout) {
            writeCsvFile(tables, kCsvFiles.front(), stdOut);
            return flushed(stdOut);
        }
        addCsvFiles(tables, target.path, files);
        return save(files, port);
    case ResultsFormat::Json: {
        if (target.toStdout) {
            writeJson(tables, source, stdOut);
            return flushed(stdOut);
        }
        std::ostringstream json;
        writeJson(tables, source, json);
        files.add(target.path, std::move(json).str());
        return save(files, port);
    }
    }
    return Outcome::failed();
}

} // namespace frusta::cli
