#pragma once
// Excel 97-2003 workbooks: BIFF8 records in an OLE2 compound file.
#include <cstdint>
#include <span>
#include <string>

namespace frusta {
class Book;
namespace xls {

// Reads the workbook at `path` into `book` (which is empty); false with a reason on failure.
bool load(const std::string& path, Book& book, std::string& error);
// Reads a workbook held in memory (the whole file) into the empty `book`.
bool loadMemory(std::span<const uint8_t> file, Book& book, std::string& error);
// Writes `book` to `path` through a temporary file; false with a reason on failure.
bool save(const std::string& path, const Book& book, std::string& error);

} // namespace xls
} // namespace frusta
