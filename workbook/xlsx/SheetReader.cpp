#include "workbook/xlsx/SheetReader.h"

#include "workbook/Book.h"
#include "workbook/NumberFormat.h"
#include "workbook/xlsx/CellRef.h"
#include "workbook/xlsx/CellValues.h"
#include "workbook/xlsx/OoxmlText.h"
#include "workbook/xlsx/SharedStrings.h"
#include "workbook/xlsx/Styles.h"
#include "workbook/xlsx/XlsxLimits.h"
#include "workbook/xlsx/XmlReader.h"

#include <charconv>
#include <cstring>
#include <vector>

namespace frusta::xlsx {

namespace {

// Memory of one cell and of one row slot in the sheet's store.
constexpr std::uint64_t kCellCost = sizeof(Cell);
constexpr std::uint64_t kRowCost = sizeof(std::vector<Cell>);

enum class ValueKind { Number, SharedString, FormulaString, InlineString, Boolean, Error, Date };

// A value quoted in a message, cut to a readable length.
std::string quote(std::string_view value) {
    constexpr std::size_t kMax = 40;
    return "'" + std::string(value.substr(0, kMax)) + (value.size() > kMax ? "...'" : "'");
}

// What the shared string table holds, for the refusal of a string it lacks: "the table holds
// 3", or with entries of an unknown kind "the table holds 0 strings and 2 entries <foo> of a
// kind this program does not read".
std::string describeTable(const SharedStrings& table) {
    std::string text = "the table holds " + std::to_string(table.count);
    if (table.unknownEntries == 0)
        return text;
    return text + (table.count == 1 ? " string and " : " strings and ") +
           std::to_string(table.unknownEntries) + " entr" +
           (table.unknownEntries == 1 ? "y <" : "ies <") + table.unknownName +
           "> of a kind this program does not read";
}

// True when `key` is the one-letter attribute name `letter`.
bool isKey(const char* key, char letter) {
    return key[0] == letter && key[1] == '\0';
}

bool isBlankText(std::string_view text) {
    for (const char ch : text)
        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n')
            return false;
    return true;
}

// Element depths inside a worksheet.
enum Depth { kSheetData = 2, kRow = 3, kCell = 4, kCellChild = 5, kInlineChild = 6, kRunChild = 7 };

class SheetHandler : public XmlHandler {
public:
    SheetHandler(Sheet& sheet, const SheetContext& context) : sheet_(sheet), ctx_(context) {}

    void startElement(XmlNs ns, std::string_view name, const char** attrs, int depth) override {
        if (depth == 1) {
            if (!isMain(ns) || name != "worksheet")
                fail("the part of sheet '" + sheet_.name() + "' is not a worksheet");
            return;
        }
        if (!isMain(ns))
            return;
        switch (depth) {
        case kSheetData:
            inSheetData_ = name == "sheetData";
            break;
        case kRow:
            if (inSheetData_ && name == "row")
                beginRow(attrs);
            break;
        case kCell:
            if (inRow_ && name == "c")
                beginCell(attrs);
            break;
        case kCellChild:
            if (!inCell_)
                break;
            if (name == "v") {
                haveValue_ = true;
                setCollecting(true);
            } else if (name == "is") {
                inInline_ = true;
            }
            break;
        case kInlineChild:
            if (inInline_) {
                inRun_ = name == "r";
                setCollecting(name == "t");
            }
            break;
        case kRunChild:
            if (inRun_ && name == "t")
                setCollecting(true);
            break;
        default:
            break;
        }
    }

    void endElement(XmlNs, std::string_view, int depth) override {
        setCollecting(false);
        switch (depth) {
        case kSheetData:
            inSheetData_ = false;
            break;
        case kRow:
            if (inRow_)
                endRow();
            break;
        case kCell:
            if (inCell_)
                endCell();
            break;
        case kCellChild:
            inInline_ = false;
            break;
        case kInlineChild:
            inRun_ = false;
            break;
        default:
            break;
        }
    }

    void characters(std::string_view text) override {
        if (text_.size() + text.size() > kMaxTextBytes) {
            failAtCell("a text longer than " + std::to_string(kMaxTextBytes / kMiB) + " MB");
            return;
        }
        text_.append(text);
    }

private:
    void beginRow(const char** attrs) {
        inRow_ = true;
        rowHadCells_ = false;
        nextCol_ = 0;
        if (const char* r = attribute(attrs, "r")) {
            const RefStatus status = parseRowNumber(r, row_);
            if (status != RefStatus::Ok) {
                fail("sheet '" + sheet_.name() + "': " +
                     (status == RefStatus::OutOfRange
                          ? "row number " + quote(r) + " lies beyond the last row (" +
                                std::to_string(kXlsxMaxRows) + ")"
                          : "invalid row number " + quote(r)));
                return;
            }
        } else {
            row_ = lastRow_ + 1; // rows without a number follow the previous one
            if (row_ >= kXlsxMaxRows) {
                fail("sheet '" + sheet_.name() + "': more than " + std::to_string(kXlsxMaxRows) +
                     " rows");
                return;
            }
        }
    }

    void endRow() {
        inRow_ = false;
        lastRow_ = rowHadCells_ ? cellRow_ : row_;
    }

    void beginCell(const char** attrs) {
        inCell_ = true;
        haveValue_ = false;
        text_.clear();
        kind_ = ValueKind::Number;
        style_ = 0;
        const char* ref = nullptr;
        for (const char** a = attrs; *a; a += 2) {
            if (isKey(a[0], 'r'))
                ref = a[1];
            else if (isKey(a[0], 't'))
                setKind(a[1]);
            else if (isKey(a[0], 's'))
                std::from_chars(a[1], a[1] + std::strlen(a[1]), style_);
        }
        if (ref) {
            const RefStatus status = parseCellRef(ref, cellRow_, cellCol_);
            if (status != RefStatus::Ok) {
                fail("sheet '" + sheet_.name() + "': " +
                     (status == RefStatus::OutOfRange
                          ? "cell " + quote(ref) + " lies beyond the last row (" +
                                std::to_string(kXlsxMaxRows) + ") or column (XFD)"
                          : "invalid cell reference " + quote(ref)));
                return;
            }
        } else {
            // Cells without a reference follow the previous cell of the row.
            cellRow_ = row_;
            cellCol_ = nextCol_;
            if (cellCol_ >= kXlsxMaxCols) {
                fail("sheet '" + sheet_.name() + "': row " + std::to_string(row_ + 1) +
                     " has more than " + std::to_string(kXlsxMaxCols) + " columns");
                return;
            }
        }
        nextCol_ = cellCol_ + 1;
        rowHadCells_ = true;
    }

    void setKind(std::string_view t) {
        if (t == "n")
            kind_ = ValueKind::Number;
        else if (t == "s")
            kind_ = ValueKind::SharedString;
        else if (t == "str")
            kind_ = ValueKind::FormulaString;
        else if (t == "inlineStr")
            kind_ = ValueKind::InlineString;
        else if (t == "b")
            kind_ = ValueKind::Boolean;
        else if (t == "e")
            kind_ = ValueKind::Error;
        else if (t == "d")
            kind_ = ValueKind::Date;
        else
            fail("sheet '" + sheet_.name() + "': unknown cell type " + quote(t));
    }

    void failAtCell(const std::string& what) {
        fail("sheet '" + sheet_.name() + "', cell " + cellName(cellRow_, cellCol_) + ": " + what);
    }

    bool charge() {
        std::uint64_t cost = kCellCost;
        if (cellRow_ >= sheet_.lastRow())
            cost += kRowCost * static_cast<std::uint64_t>(cellRow_ + 1 - sheet_.lastRow());
        if (!ctx_.budget.charge(cost)) {
            fail("the workbook's cells and texts need more than " +
                 std::to_string(ctx_.budget.limit() / kMiB) + " MB of memory");
            return false;
        }
        return true;
    }

    void setText(std::string text) {
        if (!ctx_.budget.charge(text.size() + sizeof(std::string))) {
            fail("the workbook's cells and texts need more than " +
                 std::to_string(ctx_.budget.limit() / kMiB) + " MB of memory");
            return;
        }
        sheet_.setString(cellRow_, cellCol_, ctx_.book.addString(std::move(text)));
    }

    void endCell();

    Sheet& sheet_;
    const SheetContext& ctx_;
    std::string text_;
    ValueKind kind_ = ValueKind::Number;
    long style_ = 0;
    int row_ = -1;     // the current row element's row
    int lastRow_ = -1; // the row of the previous row element
    int nextCol_ = 0;
    int cellRow_ = 0;
    int cellCol_ = 0;
    bool inSheetData_ = false;
    bool inRow_ = false;
    bool rowHadCells_ = false;
    bool inCell_ = false;
    bool inInline_ = false;
    bool inRun_ = false;
    bool haveValue_ = false;
};

void SheetHandler::endCell() {
    inCell_ = false;
    if (!charge())
        return;
    // A cell without a value (a formatted empty cell, or a formula never calculated) is
    // blank; so is an inline string without text, which some writers use as padding. A
    // formula's empty text result stays a text.
    const bool noValue = kind_ == ValueKind::InlineString    ? text_.empty()
                         : kind_ == ValueKind::FormulaString ? !haveValue_
                                                             : !haveValue_ || isBlankText(text_);
    if (noValue) {
        sheet_.setBlank(cellRow_, cellCol_);
        return;
    }
    switch (kind_) {
    case ValueKind::Number: {
        const auto value = parseNumber(text_);
        if (!value)
            return failAtCell("invalid number " + quote(text_));
        const bool moveDate = ctx_.dateStyles && ctx_.dateStyles->isDate(style_);
        sheet_.setNumber(cellRow_, cellCol_, moveDate ? *value + kDays1904To1900 : *value);
        break;
    }
    case ValueKind::SharedString: {
        std::uint32_t index = 0;
        const char* end = text_.data() + text_.size();
        const auto [ptr, ec] = std::from_chars(text_.data(), end, index);
        if (ec != std::errc() || ptr != end)
            return failAtCell("invalid shared string index " + quote(text_));
        if (index >= ctx_.strings.count)
            return failAtCell("shared string " + std::to_string(index) + " does not exist (" +
                              describeTable(ctx_.strings) + ")");
        sheet_.setString(cellRow_, cellCol_, ctx_.strings.first + index);
        break;
    }
    case ValueKind::FormulaString:
    case ValueKind::InlineString:
        setText(unescapeText(text_));
        break;
    case ValueKind::Boolean: {
        const auto value = parseBoolean(text_);
        if (!value)
            return failAtCell("invalid boolean " + quote(text_));
        sheet_.setBool(cellRow_, cellCol_, *value);
        break;
    }
    case ValueKind::Error:
        sheet_.setError(cellRow_, cellCol_, errorCodeOf(text_));
        break;
    case ValueKind::Date: {
        const auto value = parseIsoDate(text_);
        if (!value)
            return failAtCell("invalid date " + quote(text_));
        sheet_.setNumber(cellRow_, cellCol_, *value);
        break;
    }
    }
}

} // namespace

bool readWorksheet(ZipPackage& package, const std::string& partName, Sheet& sheet,
                   const SheetContext& context, std::string& error) {
    SheetHandler handler(sheet, context);
    return parsePart(package, partName, handler, error);
}

} // namespace frusta::xlsx
