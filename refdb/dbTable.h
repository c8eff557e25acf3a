#pragma once
// dbTable: a read-only, column-wise copy of a database result set. One typed array per
// field; a Null is held as 0, 0.0, the empty text or false.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace frusta {

enum class ColumnType : int32_t { None = 0, Int = 1, Long = 2, Double = 3, Text = 4, Bool = 5 };

// The column type in which a field of the given ADO data type code is stored.
ColumnType columnTypeForAdo(int adoType);

class dbTable {
public:
    dbTable() = default;
    virtual ~dbTable() = default;

    int32_t rowCount = 0;
    int32_t colCount = 0;
    std::vector<std::string> columnNames;
    std::vector<ColumnType> columnTypes;

    // First column whose name equals `name` without regard to case; -1 when none.
    int FindColumn(const std::string& name) const;

    bool GetInt(int row, int col, int32_t& out) const;
    bool GetLong(int row, int col, int32_t& out) const;
    bool GetDouble(int row, int col, double& out) const;
    bool GetText(int row, int col, std::string& out) const;
    bool GetBool(int row, int col, bool& out) const;

    // Building (used by the loaders and by tests): add the columns, then set the row count,
    // then store values.
    void addColumn(const std::string& name, ColumnType type);
    void setRowCount(int32_t rows);
    void setInt(int row, int col, int32_t v);
    void setLong(int row, int col, int32_t v);
    void setDouble(int row, int col, double v);
    void setText(int row, int col, std::string v);
    void setBool(int row, int col, bool v);

    // Column arrays, for readers that scan a whole column.
    const std::vector<std::string>* textColumn(int col) const;
    const std::vector<double>* doubleColumn(int col) const;

private:
    using Column = std::variant<std::monostate, std::vector<int32_t>, std::vector<double>,
                                std::vector<std::string>, std::vector<uint8_t>>;
    std::vector<Column> columnData;
};

} // namespace frusta
