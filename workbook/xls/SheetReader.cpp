#include "workbook/xls/SheetReader.h"

#include "workbook/Book.h"
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
        : g_(g), decoder_(g.codePage), book_(book), sheet_(sheet), budget_(budget) {}

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
    double dated(double v, uint16_t xf) const {
        return g_.date1904 && xf < g_.xfIsDate.size() && g_.xfIsDate[xf] ? v + kDays1904To1900 : v;
    }
    bool number(uint32_t row, uint32_t col, uint16_t xf, double v, std::string& error) {
        if (place(row, col, error))
            sheet_.setNumber(static_cast<int>(row), static_cast<int>(col), dated(v, xf));
        return error.empty();
    }
    bool text(uint32_t row, uint32_t col, uint32_t poolIndex, std::string& error) {
        if (place(row, col, error))
            sheet_.setString(static_cast<int>(row), static_cast<int>(col), poolIndex);
        return error.empty();
    }
    bool formula(const Record& r, std::string& error);
    bool stringResult(const Record& r, RecordReader& reader, std::string& error);

    const Globals& g_;
    CharDecoder decoder_;
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

bool CellSink::formula(const Record& r, std::string& error) {
    if (r.size < 20)
        return tooShort(error);
    const uint8_t* p = r.data;
    const uint32_t row = le16(p), col = le16(p + 2);
    const uint16_t xf = le16(p + 4);
    const uint8_t* value = p + 6;
    pendingString_ = false;
    if (le16(value + 6) != 0xFFFF)
        return number(row, col, xf, leDouble(value), error);
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
    uint16_t cch;
    if (!continued_.readU16(cch) || !continued_.readString(cch, false, decoder_, scratch_)) {
        error = std::string(kDamaged) + "a formula's text result is cut short";
        return false;
    }
    if (pendingString_)
        sheet_.setString(static_cast<int>(pendingRow_), static_cast<int>(pendingCol_),
                         book_.addString(scratch_));
    pendingString_ = false;
    return true;
}

bool CellSink::handle(const Record& r, RecordReader& reader, std::string& error) {
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
        if (r.size < 9 || !readPlainString(p + 6, r.size - 6u, false, decoder_, scratch_))
            return tooShort(error);
        return text(le16(p), le16(p + 2), book_.addString(scratch_), error);
    case rec::Blank:
        if (r.size < 6)
            return tooShort(error);
        if (place(le16(p), le16(p + 2), error))
            sheet_.setBlank(le16(p), le16(p + 2));
        return error.empty();
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
        if (place(le16(p), le16(p + 2), error)) {
            if (p[7])
                sheet_.setError(le16(p), le16(p + 2), p[6]);
            else
                sheet_.setBool(le16(p), le16(p + 2), p[6] != 0);
        }
        return error.empty();
    case rec::Formula:
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
    while (reader.next(r)) {
        if (r.type == rec::Bof) {
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
