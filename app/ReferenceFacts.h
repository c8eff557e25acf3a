#pragma once
// What identifies the reference data that an analysis used: the database file with its
// size, modification time and SHA-256, and the text of its About table.
#include "workbook/FileFacts.h"

#include <filesystem>
#include <optional>
#include <string>

namespace frusta {

class CADODatabase;

struct ReferenceFacts {
    std::filesystem::path path;
    std::optional<FileFacts> file; // nothing when the file could not be read
    std::string about;             // the About table, one line per row; empty without one
};

// The About table of the open database: each row's texts joined by ": ", rows by line
// feeds. Empty when the database has no such table.
std::string readAboutText(CADODatabase& database);

} // namespace frusta
