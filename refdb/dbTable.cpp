#include "refdb/dbTable.h"

#include <strings.h>

namespace frusta {

ColumnType columnTypeForAdo(int adoType) {
    switch (adoType) {
    case 2: // adSmallInt
        return ColumnType::Int;
    case 3: // adInteger
        return ColumnType::Long;
    case 4: // adSingle
    case 5: // adDouble
        return ColumnType::Double;
    case 8:   // adBSTR
    case 130: // adWChar
    case 202: // adVarWChar
        return ColumnType::Text;
    case 11: // adBoolean
        return ColumnType::Bool;
    default:
        return ColumnType::None;
    }
}

int dbTable::FindColumn(const std::string& name) const {
    for (int c = 0; c < colCount; ++c)
        if (strcasecmp(columnNames[c].c_str(), name.c_str()) == 0)
            return c;
    return -1;
}

bool dbTable::GetInt(int row, int col, int32_t& out) const {
    if (columnTypes[col] != ColumnType::Int)
        return false;
    out = std::get<std::vector<int32_t>>(columnData[col])[row];
    return true;
}

bool dbTable::GetLong(int row, int col, int32_t& out) const {
    if (columnTypes[col] != ColumnType::Long)
        return false;
    out = std::get<std::vector<int32_t>>(columnData[col])[row];
    return true;
}

bool dbTable::GetDouble(int row, int col, double& out) const {
    if (columnTypes[col] != ColumnType::Double)
        return false;
    out = std::get<std::vector<double>>(columnData[col])[row];
    return true;
}

bool dbTable::GetText(int row, int col, std::string& out) const {
    if (columnTypes[col] != ColumnType::Text)
        return false;
    out = std::get<std::vector<std::string>>(columnData[col])[row];
    return true;
}

bool dbTable::GetBool(int row, int col, bool& out) const {
    if (columnTypes[col] != ColumnType::Bool)
        return false;
    out = std::get<std::vector<uint8_t>>(columnData[col])[row] != 0;
    return true;
}

void dbTable::addColumn(const std::string& name, ColumnType type) {
    columnNames.push_back(name);
    columnTypes.push_back(type);
    const auto n = static_cast<std::size_t>(rowCount);
    switch (type) {
    case ColumnType::Int:
    case ColumnType::Long:
        columnData.emplace_back(std::vector<int32_t>(n, 0));
        break;
    case ColumnType::Double:
        columnData.emplace_back(std::vector<double>(n, 0.0));
        break;
    case ColumnType::Text:
        columnData.emplace_back(std::vector<std::string>(n));
        break;
    case ColumnType::Bool:
        columnData.emplace_back(std::vector<uint8_t>(n, 0));
        break;
    case ColumnType::None:
        columnData.emplace_back(std::monostate{});
        break;
    }
    colCount = static_cast<int32_t>(columnNames.size());
}

void dbTable::setRowCount(int32_t rows) {
    rowCount = rows;
    const auto n = static_cast<std::size_t>(rows);
    for (auto& c : columnData)
        std::visit(
            [n](auto& v) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(v)>, std::monostate>)
                    v.resize(n);
            },
            c);
}

void dbTable::setInt(int row, int col, int32_t v) {
    std::get<std::vector<int32_t>>(columnData[col])[row] = v;
}
void dbTable::setLong(int row, int col, int32_t v) {
    std::get<std::vector<int32_t>>(columnData[col])[row] = v;
}
void dbTable::setDouble(int row, int col, double v) {
    std::get<std::vector<double>>(columnData[col])[row] = v;
}
void dbTable::setText(int row, int col, std::string v) {
    std::get<std::vector<std::string>>(columnData[col])[row] = std::move(v);
}
void dbTable::setBool(int row, int col, bool v) {
    std::get<std::vector<uint8_t>>(columnData[col])[row] = v ? 1 : 0;
}

const std::vector<std::string>* dbTable::textColumn(int col) const {
    return std::get_if<std::vector<std::string>>(&columnData[col]);
}

const std::vector<double>* dbTable::doubleColumn(int col) const {
    return std::get_if<std::vector<double>>(&columnData[col]);
}

} // namespace frusta
