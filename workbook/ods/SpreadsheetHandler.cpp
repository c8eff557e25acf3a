#include "workbook/ods/SpreadsheetHandler.h"

#include "workbook/Book.h"
#include "workbook/ods/DocumentKind.h"
#include "workbook/ods/OdsValues.h"
#include "workbook/xlsx/CellRef.h"
#include "workbook/xlsx/CellValues.h"
#include "workbook/xlsx/XlsxLimits.h"

namespace frusta::ods {

using xlsx::XmlNs;

namespace {

// Memory of one cell and of one row slot in the sheet's store.
constexpr std::uint64_t kCellCost = sizeof(Cell);
constexpr std::uint64_t kRowCost = sizeof(std::vector<Cell>);
// Repeat counts beyond this only say "to the end of the sheet".
constexpr std::int64_t kCountCap = std::int64_t{1} << 31;

std::string quote(std::string_view value) {
    constexpr std::size_t kMax = 40;
    return "'" + std::string(value.substr(0, kMax)) + (value.size() > kMax ? "...'" : "'");
}

// The local part of an attribute or element name.
std::string_view localName(const char* qname) {
    const std::string_view name(qname);
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Writes a copy of `cell` at (row, col).
void copyCell(Sheet& sheet, int row, int col, const Cell& cell) {
    switch (static_cast<CellType>(cell.type)) {
    case CellType::Number:
        sheet.setNumber(row, col, cell.number, cell.format);
        break;
    case CellType::String:
        sheet.setString(row, col, cell.text);
        break;
    case CellType::Boolean:
        sheet.setBool(row, col, cell.boolean != 0);
        break;
    case CellType::Error:
        sheet.setError(row, col, cell.error);
        break;
    case CellType::Blank:
        sheet.setBlank(row, col);
        break;
    case CellType::Empty:
        break;
    }
}

bool isRowContainer(std::string_view name) {
    return name == "table-row-group" || name == "table-header-rows" || name == "table-rows";
}

} // namespace

SpreadsheetHandler::Kind SpreadsheetHandler::kindOf(std::string_view type) {
    if (type == "float" || type == "percentage" || type == "currency")
        return Kind::Number;
    if (type == "date")
        return Kind::Date;
    if (type == "time")
        return Kind::Time;
    if (type == "boolean")
        return Kind::Boolean;
    if (type == "string")
        return Kind::String;
    if (type == "void")
        return Kind::Void;
    return Kind::Unknown;
}

SpreadsheetHandler::SpreadsheetHandler(Book& book, xlsx::ReadBudget& budget, std::string root)
    : book_(book), budget_(budget), root_(std::move(root)) {}

void SpreadsheetHandler::checkRoot(XmlNs ns, std::string_view name, const char** attrs) {
    const bool flat = root_ == "document";
    if (ns != XmlNs::OdfOffice || name != root_) {
        fail(flat ? "the file is XML, but not an OpenDocument document"
                  : "the part 'content.xml' is not the content of an OpenDocument document");
        return;
    }
    for (const char** a = attrs; *a; a += 2) {
        XmlNs attrNs = XmlNs::Other;
        std::string_view local;
        if (localName(a[0]) == "mimetype" && resolveAttribute(a[0], attrNs, local) &&
            attrNs == XmlNs::OdfOffice)
            if (std::string why = refusalForMimetype(a[1]); !why.empty())
                fail(why);
    }
}

void SpreadsheetHandler::startElement(XmlNs ns, std::string_view name, const char** attrs,
                                      int depth) {
    if (depth == 1)
        return checkRoot(ns, name, attrs);
    if (paragraphDepth_)
        return paragraphElement(ns, name, attrs, depth);
    if (cellDepth_) {
        if (depth == cellDepth_ + 1 && ns == XmlNs::OdfText && (name == "p" || name == "h") &&
            wantText_) {
            paragraphDepth_ = depth;
            text_.beginParagraph();
            updateCollecting();
        }
        return;
    }
    if (rowDepth_) {
        if (depth == rowDepth_ + 1 && ns == XmlNs::OdfTable)
            if (name == "table-cell" || name == "covered-table-cell")
                beginCell(attrs, depth, name == "covered-table-cell");
        return;
    }
    if (tableDepth_) {
        if (depth != containerDepth_ + 1 || ns != XmlNs::OdfTable)
            return;
        if (name == "table-row")
            beginRow(attrs, depth);
        else if (isRowContainer(name))
            containerDepth_ = depth;
        return;
    }
    if (depth == 2)
        inBody_ = ns == XmlNs::OdfOffice && name == "body";
    else if (depth == 3 && inBody_ && ns == XmlNs::OdfOffice && name == "spreadsheet")
        inSpreadsheet_ = sawSpreadsheet_ = true;
    else if (depth == 4 && inSpreadsheet_ && ns == XmlNs::OdfTable && name == "table")
        beginTable(attrs, depth);
}

void SpreadsheetHandler::endElement(XmlNs, std::string_view, int depth) {
    if (skipDepth_) {
        if (depth == skipDepth_) {
            skipDepth_ = 0;
            updateCollecting();
        }
        return;
    }
    if (paragraphDepth_) {
        if (depth == paragraphDepth_) {
            text_.endParagraph();
            paragraphDepth_ = 0;
            updateCollecting();
        }
        return;
    }
    if (cellDepth_) {
        if (depth == cellDepth_)
            endCell();
        return;
    }
    if (rowDepth_) {
        if (depth == rowDepth_)
            endRow();
        return;
    }
    if (tableDepth_) {
        if (depth == containerDepth_ && depth > tableDepth_)
            --containerDepth_;
        else if (depth == tableDepth_)
            tableDepth_ = containerDepth_ = 0;
        return;
    }
    if (depth == 2)
        inBody_ = false;
    else if (depth == 3)
        inSpreadsheet_ = false;
}

void SpreadsheetHandler::characters(std::string_view text) {
    if (text_.size() + text.size() > xlsx::kMaxTextBytes)
        return failAt(row_, col_,
                      "a text longer than " + std::to_string(xlsx::kMaxTextBytes / xlsx::kMiB) +
                          " MB");
    text_.characters(text);
}

void SpreadsheetHandler::updateCollecting() {
    setCollecting(paragraphDepth_ != 0 && skipDepth_ == 0);
}

void SpreadsheetHandler::beginTable(const char** attrs, int depth) {
    std::string name;
    for (const char** a = attrs; *a; a += 2) {
        XmlNs ns = XmlNs::Other;
        std::string_view local;
        if (localName(a[0]) == "name" && resolveAttribute(a[0], ns, local) && ns == XmlNs::OdfTable)
            name = a[1];
    }
    if (name.empty())
        name = "Sheet" + std::to_string(book_.sheetCount() + 1);
    if (book_.sheetCount() >= xlsx::kMaxEntries)
        return fail("the workbook holds too many sheets");
    sheet_ = book_.addSheet(name);
    tableDepth_ = containerDepth_ = depth;
    row_ = 0;
}

void SpreadsheetHandler::beginRow(const char** attrs, int depth) {
    rowDepth_ = depth;
    rowRepeat_ = 1;
    rowHasValues_ = false;
    col_ = 0;
    for (const char** a = attrs; *a; a += 2) {
        XmlNs ns = XmlNs::Other;
        std::string_view local;
        if (localName(a[0]) != "number-rows-repeated" || !resolveAttribute(a[0], ns, local) ||
            ns != XmlNs::OdfTable)
            continue;
        const auto count = parseCount(a[1], kCountCap);
        if (!count)
            return fail("sheet '" + sheet_->name() + "': invalid row repeat count " + quote(a[1]));
        rowRepeat_ = *count;
    }
}

void SpreadsheetHandler::endRow() {
    rowDepth_ = 0;
    if (rowHasValues_ && rowRepeat_ > 1)
        repeatRow();
    row_ += rowRepeat_;
}

void SpreadsheetHandler::beginCell(const char** attrs, int depth, bool covered) {
    colRepeat_ = 1;
    kind_ = Kind::None;
    formula_ = calcError_ = haveValue_ = false;
    value_.clear();
    text_.clear();
    XmlNs ns = XmlNs::Other;
    std::string_view ignored;
    for (const char** a = attrs; *a; a += 2) {
        const std::string_view local = localName(a[0]);
        if (local == "number-columns-repeated") {
            if (!resolveAttribute(a[0], ns, ignored) || ns != XmlNs::OdfTable)
                continue;
            const auto count = parseCount(a[1], kCountCap);
            if (!count)
                return failAt(row_, col_, "invalid repeat count " + quote(a[1]));
            colRepeat_ = *count;
        } else if (local == "formula") {
            formula_ = resolveAttribute(a[0], ns, ignored) && ns == XmlNs::OdfTable;
        } else if (local == "value-type" && resolveAttribute(a[0], ns, ignored)) {
            if (ns == XmlNs::OdfCalcExt)
                calcError_ = std::string_view(a[1]) == "error";
            else if (ns == XmlNs::OdfOffice)
                kind_ = kindOf(a[1]);
        }
    }
    // The cells under a merged cell are empty, whatever they hold.
    if (covered || kind_ == Kind::Void) {
        col_ += colRepeat_;
        return;
    }
    // Each kind has its value in an attribute of its own.
    const std::string_view wanted = kind_ == Kind::Number    ? "value"
                                    : kind_ == Kind::Date    ? "date-value"
                                    : kind_ == Kind::Time    ? "time-value"
                                    : kind_ == Kind::Boolean ? "boolean-value"
                                    : kind_ == Kind::String  ? "string-value"
                                                             : "";
    for (const char** a = attrs; *a && !wanted.empty(); a += 2)
        if (localName(a[0]) == wanted && resolveAttribute(a[0], ns, ignored) &&
            ns == XmlNs::OdfOffice) {
            value_ = a[1];
            haveValue_ = true;
        }
    // The text is read where it is the value, where a value may fall back to it, and where
    // a formula's error shows in it.
    wantText_ = kind_ != Kind::Number && kind_ != Kind::Boolean;
    cellDepth_ = depth;
}

void SpreadsheetHandler::endCell() {
    cellDepth_ = 0;
    const std::int64_t count = colRepeat_;
    const std::int64_t col = col_;
    col_ += count;
    if (row_ >= kXlsxMaxRows || col >= kXlsxMaxCols) {
        // Nothing may be stored past the limits; empty cells there cost nothing.
        if (holdsValue())
            failAt(row_, col,
                   row_ >= kXlsxMaxRows ? "a cell with a value lies beyond the last row (" +
                                              std::to_string(kXlsxMaxRows) + ")"
                                        : "a cell with a value lies beyond the last column (XFD)");
        return;
    }
    const int row = static_cast<int>(row_);
    if (!storeValue(row, static_cast<int>(col)) || failed())
        return;
    if (sheet_->cellType(row, static_cast<int>(col)) == CellType::Empty)
        return;
    rowHasValues_ = true;
    if (count > 1) {
        if (col + count > kXlsxMaxCols)
            return failAt(row_, col,
                          "a value repeated " + std::to_string(count) +
                              " times reaches beyond the last column (XFD)");
        repeatCell(row, static_cast<int>(col), count);
    }
}

bool SpreadsheetHandler::holdsValue() const {
    switch (kind_) {
    case Kind::Number:
    case Kind::Boolean:
    case Kind::String:
        return true;
    case Kind::Date:
    case Kind::Time:
        return haveValue_ || !text_.empty();
    default:
        return !text_.empty();
    }
}

// Stores the cell's value, or nothing for an empty cell; false when it failed.
bool SpreadsheetHandler::storeValue(int row, int col) {
    if (formula_ && (calcError_ || isErrorText(text_.text()))) {
        if (!charge(kCellCost))
            return false;
        sheet_->setError(row, col, xlsx::errorCodeOf(text_.text()));
        return true;
    }
    switch (kind_) {
    case Kind::Number: {
        const auto value = xlsx::parseNumber(value_);
        if (!haveValue_ || !value) {
            failAt(row, col, "invalid number " + quote(value_));
            return false;
        }
        if (!charge(kCellCost))
            return false;
        sheet_->setNumber(row, col, *value);
        return true;
    }
    case Kind::Boolean: {
        const auto value = xlsx::parseBoolean(value_);
        if (!haveValue_ || !value) {
            failAt(row, col, "invalid boolean " + quote(value_));
            return false;
        }
        if (!charge(kCellCost))
            return false;
        sheet_->setBool(row, col, *value);
        return true;
    }
    case Kind::Date:
    case Kind::Time: {
        // A date the 1900 date system cannot hold keeps the text that the cell shows.
        const auto value = kind_ == Kind::Date ? xlsx::parseIsoDate(value_) : parseDuration(value_);
        if (haveValue_ && value) {
            if (!charge(kCellCost))
                return false;
            sheet_->setNumber(row, col, *value);
            return true;
        }
        return text_.empty() || storeText(row, col, text_.take());
    }
    case Kind::String:
        // A text cell keeps its text even when it is empty, as the other formats do.
        return storeText(row, col, haveValue_ ? std::move(value_) : text_.take());
    case Kind::None:
    case Kind::Unknown:
        return text_.empty() || storeText(row, col, text_.take());
    case Kind::Void:
        break;
    }
    return true;
}

bool SpreadsheetHandler::storeText(int row, int col, std::string text) {
    if (!charge(text.size() + sizeof(std::string) + kCellCost))
        return false;
    sheet_->setString(row, col, book_.addString(std::move(text)));
    return true;
}

// Copies the cell just stored at (row, col) into the next count - 1 columns.
void SpreadsheetHandler::repeatCell(int row, int col, std::int64_t count) {
    if (!charge(kCellCost * static_cast<std::uint64_t>(count - 1)))
        return;
    const Cell cell = *sheet_->cell(row, col);
    for (std::int64_t i = 1; i < count; ++i)
        copyCell(*sheet_, row, col + static_cast<int>(i), cell);
}

// Copies the row just read into the rows that its repeat count adds.
void SpreadsheetHandler::repeatRow() {
    if (row_ + rowRepeat_ > kXlsxMaxRows)
        return failAt(row_, 0,
                      "a row with values repeated " + std::to_string(rowRepeat_) +
                          " times reaches beyond the last row (" + std::to_string(kXlsxMaxRows) +
                          ")");
    const int row = static_cast<int>(row_);
    rowCopy_ = sheet_->rows()[static_cast<std::size_t>(row)];
    const auto rows = static_cast<std::uint64_t>(rowRepeat_ - 1);
    if (!charge(rows * (kRowCost + kCellCost * rowCopy_.size())))
        return;
    for (std::int64_t r = 1; r < rowRepeat_; ++r)
        for (const Cell& cell : rowCopy_)
            copyCell(*sheet_, row + static_cast<int>(r), static_cast<int>(cell.col), cell);
}

bool SpreadsheetHandler::charge(std::uint64_t bytes) {
    if (budget_.charge(bytes))
        return true;
    fail("the workbook's cells and texts need more than " +
         std::to_string(budget_.limit() / xlsx::kMiB) + " MB of memory");
    return false;
}

void SpreadsheetHandler::failAt(std::int64_t row, std::int64_t col, const std::string& what) {
    std::string where = "sheet '" + sheet_->name() + "'";
    if (row < kXlsxMaxRows && col < kXlsxMaxCols)
        where += ", cell " + xlsx::cellName(static_cast<int>(row), static_cast<int>(col));
    else if (row < kXlsxMaxRows)
        where += ", row " + std::to_string(row + 1);
    fail(where + ": " + what);
}

void SpreadsheetHandler::paragraphElement(XmlNs ns, std::string_view name, const char** attrs,
                                          int depth) {
    if (skipDepth_)
        return;
    // Notes, annotations and drawings inside a paragraph are not the cell's text.
    if (ns != XmlNs::OdfText || name == "note" || name == "ruby-text") {
        skipDepth_ = depth;
        updateCollecting();
        return;
    }
    if (name == "s") {
        std::int64_t count = 1;
        for (const char** a = attrs; *a; a += 2)
            if (localName(a[0]) == "c")
                if (const auto c = parseCount(a[1], static_cast<std::int64_t>(xlsx::kMaxTextBytes)))
                    count = *c;
        if (text_.size() + static_cast<std::uint64_t>(count) > xlsx::kMaxTextBytes)
            return failAt(row_, col_,
                          "a text longer than " + std::to_string(xlsx::kMaxTextBytes / xlsx::kMiB) +
                              " MB");
        text_.spaces(count);
    } else if (name == "tab") {
        text_.tab();
    } else if (name == "line-break") {
        text_.lineBreak();
    }
}

} // namespace frusta::ods
