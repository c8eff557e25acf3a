#pragma once
// Excel 2007 and later workbooks: SpreadsheetML parts in a zip package.
#include <string>

namespace frusta {
class Book;
namespace xlsx {

// Reads the workbook at `path` into `book` (which is empty); false with a reason on failure.
bool load(const std::string& path, Book& book, std::string& error);
// Writes `book` to `path` through a temporary file; false with a reason on failure.
bool save(const std::string& path, const Book& book, std::string& error);

} // namespace xlsx
} // namespace frusta
