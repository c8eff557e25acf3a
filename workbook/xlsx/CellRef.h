#pragma once
// A1-style cell references, bounded by the limits of the format (1048576 rows, 16384
// columns).
#include <string>
#include <string_view>

namespace frusta::xlsx {

enum class RefStatus { Ok, Malformed, OutOfRange };

// "B12" gives row 11 and column 1 (0-based).
RefStatus parseCellRef(std::string_view ref, int& row, int& col);
// A 1-based row number as written in a row element's r attribute; gives the 0-based row.
RefStatus parseRowNumber(std::string_view text, int& row);
// "A", "B", ..., "XFD" for columns 0 to 16383.
std::string columnName(int col);
// "B12" for row 11, column 1.
std::string cellName(int row, int col);

} // namespace frusta::xlsx
