#pragma once
// The workbook globals substream of a BIFF8 stream: code page, date system, number formats
// of the cell formats (XF), the worksheets and the shared string table.
#include "workbook/xls/XlsText.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace frusta {
class Book;
}

namespace frusta::xls {

struct SheetEntry {
    std::string name;
    uint32_t offset = 0; // of the sheet's BOF record in the stream
    uint8_t kind = 0;    // 0 worksheet or dialog, 1 macro sheet, 2 chart, 6 VBA module
};

struct Globals {
    int codePage = 1200;
    bool date1904 = false;
    // Per XF record: true when its number format shows a date or time.
    std::vector<uint8_t> xfIsDate;
    std::vector<SheetEntry> sheets;
    // The shared strings are the book's strings [sstBase, sstBase + sstCount).
    uint32_t sstBase = 0;
    uint32_t sstCount = 0;
    std::size_t end = 0; // stream position after the globals' EOF record
};

// Reads the globals from the start of `stream`; shared strings are added to `book`.
bool readGlobals(std::span<const uint8_t> stream, Book& book, Globals& globals, std::string& error);

} // namespace frusta::xls
