#include "output/CsvFileSet.h"

#include "output/CsvWriter.h"
#include "output/ResultsTables.h"
#include "workbook/AtomicFile.h"

#include <sstream>

namespace frusta {

const std::vector<CsvFile> kCsvFiles = {
    {"samples", &ResultsTables::samples},
    {"sites", &ResultsTables::sites, &ResultsTables::hasSites},
    {"unmatched", &ResultsTables::unmatched},
};

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
        writeCsv(tables.*file.table, text);
        set.add(path, std::move(text).str());
    }
}

} // namespace frusta
