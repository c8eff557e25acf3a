#pragma once
// The cell records of one worksheet substream.
#include <cstdint>
#include <span>
#include <string>

namespace frusta {
class Book;
class Sheet;
} // namespace frusta

namespace frusta::xls {

struct Globals;

// Bounds the rows held by all sheets of one book together, so that a small crafted file
// cannot make the reader allocate row tables for thousands of full-height sheets.
struct RowBudget {
    std::size_t rowsLeft;
};

// Reads the substream that starts at `offset` (a BOF record) and ends at its EOF record or
// at `limit`, whichever comes first, into `sheet`.
bool readSheet(std::span<const uint8_t> stream, std::size_t offset, std::size_t limit,
               const Globals& globals, Book& book, Sheet& sheet, RowBudget& budget,
               std::string& error);

} // namespace frusta::xls
