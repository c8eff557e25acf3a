#pragma once
// Paths remembered from an earlier run (the recent files, the chosen reference database),
// checked before they are used again: a file that is gone, or that no longer is what it was,
// is dropped quietly rather than reported.
#include <filesystem>

namespace frusta {

// The file still exists and, where it can be read, begins as a workbook. A file that exists
// but cannot be read is kept: opening it says why.
bool stillAWorkbook(const std::filesystem::path& file);

// The file still exists, can be read and begins as an Access or SQLite database.
bool stillADatabase(const std::filesystem::path& file);

} // namespace frusta
