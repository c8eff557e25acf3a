#pragma once
// The shared string table (xl/sharedStrings.xml), read into the book's string pool.
#include <cstdint>
#include <string>

namespace frusta {
class Book;
}

namespace frusta::xlsx {

class ReadBudget;
class ZipPackage;

struct SharedStrings {
    std::uint32_t first = 0; // pool index of string 0
    std::uint32_t count = 0;
    // Entries of the table that are no string item, and the name of the first: what a
    // refusal of a missing string says was found instead.
    std::uint32_t unknownEntries = 0;
    std::string unknownName;
};

// Appends every string item (<si>, or <sstItem> as pre-releases of Excel 2007 wrote it) to
// the book's pool: the concatenated text of its runs, without phonetic runs.
bool readSharedStrings(ZipPackage& package, const std::string& partName, Book& book,
                       ReadBudget& budget, SharedStrings& table, std::string& error);

} // namespace frusta::xlsx
