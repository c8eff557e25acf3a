#pragma once
// The results of an analysed document as tables of cells, built once and shared by every
// results format (workbook, CSV, JSON) so that they hold the same values: full-precision
// numbers, texts, empty cells for missing values, and the number format a workbook gives.
#include <string>
#include <vector>

namespace frusta {

class CPbtDoc;

enum class CellFormat { None, Date, TwoDecimals };

struct TableCell {
    enum class Kind { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0.0;
    std::string text;
    CellFormat format = CellFormat::None;

    static TableCell empty() { return {}; }
    static TableCell num(double v, CellFormat f = CellFormat::None) {
        return {Kind::Number, v, {}, f};
    }
    static TableCell str(std::string t) {
        return {Kind::Text, 0.0, std::move(t), CellFormat::None};
    }
    bool isEmpty() const { return kind == Kind::Empty; }
};

using TableRow = std::vector<TableCell>;

struct ResultsTable {
    std::vector<std::string> header;
    std::vector<TableRow> rows;
};

struct ResultsTables {
    std::string metric;               // "TDI4" and so on
    std::vector<std::string> summary; // the job summary lines as the workbook writes them
    // The taxa without a score for the metric: the message above the table, then the table
    // (Code, Name, N, N2, Max and, for rivers and lakes, two score columns left empty).
    std::string unmatchedMessage;
    ResultsTable unmatched;
    bool hasUnmatched = false;
    // One row per sample: the information columns, result columns 1 to 10, the comment.
    ResultsTable samples;
    int infoColumns = 0;
    int classColumn = -1;         // column of the class name in `samples`
    int commentColumn = -1;       // column of the comment in `samples`
    std::vector<int> sampleClass; // class code 1 to 5 per sample; 0 without a class
    // One row per site: site code and the 13 columns of the site table; the class column
    // holds the class name, or the number when the code is not 1 to 5.
    bool hasSites = false;
    std::string sitesSheetName;
    ResultsTable sites;
    std::vector<int> siteClass; // class code 1 to 5 per site; 0 without a class
    // "Taxon matching": one row per input taxon (`taxa`), then one per sample with its
    // scored share (`shares`). `shareColumns` holds the share and its flag per sample, the
    // last columns of the samples CSV file.
    ResultsTable taxa;
    ResultsTable shares;
    ResultsTable shareColumns;
    // "Run details": label and value.
    ResultsTable run;
};

// The taxon matching, scored share and run details tables of an analysed document.
void addMatchingTables(const CPbtDoc& doc, ResultsTables& out);

// The tables of an analysed document; `classNames` names class codes 1 to 5.
ResultsTables buildResultsTables(const CPbtDoc& doc, const std::vector<std::string>& classNames);

} // namespace frusta
