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
};

// Appends every string item to the book's pool: the concatenated text of its runs, without
// phonetic runs.
bool readSharedStrings(ZipPackage& package, const std::string& partName, Book& book,
                       ReadBudget& budget, SharedStrings& table, std::string& error);

} // namespace frusta::xlsx
