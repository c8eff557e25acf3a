#include "workbook/xlsx/CellRef.h"

#include "workbook/Book.h"

namespace frusta::xlsx {

RefStatus parseRowNumber(std::string_view text, int& row) {
    if (text.empty())
        return RefStatus::Malformed;
    long value = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9')
            return RefStatus::Malformed;
        value = value * 10 + (ch - '0');
        if (value > kXlsxMaxRows)
            return RefStatus::OutOfRange;
    }
    if (value < 1)
        return RefStatus::Malformed;
    row = static_cast<int>(value - 1);
    return RefStatus::Ok;
}

RefStatus parseCellRef(std::string_view ref, int& row, int& col) {
    std::size_t i = 0;
    long column = 0;
    for (; i < ref.size(); ++i) {
        char ch = ref[i];
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        if (ch < 'A' || ch > 'Z')
            break;
        if (i >= 3)
            return RefStatus::OutOfRange;
        column = column * 26 + (ch - 'A' + 1);
    }
    if (i == 0 || i == ref.size())
        return RefStatus::Malformed;
    const RefStatus rowStatus = parseRowNumber(ref.substr(i), row);
    if (rowStatus != RefStatus::Ok)
        return rowStatus;
    if (column > kXlsxMaxCols)
        return RefStatus::OutOfRange;
    col = static_cast<int>(column - 1);
    return RefStatus::Ok;
}

std::string columnName(int col) {
    std::string name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

std::string cellName(int row, int col) {
    return columnName(col) + std::to_string(row + 1);
}

} // namespace frusta::xlsx
