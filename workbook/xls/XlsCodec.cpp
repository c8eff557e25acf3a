#include "workbook/xls/XlsCodec.h"

namespace frusta::xls {

bool load(const std::string&, Book&, std::string& error) {
    error = "Excel 97-2003 workbooks cannot be read yet";
    return false;
}

bool save(const std::string&, const Book&, std::string& error) {
    error = "Excel 97-2003 workbooks cannot be written yet";
    return false;
}

} // namespace frusta::xls
