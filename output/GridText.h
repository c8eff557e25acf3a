#pragma once
// The texts of the grid windows' cells, in grid coordinates: row 0 is the header row and
// column 0 the row-header column. The models of the grid views call these and add only
// colours and alignment.
#include <string>
#include <vector>

namespace frusta {
class CPbtDoc;
class dbTable;
class Sheet;
} // namespace frusta

namespace frusta::cells {

// Sample results: information columns, result columns 1 to 11 of the results block.
int resultsColumnCount(const CPbtDoc& doc);
int resultsRowCount(const CPbtDoc& doc);
std::string results(const CPbtDoc& doc, const std::vector<std::string>& classNames, int r, int c);

// Site uncertainty: site code then the 13 matrix columns.
int uncertaintyColumnCount(const CPbtDoc& doc);
int uncertaintyRowCount(const CPbtDoc& doc);
std::string uncertainty(const CPbtDoc& doc, const std::vector<std::string>& classNames, int r,
                        int c);

// Input data: information rows then one row per taxon; code, name, one column per sample.
int dataColumnCount(const CPbtDoc& doc);
int dataRowCount(const CPbtDoc& doc);
std::string data(const CPbtDoc& doc, int r, int c);
// True for the taxon rows of the data grid whose taxon has no score (after an analysis).
bool dataRowUnscored(const CPbtDoc& doc, int r);

// Spreadsheet column name of grid column c (1 A, 26 Z, 27 AA, 702 ZZ, 703 AAA).
std::string columnName(int c);

// Master taxon list: one row per record, one column per field.
std::string taxonList(const dbTable& table, int r, int c);

// The date text of a spreadsheet day number: "%d-%b-%Y" with English month names,
// 40179 -> "01-Jan-2010".
std::string serialDateText(long dayNumber);

// The worksheet preview: grid cell (r, c), 1-based, shows the worksheet cell below it;
// nothing for empty, blank and error cells; a number in row 3 from column 3 that is
// strictly between 20000 and 60000 as a date.
std::string preview(const Sheet& sheet, int r, int c);

} // namespace frusta::cells
