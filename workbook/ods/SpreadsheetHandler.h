#pragma once
// Streaming reader of the spreadsheet body of an OpenDocument document (content.xml of a
// package, or the whole of a flat .fods file): every table becomes a worksheet, cells go into
// it as the XML arrives. Repeated rows and cells are expanded only where they hold values, so
// that the empty rows and columns that LibreOffice writes to the end of the sheet cost
// nothing.
#include "workbook/Book.h"
#include "workbook/ods/CellText.h"
#include "workbook/xlsx/XmlReader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace frusta::xlsx {
class ReadBudget;
}

namespace frusta::ods {

class SpreadsheetHandler : public xlsx::XmlHandler {
public:
    // `root` is the local name of the document element: "document-content" in a package,
    // "document" in a flat file.
    SpreadsheetHandler(Book& book, xlsx::ReadBudget& budget, std::string root);

    void startElement(xlsx::XmlNs ns, std::string_view name, const char** attrs,
                      int depth) override;
    void endElement(xlsx::XmlNs ns, std::string_view name, int depth) override;
    void characters(std::string_view text) override;

    // Whether the body held a spreadsheet at all (a text document has none).
    bool sawSpreadsheet() const { return sawSpreadsheet_; }

private:
    enum class Kind { None, Number, Date, Time, Boolean, String, Void, Unknown };

    static Kind kindOf(std::string_view type);
    void checkRoot(xlsx::XmlNs ns, std::string_view name, const char** attrs);
    void beginTable(const char** attrs, int depth);
    void beginRow(const char** attrs, int depth);
    void endRow();
    void beginCell(const char** attrs, int depth, bool covered);
    void endCell();
    void paragraphElement(xlsx::XmlNs ns, std::string_view name, const char** attrs, int depth);
    bool holdsValue() const;
    bool storeValue(int row, int col);
    bool storeText(int row, int col, std::string text);
    void repeatCell(int row, int col, std::int64_t count);
    void repeatRow();
    bool charge(std::uint64_t bytes);
    void failAt(std::int64_t row, std::int64_t col, const std::string& what);
    void updateCollecting();

    Book& book_;
    xlsx::ReadBudget& budget_;
    std::string root_;
    Sheet* sheet_ = nullptr;
    bool inBody_ = false;
    bool inSpreadsheet_ = false;
    bool sawSpreadsheet_ = false;
    int tableDepth_ = 0;     // 0 outside a table
    int containerDepth_ = 0; // the innermost element that may hold rows
    int rowDepth_ = 0;       // 0 outside a row
    int cellDepth_ = 0;      // 0 outside a cell with a value to read
    int paragraphDepth_ = 0; // 0 outside a paragraph of such a cell
    int skipDepth_ = 0;      // an element inside a paragraph whose text is not the cell's

    std::int64_t row_ = 0; // 0-based row of the current row element
    std::int64_t rowRepeat_ = 1;
    bool rowHasValues_ = false;
    std::int64_t col_ = 0; // 0-based column of the current cell element
    std::int64_t colRepeat_ = 1;

    // The cell being read.
    Kind kind_ = Kind::None;
    bool formula_ = false;
    bool calcError_ = false; // LibreOffice marks a formula's error result
    bool wantText_ = false;
    std::string value_; // the value attribute of its kind
    bool haveValue_ = false;
    CellText text_;
    std::vector<Cell> rowCopy_;
};

} // namespace frusta::ods
