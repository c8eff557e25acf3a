#pragma once
// The texts of the grid windows' cells, in grid coordinates: row 0 is the header row and
// column 0 the row-header column. The models of the grid views call these and add only
// colours and alignment.
#include "doc/ResultColumns.h"

#include <string>
#include <vector>

namespace frusta {
class CPbtDoc;
class dbTable;
class Sheet;
} // namespace frusta

namespace frusta::cells {

// Sample results: information columns, then every result column but the hidden one.
int resultsColumnCount(const CPbtDoc& doc);
int resultsRowCount(const CPbtDoc& doc);
int resultsGridColumn(const CPbtDoc& doc, ResultColumn column);
std::string results(const CPbtDoc& doc, const std::vector<std::string>& classNames, int r, int c);

// The hover text of a results cell: for the metric cell of a sample, its scored share and
// whether it lies below the smallest scored share; empty elsewhere.
std::string resultsTip(const CPbtDoc& doc, int r, int c);

// Site uncertainty: site code then the site columns.
int uncertaintyColumnCount(const CPbtDoc& doc);
int uncertaintyRowCount(const CPbtDoc& doc);
int uncertaintyGridColumn(SiteColumn column);
std::string uncertainty(const CPbtDoc& doc, const std::vector<std::string>& classNames, int r,
                        int c);

// Input data: information rows then one row per taxon; code, name, one column per sample.
int dataColumnCount(const CPbtDoc& doc);
int dataRowCount(const CPbtDoc& doc);
std::string data(const CPbtDoc& doc, int r, int c);
// True for the taxon rows of the data grid whose taxon has no score (after an analysis).
bool dataRowUnscored(const CPbtDoc& doc, int r);

// The hover text of a highlighted taxon row: why it has no score and the list entries it
// most likely meant; empty for other cells.
std::string dataTip(const CPbtDoc& doc, int r, int c);
// The input taxon of a data grid row, or -1 for other rows.
int dataTaxon(const CPbtDoc& doc, int r);

// The taxon matching grid: one row per input taxon, the columns of TaxonMatchView.
int matchingRowCount(const CPbtDoc& doc);
int matchingColumnCount();
std::string matching(const CPbtDoc& doc, int r, int c);
std::string matchingTip(const CPbtDoc& doc, int r, int c);

// Spreadsheet column name of grid column c (1 A, 26 Z, 27 AA, 702 ZZ, 703 AAA).
std::string columnName(int c);

// Master taxon list: one row per record, one column per field.
std::string taxonList(const dbTable& table, int r, int c);

// The worksheet preview: grid cell (r, c), 1-based, shows the worksheet cell below it;
// nothing for empty, blank and error cells; a number in row 3 from column 3 that is
// strictly between 20000 and 60000 as a date.
std::string preview(const Sheet& sheet, int r, int c);

} // namespace frusta::cells
