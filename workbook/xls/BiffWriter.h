#pragma once
// Writer of BIFF8 workbook streams: the globals (fonts, cell formats, worksheets, shared
// strings) followed by one substream per worksheet.
#include <cstdint>
#include <string>
#include <vector>

namespace frusta {
class Book;
}

namespace frusta::xls {

// The workbook stream of `book`; false with a reason when the book does not fit the format
// (no sheet, an unusable sheet name, too many rows or columns, a text too long).
bool buildWorkbookStream(const Book& book, std::vector<uint8_t>& out, std::string& error);

// The RK form of `value` when it has one that reads back exactly.
bool encodeRk(double value, uint32_t& rk);

} // namespace frusta::xls
