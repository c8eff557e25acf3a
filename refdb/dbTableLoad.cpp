#include "refdb/dbTableLoad.h"

#include "refdb/CADORecordset.h"

namespace frusta {

namespace {

void readCell(CADORecordset& rs, dbTable& table, int row, int col) {
    switch (table.columnTypes[static_cast<std::size_t>(col)]) {
    case ColumnType::Int: {
        int v = 0;
        rs.GetFieldValue(col, v);
        table.setInt(row, col, v);
        break;
    }
    case ColumnType::Long: {
        long v = 0;
        rs.GetFieldValue(col, v);
        table.setLong(row, col, static_cast<int32_t>(v));
        break;
    }
    case ColumnType::Double: {
        double v = 0.0;
        rs.GetFieldValue(col, v);
        table.setDouble(row, col, v);
        break;
    }
    case ColumnType::Text: {
        std::string v;
        rs.GetFieldValue(col, v, std::string());
        table.setText(row, col, std::move(v));
        break;
    }
    case ColumnType::Bool: {
        bool v = false;
        rs.GetFieldValue(col, v);
        table.setBool(row, col, v);
        break;
    }
    case ColumnType::None:
        break;
    }
}

} // namespace

std::shared_ptr<dbTable> loadDbTable(CADORecordset& rs) {
    auto table = std::make_shared<dbTable>();
    const int32_t rows = rs.GetRecordCount();
    const int32_t cols = rs.GetFieldCount();
    if (rows <= 0 || cols <= 0)
        return table;
    table->setRowCount(rows);
    for (int c = 0; c < cols; ++c) {
        FieldInfo info{};
        rs.GetFieldInfo(c, info);
        table->addColumn(info.name, columnTypeForAdo(info.type));
    }
    rs.MoveFirst();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c)
            readCell(rs, *table, r, c);
        rs.MoveNext();
    }
    return table;
}

} // namespace frusta
