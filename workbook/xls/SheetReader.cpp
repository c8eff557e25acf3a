#include "workbook/xls/SheetReader.h"

#include "workbook/Book.h"
#include "workbook/LoadProgress.h"
#include "workbook/NumberFormat.h"
#include "workbook/xls/BiffRecords.h"
#include "workbook/xls/GlobalsReader.h"
#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/RecordReader.h"

namespace frusta::xls {

namespace {

const char* const kDamaged = "the file is damaged: ";

class CellSink {
public:
    CellSink(const Globals& g, Book& book, Sheet& sheet, RowBudget& budget)
        : g_(g), biff_(g.biff), decoder_(g.codePage), bytes_(g.codePage), own_(false),
          formats_(g.biff <= 4 ? &own_ : &g.formats), date1904_(g.date1904), book_(book),
          sheet_(sheet), budget_(budget) {}

    bool handle(const Record& r, RecordReader& reader, std::string& error);

private:
    // False when the row would exceed the book's row budget.
    bool place(uint32_t row, uint32_t col, std::string& error) {
        if (col >= static_cast<uint32_t>(kXlsMaxCols))
            return false;
        const auto have = static_cast<std::size_t>(sheet_.lastRow());
        if (row >= have) {
            const std::size_t more = row + 1 - have;
            if (more > budget_.rowsLeft) {
                error = std::string(kDamaged) + "its worksheets hold more rows than it can";
                return false;
            }
            budget_.rowsLeft -= more;
        }
        return true;
    }
    bool isDateXf(uint16_t xf) const { return formats_->xfIsDate(xf); }
    // Whether a BIFF2 cell attribute block names a date format: through its XF index
    // (63: the one of the last IXFE record) or, in books without XF records (Excel 2.0),
    // directly through its format index.
    bool attrIsDate(const uint8_t* attr) const {
        if (formats_->xfCount() == 0)
            return formats_->formatIsDate(attr[1] & 0x3F);
        const uint16_t xf = attr[0] & 0x3F;
        if (xf == 63)
            return haveIxfe_ && isDateXf(ixfe_);
        return isDateXf(xf);
    }
    bool number(uint32_t row, uint32_t col, double v, bool date, std::string& error) {
        if (place(row, col, error))
            sheet_.setNumber(static_cast<int>(row), static_cast<int>(col),
                             date1904_ && date ? v + kDays1904To1900 : v);
        return error.empty();
    }
    bool number(uint32_t row, uint32_t col, uint16_t xf, double v, std::string& error) {
        return number(row, col, v, isDateXf(xf), error);
    }
    bool text(uint32_t row, uint32_t col, uint32_t poolIndex, std::string& error) {
        if (place(row, col, error))
            sheet_.setString(static_cast<int>(row), static_cast<int>(col), poolIndex);
        return error.empty();
    }
    bool blank(uint32_t row, uint32_t col, std::string& error) {
        if (place(row, col, error))
            sheet_.setBlank(static_cast<int>(row), static_cast<int>(col));
        return error.empty();
    }
    bool boolErr(uint32_t row, uint32_t col, uint8_t value, bool isError, std::string& error) {
        if (place(row, col, error)) {
            if (isError)
                sheet_.setError(static_cast<int>(row), static_cast<int>(col), value);
            else
                sheet_.setBool(static_cast<int>(row), static_cast<int>(col), value != 0);
        }
        return error.empty();
    }
    // A LABEL or RSTRING record: its text at offset 6, in the form of the version.
    bool label(const Record& r, std::string& error);
    bool formula(const Record& r, std::string& error);
    bool stringResult(const Record& r, RecordReader& reader, std::string& error);
    // The records that only BIFF2 to BIFF4 worksheet streams hold: the book's code page,
    // date system, formats and cell formats, and the BIFF2 cell records. `handled` false
    // for other records.
    bool handleOld(const Record& r, RecordReader& reader, bool& handled, std::string& error);

    const Globals& g_;
    const int biff_;
    CharDecoder decoder_;   // BIFF8
    ByteTextDecoder bytes_; // BIFF2 to BIFF7
    DateFormats own_;       // BIFF2 to BIFF4: the formats come with the worksheet
    const DateFormats* formats_;
    bool date1904_;
    uint16_t ixfe_ = 0;
    bool haveIxfe_ = false;
    Book& book_;
    Sheet& sheet_;
    RowBudget& budget_;
    ContinuedData continued_;
    std::string scratch_;
    // The cell of a formula whose text result follows in a STRING record.
    bool pendingString_ = false;
    uint32_t pendingRow_ = 0, pendingCol_ = 0;
};

bool tooShort(std::string& error) {
    error = std::string(kDamaged) + "a cell record is cut short";
    return false;
}

bool CellSink::label(const Record& r, std::string& error) {
    const uint8_t* p = r.data;
    const bool ok =
        biff_ == 8 ? r.size >= 9 && readPlainString(p + 6, r.size - 6u, false, decoder_, scratch_)
                   : r.size >= 8 && readByteString(p + 6, r.size - 6u, 2, bytes_, scratch_);
    if (!ok)
        return tooShort(error);
    return text(le16(p), le16(p + 2), book_.addString(scratch_), error);
}

bool CellSink::formula(const Record& r, std::string& error) {
    // All versions hold row, column, cell format and the cached result (8 bytes) first;
    // BIFF2 has a 3-byte attribute block where the others have the XF index. A FORMULA
    // record of an older type in a newer book (some writers do that) is read the same.
    const bool biff2 = biff_ <= 2 && r.type == rec::Formula;
    const std::size_t minimum = r.type == rec::Formula && biff_ >= 5 ? 20 : 16;
    if (r.size < minimum)
        return tooShort(error);
    const uint8_t* p = r.data;
    const uint32_t row = le16(p), col = le16(p + 2);
    const uint8_t* value = biff2 ? p + 7 : p + 6;
    const bool date = biff2 ? attrIsDate(p + 4) : isDateXf(le16(p + 4));
    pendingString_ = false;
    if (le16(value + 6) != 0xFFFF)
        return number(row, col, leDouble(value), date, error);
    if (!place(row, col, error))
        return error.empty();
    const int r0 = static_cast<int>(row), c0 = static_cast<int>(col);
    switch (value[0]) {
    case 0: // text, in the STRING record that follows
        sheet_.setString(r0, c0, book_.addString(std::string()));
        pendingString_ = true;
        pendingRow_ = row;
        pendingCol_ = col;
        break;
    case 1:
        sheet_.setBool(r0, c0, value[2] != 0);
        break;
    case 2:
        sheet_.setError(r0, c0, value[2]);
        break;
    case 3: // empty text
        sheet_.setString(r0, c0, book_.addString(std::string()));
        break;
    default:
        break;
    }
    return true;
}

bool CellSink::stringResult(const Record& r, RecordReader& reader, std::string& error) {
    continued_.load(r, reader);
    bool ok;
    if (biff_ == 8) {
        uint16_t cch;
        ok = continued_.readU16(cch) && continued_.readString(cch, false, decoder_, scratch_);
    } else {
        // An 8-bit text: a byte count (8-bit in BIFF2) and the bytes, which go on in
        // CONTINUE records without flag bytes.
        uint16_t count = 0;
        uint8_t shortCount = 0;
        ok = biff_ <= 2 ? continued_.readU8(shortCount) : continued_.readU16(count);
        if (biff_ <= 2)
            count = shortCount;
        std::string raw;
        ok = ok && continued_.readBytes(count, raw);
        scratch_.clear();
        if (ok)
            bytes_.append(reinterpret_cast<const uint8_t*>(raw.data()), raw.size(), scratch_);
    }
    if (!ok) {
        error = std::string(kDamaged) + "a formula's text result is cut short";
        return false;
    }
    if (pendingString_)
        sheet_.setString(static_cast<int>(pendingRow_), static_cast<int>(pendingCol_),
                         book_.addString(scratch_));
    pendingString_ = false;
    return true;
}

bool CellSink::handleOld(const Record& r, RecordReader& reader, bool& handled, std::string& error) {
    handled = true;
    const uint8_t* p = r.data;
    switch (r.type) {
    case rec::CodePage:
        if (r.size >= 2 && le16(p) != bytes_.codePage())
            bytes_ = ByteTextDecoder(le16(p));
        return true;
    case rec::DateMode:
        if (r.size >= 2)
            date1904_ = le16(p) != 0;
        return true;
    case rec::FilePass:
        error = "the workbook is password-protected; remove the password in Excel and save it "
                "again";
        return false;
    case rec::Format2:
    case rec::Format: {
        // Numbered in their order; BIFF4 has a (not used) index before the text.
        const std::size_t at = r.type == rec::Format2 || biff_ <= 3 ? 0 : 2;
        if (r.size < at || !readByteString(p + at, r.size - at, 1, bytes_, scratch_))
            scratch_.clear();
        own_.addNextFormat(scratch_);
        return true;
    }
    case rec::Xf2:
        if (r.size >= 3)
            own_.addXf(p[2] & 0x3F);
        return true;
    case rec::Xf3:
    case rec::Xf4:
        if (r.size >= 2)
            own_.addXf(p[1]);
        return true;
    case rec::Ixfe:
        if (r.size >= 2) {
            ixfe_ = le16(p);
            haveIxfe_ = true;
        }
        return true;
    case rec::Blank2:
        if (r.size < 7)
            return tooShort(error);
        return blank(le16(p), le16(p + 2), error);
    case rec::Integer2:
        if (r.size < 9)
            return tooShort(error);
        return number(le16(p), le16(p + 2), static_cast<double>(le16(p + 7)), attrIsDate(p + 4),
                      error);
    case rec::Number2:
        if (r.size < 15)
            return tooShort(error);
        return number(le16(p), le16(p + 2), leDouble(p + 7), attrIsDate(p + 4), error);
    case rec::Label2:
        if (r.size < 8 || !readByteString(p + 7, r.size - 7u, 1, bytes_, scratch_))
            return tooShort(error);
        return text(le16(p), le16(p + 2), book_.addString(scratch_), error);
    case rec::BoolErr2:
        if (r.size < 9)
            return tooShort(error);
        return boolErr(le16(p), le16(p + 2), p[7], p[8] != 0, error);
    case rec::String2:
        return stringResult(r, reader, error);
    default:
        handled = false;
        return true;
    }
}

bool CellSink::handle(const Record& r, RecordReader& reader, std::string& error) {
    if (biff_ <= 4) {
        bool handled = false;
        if (!handleOld(r, reader, handled, error))
            return false;
        if (handled)
            return true;
    }
    const uint8_t* p = r.data;
    switch (r.type) {
    case rec::Number:
        if (r.size < 14)
            return tooShort(error);
        return number(le16(p), le16(p + 2), le16(p + 4), leDouble(p + 6), error);
    case rec::Rk:
        if (r.size < 10)
            return tooShort(error);
        return number(le16(p), le16(p + 2), le16(p + 4), rec::decodeRk(le32(p + 6)), error);
    case rec::MulRk: {
        if (r.size < 6)
            return tooShort(error);
        const uint32_t row = le16(p), first = le16(p + 2);
        const std::size_t n = (r.size - 4u) / 6u;
        for (std::size_t i = 0; i < n; ++i) {
            const uint8_t* q = p + 4 + 6 * i;
            if (!number(row, first + static_cast<uint32_t>(i), le16(q), rec::decodeRk(le32(q + 2)),
                        error))
                return false;
        }
        return true;
    }
    case rec::LabelSst: {
        if (r.size < 10)
            return tooShort(error);
        const uint32_t index = le32(p + 6);
        if (index >= g_.sstCount) {
            error = std::string(kDamaged) + "a cell refers to a missing shared string";
            return false;
        }
        return text(le16(p), le16(p + 2), g_.sstBase + index, error);
    }
    case rec::Label:
    case rec::RString:
        return label(r, error);
    case rec::Blank:
        if (r.size < 6)
            return tooShort(error);
        return blank(le16(p), le16(p + 2), error);
    case rec::MulBlank: {
        if (r.size < 6)
            return tooShort(error);
        const uint32_t row = le16(p), first = le16(p + 2);
        const std::size_t n = (r.size - 4u) / 2u - 1u;
        for (std::size_t i = 0; i < n; ++i) {
            const uint32_t col = first + static_cast<uint32_t>(i);
            if (place(row, col, error))
                sheet_.setBlank(static_cast<int>(row), static_cast<int>(col));
            else if (!error.empty())
                return false;
        }
        return true;
    }
    case rec::BoolErr:
        if (r.size < 8)
            return tooShort(error);
        return boolErr(le16(p), le16(p + 2), p[6], p[7] != 0, error);
    case rec::Formula:
    case rec::Formula3:
    case rec::Formula4:
        return formula(r, error);
    case rec::String:
        return stringResult(r, reader, error);
    default:
        return true;
    }
}

} // namespace

bool readSheet(std::span<const uint8_t> stream, std::size_t offset, std::size_t limit,
               const Globals& globals, Book& book, Sheet& sheet, RowBudget& budget,
               std::string& error) {
    RecordReader reader(stream.first(limit), offset);
    Record r;
    CellSink sink(globals, book, sheet, budget);
    int depth = 0; // nested substreams (embedded charts) are skipped
    LoadProgress* progress = book.loadProgress();
    for (std::uint32_t records = 0; reader.next(r); ++records) {
        // Every few thousand records: how far the stream is read, and whether to stop.
        if (progress && records % 4096 == 0) {
            progress->report(reader.position(), stream.size());
            if (progress->cancelled()) {
                error = kLoadCancelled;
                return false;
            }
        }
        if (isBofRecord(r.type)) {
            ++depth;
            continue;
        }
        if (r.type == rec::Eof) {
            if (--depth <= 0)
                return true;
            continue;
        }
        if (depth == 1 && !sink.handle(r, reader, error))
            return false;
    }
    if (reader.truncated()) {
        error = std::string(kDamaged) + "a worksheet is cut short";
        return false;
    }
    // A sheet without EOF record ends at the next sheet or at the end of the stream.
    return true;
}

} // namespace frusta::xls
