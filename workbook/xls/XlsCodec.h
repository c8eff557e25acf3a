#pragma once
// Excel binary workbooks. Read: Excel 97-2003 (BIFF8) and Excel 5.0/95 (BIFF5/BIFF7), whose
// workbook stream lies in an OLE2 compound file, and Excel 2.x to 4.0 (BIFF2 to BIFF4,
// the worksheet form and the BIFF4 workbook form), whose files are the bare record stream.
// Written: BIFF8 only.
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
