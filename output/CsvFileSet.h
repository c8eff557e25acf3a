#pragma once
// The CSV results of one workbook: a set of files PREFIX-samples.csv, PREFIX-sites.csv,
// PREFIX-unmatched.csv, PREFIX-taxa.csv and PREFIX-run.csv, saved together. A file joins the
// set by one line of kCsvFiles.
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace frusta {

class AtomicFileSet;
struct ResultsTable;
struct ResultsTables;

struct CsvFile {
    const char* part;                       // "samples": PREFIX-samples.csv
    ResultsTable ResultsTables::*table;     // its rows
    bool ResultsTables::*present = nullptr; // written only when set; nullptr: always
    // Columns added after the table's own, row by row; nullptr: none.
    ResultsTable ResultsTables::*after = nullptr;
};

extern const std::vector<CsvFile> kCsvFiles;

// PREFIX-PART.csv
std::filesystem::path csvFilePath(const std::filesystem::path& prefix, const char* part);

// The text of one file of the set.
void writeCsvFile(const ResultsTables& tables, const CsvFile& file, std::ostream& out);

// Every file of the set into `set`; a file the results have no table for (the sites
// without a site table) is removed, so that no file of an earlier set is left beside it.
void addCsvFiles(const ResultsTables& tables, const std::filesystem::path& prefix,
                 AtomicFileSet& set);

} // namespace frusta
