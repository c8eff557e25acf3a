#pragma once
// Helpers for the reference database tests: scratch folders, the test data, and SQLite
// databases built from the text fixtures.
#include "refdb/ReferenceTsv.h"
#include "refdb/SqliteBuilder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace frusta::test {

inline std::filesystem::path testData(const std::string& relative) {
    return std::filesystem::path(FRUSTA_TEST_DATA_DIR) / relative;
}

// A folder of its own, removed with everything in it at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "frusta-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a scratch folder");
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// Builds an SQLite database from text tables of tests/data/refdb (names without ".tsv").
inline void buildFixtureSqlite(const std::filesystem::path& file,
                               const std::vector<std::string>& tables = {
                                   "NBSMasterTaxonList_PhaseII", "Boundaries", "CoC"}) {
    std::vector<TsvTable> parsed;
    for (const auto& t : tables)
        parsed.push_back(readTsvTable(testData("refdb/" + t + ".tsv")));
    buildSqliteDatabase(file, parsed);
}

inline std::string connection(const char* provider, const std::filesystem::path& file) {
    return std::string("Provider=") + provider + ";Data Source=" + file.string();
}

} // namespace frusta::test
