#include "output/CsvFileSet.h"

#include "output/CsvWriter.h"
#include "output/ResultsTables.h"
#include "workbook/AtomicFile.h"

#include <sstream>

namespace frusta {

const std::vector<CsvFile> kCsvFiles = {
    {"samples", &ResultsTables::samples, nullptr, &ResultsTables::shareColumns},
    {"sites", &ResultsTables::sites, &ResultsTables::hasSites},
    {"unmatched", &ResultsTables::unmatched},
    {"taxa", &ResultsTables::taxa},
    {"run", &ResultsTables::run},
};

namespace {

// The table with the other's columns after its own, row by row.
ResultsTable sideBySide(const ResultsTable& table, const ResultsTable& after) {
    ResultsTable joined = table;
    joined.header.insert(joined.header.end(), after.header.begin(), after.header.end());
    for (std::size_t r = 0; r < joined.rows.size(); ++r) {
        TableRow& row = joined.rows[r];
        row.resize(table.header.size());
        if (r < after.rows.size())
            row.insert(row.end(), after.rows[r].begin(), after.rows[r].end());
        row.resize(joined.header.size());
    }
    return joined;
}

} // namespace

void writeCsvFile(const ResultsTables& tables, const CsvFile& file, std::ostream& out) {
    if (file.after)
        writeCsv(sideBySide(tables.*file.table, tables.*file.after), out);
    else
        writeCsv(tables.*file.table, out);
}

std::filesystem::path csvFilePath(const std::filesystem::path& prefix, const char* part) {
    return std::filesystem::path(prefix.string() + "-" + part + ".csv");
}

void addCsvFiles(const ResultsTables& tables, const std::filesystem::path& prefix,
                 AtomicFileSet& set) {
    for (const CsvFile& file : kCsvFiles) {
        const auto path = csvFilePath(prefix, file.part);
        if (file.present && !(tables.*file.present)) {
            set.remove(path);
            continue;
        }
        std::ostringstream text;
        writeCsvFile(tables, file, text);
        set.add(path, std::move(text).str());
    }
}

} // namespace frusta
