#include "workbook/xlsx/XlsxCodec.h"

namespace frusta::xlsx {

bool load(const std::string&, Book&, std::string& error) {
    error = "Excel 2007 workbooks cannot be read yet";
    return false;
}

bool save(const std::string&, const Book&, std::string& error) {
    error = "Excel 2007 workbooks cannot be written yet";
    return false;
}

} // namespace frusta::xlsx
