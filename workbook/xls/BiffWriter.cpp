#include "workbook/xls/BiffWriter.h"

#include "workbook/Book.h"
#include "workbook/xls/BiffRecords.h"
#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/XlsText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace frusta::xls {

namespace {

constexpr int kStyleXfs = 15;
constexpr int kDefaultXf = 15; // the cell format of cells without a format
constexpr std::size_t kMaxTextLength = 32767;
constexpr uint8_t kErrorNum = 0x24;

// Appends records: the header is written first and its size patched when the record ends.
class RecordWriter {
public:
    explicit RecordWriter(std::vector<uint8_t>& out) : out_(out), sink_(out) {}
    ByteSink& begin(uint16_t type) {
        start_ = out_.size();
        sink_.u16(type);
        sink_.u16(0);
        return sink_;
    }
    void end() { put16(out_.data() + start_ + 2, static_cast<uint32_t>(out_.size() - start_ - 4)); }
    std::size_t bodySize() const { return out_.size() - start_ - 4; }
    std::size_t recordStart() const { return start_; }
    std::size_t position() const { return out_.size(); }
    ByteSink& sink() { return sink_; }

private:
    std::vector<uint8_t>& out_;
    ByteSink sink_;
    std::size_t start_ = 0;
};

bool fitsLatin1(const std::u16string& s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x100; });
}

void writeChars(ByteSink& s, const std::u16string& text, std::size_t from, std::size_t n,
                bool wide) {
    for (std::size_t i = from; i < from + n; ++i) {
        if (wide)
            s.u16(text[i]);
        else
            s.u8(text[i]);
    }
}

// The shared strings of the book in order of first use, and each pool string's index.
struct SharedStrings {
    std::vector<std::u16string> texts;
    std::vector<uint32_t> indexOfPool;
    uint32_t uses = 0;
};

bool collectStrings(const Book& book, SharedStrings& sst, std::string& error) {
    sst.indexOfPool.assign(book.stringCount(), UINT32_MAX);
    std::unordered_map<std::string_view, uint32_t> seen;
    for (int i = 0; i < book.sheetCount(); ++i) {
        for (const auto& row : book.getSheet(i)->rows()) {
            for (const Cell& cell : row) {
                if (cell.type != static_cast<uint8_t>(CellType::String))
                    continue;
                ++sst.uses;
                uint32_t& index = sst.indexOfPool[cell.text];
                if (index != UINT32_MAX)
                    continue;
                const std::string& text = book.string(cell.text);
                const auto [it, added] =
                    seen.emplace(std::string_view(text), static_cast<uint32_t>(sst.texts.size()));
                index = it->second;
                if (!added)
                    continue;
                sst.texts.push_back(utf8ToUtf16(text));
                if (sst.texts.back().size() > kMaxTextLength) {
                    error = "a text in sheet '" + book.getSheet(i)->name() +
                            "' is longer than the 32,767 characters a cell can hold";
                    return false;
                }
            }
        }
    }
    return true;
}

bool checkSheets(const Book& book, std::string& error) {
    if (book.sheetCount() == 0) {
        error = "the workbook has no worksheet";
        return false;
    }
    std::unordered_set<std::u16string> names;
    for (int i = 0; i < book.sheetCount(); ++i) {
        const Sheet& sheet = *book.getSheet(i);
        std::u16string name = utf8ToUtf16(sheet.name());
        const bool badChar = name.find_first_of(u":\\/?*[]") != std::u16string::npos;
        if (name.empty() || name.size() > 31 || badChar || name.front() == u'\'' ||
            name.back() == u'\'') {
            error = "the sheet name '" + sheet.name() +
                    "' cannot be used in an Excel workbook (1 to 31 characters, none of "
                    ": \\ / ? * [ ], not starting or ending with an apostrophe)";
            return false;
        }
        for (char16_t& c : name)
            if (c < 0x80)
                c = static_cast<char16_t>(std::toupper(c));
        if (!names.insert(name).second) {
            error = "two sheets are named '" + sheet.name() + "'";
            return false;
        }
        if (sheet.lastRow() > kXlsMaxRows) {
            error = "sheet '" + sheet.name() + "' uses " + std::to_string(sheet.lastRow()) +
                    " rows; an Excel 97-2003 workbook holds at most 65,536 rows per sheet";
            return false;
        }
        if (sheet.lastCol() > kXlsMaxCols) {
            error = "sheet '" + sheet.name() + "' uses " + std::to_string(sheet.lastCol()) +
                    " columns; an Excel 97-2003 workbook holds at most 256 columns per sheet";
            return false;
        }
    }
    return true;
}

void writeBof(RecordWriter& w, uint16_t kind) {
    ByteSink& s = w.begin(rec::Bof);
    s.u16(rec::kBiff8);
    s.u16(kind);
    s.u16(0x0DBB); // build
    s.u16(0x07CC); // year
    s.u32(0);      // file history
    s.u32(0x0006); // lowest version that can read the file
    w.end();
}

void writeFonts(RecordWriter& w) {
    // Font 4 does not exist in BIFF; five records give fonts 0-3 and 5.
    for (int i = 0; i < 5; ++i) {
        ByteSink& s = w.begin(rec::Font);
        s.u16(200);    // 10 points
        s.u16(0);      // attributes
        s.u16(0x7FFF); // automatic colour
        s.u16(400);    // normal weight
        s.u16(0);      // no super/subscript
        s.u8(0);       // no underline
        s.u8(2);       // swiss family
        s.u8(0);       // ANSI character set
        s.u8(0);
        s.u8(5); // "Arial", compressed
        s.u8(0);
        for (char c : std::string_view("Arial"))
            s.u8(static_cast<uint8_t>(c));
        w.end();
    }
}

void writeXf(RecordWriter& w, uint16_t font, uint16_t numFormat, bool style) {
    ByteSink& s = w.begin(rec::Xf);
    s.u16(font);
    s.u16(numFormat);
    s.u16(style ? 0xFFF5 : 0x0001); // locked; a style has no parent, a cell has style 0
    s.u8(0x20);                     // bottom aligned
    s.u8(0);
    s.u8(0);
    // Attributes that differ from the parent style: a style sets all but the number format
    // of the Normal style; a cell states its number format when it has one.
    s.u8(style ? (font == 0 && numFormat == 0 ? 0x00 : 0xF4) : (numFormat ? 0x04 : 0x00));
    s.u32(0);
    s.u32(0);
    s.u16(0x20C0); // pattern colours: automatic
    w.end();
}

void writeXfs(RecordWriter& w, const Book& book) {
    writeXf(w, 0, 0, true);
    for (int i = 1; i < kStyleXfs; ++i)
        writeXf(w, i <= 2 ? 1 : i <= 4 ? 2 : 0, 0, true);
    writeXf(w, 0, 0, false);
    for (int f = 1; f <= book.formatCount(); ++f) {
        const int id = book.format(f)->numFormat();
        // Only built-in formats are written; others fall back to General.
        writeXf(w, 0, static_cast<uint16_t>(id >= 0 && id < 164 ? id : 0), false);
    }
}

void writeSheetName(ByteSink& s, const std::u16string& name) {
    const bool wide = !fitsLatin1(name);
    s.u8(static_cast<uint32_t>(name.size()));
    s.u8(wide ? 1 : 0);
    writeChars(s, name, 0, name.size(), wide);
}

// SST and CONTINUE records; strings that do not fit go on in the next record with their
// flag byte re-stated. Returns the bucket positions for EXTSST.
void writeSst(RecordWriter& w, const SharedStrings& sst, uint16_t perBucket,
              std::vector<std::pair<uint32_t, uint16_t>>& buckets) {
    ByteSink& s = w.begin(rec::Sst);
    s.u32(sst.uses);
    s.u32(static_cast<uint32_t>(sst.texts.size()));
    auto room = [&] { return rec::kMaxRecordBody - w.bodySize(); };
    auto next = [&] {
        w.end();
        w.begin(rec::Continue);
    };
    for (std::size_t i = 0; i < sst.texts.size(); ++i) {
        const std::u16string& t = sst.texts[i];
        const bool wide = !fitsLatin1(t);
        const std::size_t charSize = wide ? 2 : 1;
        // The 3-byte header and the first character are kept together.
        if (room() < 3 + (t.empty() ? 0 : charSize))
            next();
        if (i % perBucket == 0)
            buckets.emplace_back(static_cast<uint32_t>(w.position()),
                                 static_cast<uint16_t>(w.position() - w.recordStart()));
        s.u16(static_cast<uint32_t>(t.size()));
        s.u8(wide ? 1 : 0);
        std::size_t done = 0;
        while (done < t.size()) {
            const std::size_t n = std::min(t.size() - done, room() / charSize);
            if (n == 0) {
                next();
                s.u8(wide ? 1 : 0);
                continue;
            }
            writeChars(s, t, done, n, wide);
            done += n;
        }
    }
    w.end();
}

void writeExtSst(RecordWriter& w, uint16_t perBucket,
                 const std::vector<std::pair<uint32_t, uint16_t>>& buckets) {
    ByteSink& s = w.begin(rec::ExtSst);
    s.u16(perBucket);
    for (const auto& [position, offset] : buckets) {
        s.u32(position);
        s.u16(offset);
        s.u16(0);
    }
    w.end();
}

void writeCellHeader(ByteSink& s, uint16_t type, std::size_t row, uint32_t col, uint16_t xf,
                     RecordWriter& w) {
    w.begin(type);
    s.u16(static_cast<uint32_t>(row));
    s.u16(col);
    s.u16(xf);
}

void writeCell(RecordWriter& w, std::size_t row, const Cell& cell, uint16_t xf,
               const SharedStrings& sst) {
    ByteSink& s = w.sink();
    switch (static_cast<CellType>(cell.type)) {
    case CellType::Number: {
        uint32_t rk;
        if (!std::isfinite(cell.number)) { // Excel has no infinities or NaNs
            writeCellHeader(s, rec::BoolErr, row, cell.col, xf, w);
            s.u8(kErrorNum);
            s.u8(1);
        } else if (encodeRk(cell.number, rk)) {
            writeCellHeader(s, rec::Rk, row, cell.col, xf, w);
            s.u32(rk);
        } else {
            writeCellHeader(s, rec::Number, row, cell.col, xf, w);
            s.f64(cell.number);
        }
        break;
    }
    case CellType::String:
        writeCellHeader(s, rec::LabelSst, row, cell.col, xf, w);
        s.u32(sst.indexOfPool[cell.text]);
        break;
    case CellType::Boolean:
    case CellType::Error:
        writeCellHeader(s, rec::BoolErr, row, cell.col, xf, w);
        s.u8(cell.type == static_cast<uint8_t>(CellType::Boolean) ? cell.boolean : cell.error);
        s.u8(cell.type == static_cast<uint8_t>(CellType::Error) ? 1 : 0);
        break;
    case CellType::Blank:
        writeCellHeader(s, rec::Blank, row, cell.col, xf, w);
        break;
    case CellType::Empty:
        return;
    }
    w.end();
}

void writeSheet(RecordWriter& w, const Book& book, const Sheet& sheet, bool first,
                const SharedStrings& sst) {
    writeBof(w, rec::kWorksheet);
    const auto& rows = sheet.rows();
    uint32_t firstRow = 0, firstCol = UINT32_MAX;
    bool any = false;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (!rows[r].empty()) {
            if (!any)
                firstRow = static_cast<uint32_t>(r);
            any = true;
            firstCol = std::min(firstCol, rows[r].front().col);
        }
    }
    ByteSink& s = w.begin(rec::Dimensions);
    s.u32(any ? firstRow : 0);
    s.u32(any ? static_cast<uint32_t>(sheet.lastRow()) : 0);
    s.u16(any ? firstCol : 0);
    s.u16(any ? static_cast<uint32_t>(sheet.lastCol()) : 0);
    s.u16(0);
    w.end();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (const Cell& cell : rows[r]) {
            const int f = cell.format;
            const uint16_t xf = static_cast<uint16_t>(
                f >= 1 && f <= book.formatCount() ? kDefaultXf + f : kDefaultXf);
            writeCell(w, r, cell, xf, sst);
        }
    }
    ByteSink& win = w.begin(rec::Window2);
    // Grid, headers, zeros, outline symbols, automatic grid colour; the first sheet is the
    // selected and shown one.
    win.u16(first ? 0x06B6 : 0x00B6);
    win.u16(0);
    win.u16(0);
    win.u16(64);
    win.u16(0);
    win.u16(0);
    win.u16(0);
    win.u32(0);
    w.end();
    w.begin(rec::Eof);
    w.end();
}

} // namespace

bool encodeRk(double value, uint32_t& rk) {
    if (std::isfinite(value) && value == std::trunc(value) && value >= -536870912.0 &&
        value < 536870912.0) {
        rk = (static_cast<uint32_t>(static_cast<int32_t>(value)) << 2) | 0x02;
        return true;
    }
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    if ((bits & 0x3FFFFFFFFull) == 0) {
        rk = static_cast<uint32_t>(bits >> 32);
        return true;
    }
    const double scaled = value * 100.0;
    if (std::isfinite(scaled) && scaled == std::trunc(scaled) && scaled >= -536870912.0 &&
        scaled < 536870912.0) {
        const uint32_t candidate =
            (static_cast<uint32_t>(static_cast<int32_t>(scaled)) << 2) | 0x03;
        if (rec::decodeRk(candidate) == value) {
            rk = candidate;
            return true;
        }
    }
    return false;
}

bool buildWorkbookStream(const Book& book, std::vector<uint8_t>& out, std::string& error) {
    if (!checkSheets(book, error))
        return false;
    SharedStrings sst;
    if (!collectStrings(book, sst, error))
        return false;
    out.clear();
    RecordWriter w(out);
    writeBof(w, rec::kGlobals);
    w.begin(rec::CodePage).u16(1200); // UTF-16
    w.end();
    ByteSink& win = w.begin(rec::Window1);
    win.u16(0);
    win.u16(0);
    win.u16(0x3A5C); // width and height in twips
    win.u16(0x2310);
    win.u16(0x0038); // scroll bars and sheet tabs shown
    win.u16(0);      // selected sheet
    win.u16(0);      // first tab shown
    win.u16(1);      // tabs selected
    win.u16(600);    // tab bar width ratio
    w.end();
    w.begin(rec::DateMode).u16(0);
    w.end();
    writeFonts(w);
    writeXfs(w, book);
    ByteSink& style = w.begin(rec::Style);
    style.u16(0x8000); // built-in style of XF 0
    style.u8(0);       // Normal
    style.u8(0xFF);
    w.end();
    std::vector<std::size_t> offsetFields;
    for (int i = 0; i < book.sheetCount(); ++i) {
        ByteSink& s = w.begin(rec::BoundSheet);
        offsetFields.push_back(w.position());
        s.u32(0); // patched below
        s.u8(0);  // visible
        s.u8(0);  // worksheet
        writeSheetName(s, utf8ToUtf16(book.getSheet(i)->name()));
        w.end();
    }
    // At most 128 EXTSST buckets, with at least 8 strings each.
    const std::size_t n = sst.texts.size();
    const auto perBucket = static_cast<uint16_t>(std::max<std::size_t>(8, (n + 127) / 128));
    std::vector<std::pair<uint32_t, uint16_t>> buckets;
    writeSst(w, sst, perBucket, buckets);
    writeExtSst(w, perBucket, buckets);
    w.begin(rec::Eof);
    w.end();
    for (int i = 0; i < book.sheetCount(); ++i) {
        put32(out.data() + offsetFields[i], static_cast<uint32_t>(out.size()));
        writeSheet(w, book, *book.getSheet(i), i == 0, sst);
    }
    if (out.size() > 0x7FFFFFFFu) {
        error = "the workbook is too large for the Excel 97-2003 format";
        return false;
    }
    return true;
}

} // namespace frusta::xls
