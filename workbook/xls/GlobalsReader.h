#pragma once
// The workbook globals of a BIFF stream: version, code page, date system, number formats
// of the cell formats (XF), the worksheets and the shared string table.
//
// Versions read: BIFF8 (Excel 97-2003) and BIFF5/BIFF7 (Excel 5.0/95), whose globals
// substream lists the sheets; the BIFF4 workbook form (BIFF4W), whose globals embed one
// worksheet substream after each SHEETHDR record; and BIFF2, BIFF3 and BIFF4 worksheet
// files, which have no globals: the stream is the one worksheet, named "Sheet 1" as xlrd
// names it.
#include "workbook/xls/XlsText.h"

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace frusta {
class Book;
}

namespace frusta::xls {

struct SheetEntry {
    std::string name;
    uint32_t offset = 0; // of the sheet's BOF record in the stream
    uint8_t kind = 0;    // 0 worksheet or dialog, 1 macro sheet, 2 chart, 6 VBA module
    std::size_t end = 0; // BIFF4W: end of the sheet's substream; 0: up to the next sheet
};

// Which cell formats show dates, from the number formats that the XF records name.
class DateFormats {
public:
    // `builtins`: a format index without FORMAT record is a built-in format (BIFF5 and
    // BIFF8); in BIFF2 to BIFF4 every format used has its FORMAT record.
    explicit DateFormats(bool builtins = true) : builtins_(builtins) {}

    void addFormat(uint16_t index, std::string code);
    // BIFF2 to BIFF4: FORMAT records are numbered in their order.
    void addNextFormat(std::string code);
    void addXf(uint16_t formatIndex);
    void setBuiltins(bool on) { builtins_ = on; }

    std::size_t xfCount() const { return xfFormats_.size(); }
    bool xfIsDate(uint16_t xf) const;
    bool formatIsDate(uint16_t formatIndex) const;

private:
    bool builtins_;
    uint16_t nextIndex_ = 0;
    std::vector<uint16_t> xfFormats_;
    std::unordered_map<uint16_t, std::string> codes_;
    // Per XF: 0 not known yet, 1 no date, 2 a date; filled on first use.
    mutable std::vector<uint8_t> cache_;
};

struct Globals {
    int biff = 8;               // 2, 3, 4, 5 (for BIFF5 and BIFF7) or 8
    bool workbook4W = false;    // the BIFF4 workbook form
    bool worksheetOnly = false; // BIFF2 to BIFF4 worksheet file: the stream is the sheet
    int codePage = 1200;
    bool date1904 = false;
    DateFormats formats;
    std::vector<SheetEntry> sheets;
    // The shared strings are the book's strings [sstBase, sstBase + sstCount).
    uint32_t sstBase = 0;
    uint32_t sstCount = 0;
    std::size_t end = 0; // stream position after the globals' EOF record
};

// True for the record types of BOF records of every BIFF version.
bool isBofRecord(uint16_t type);

// Reads the globals from the start of `stream`; shared strings are added to `book`.
bool readGlobals(std::span<const uint8_t> stream, Book& book, Globals& globals, std::string& error);

// Reads an 8-bit text of BIFF2 to BIFF7 held in `p[0..n)`: an 8-bit (`countSize` 1) or
// 16-bit (2) byte count and the bytes. False when it does not fit.
bool readByteString(const uint8_t* p, std::size_t n, std::size_t countSize,
                    const ByteTextDecoder& decoder, std::string& out, std::size_t* used = nullptr);

} // namespace frusta::xls
