#pragma once
// Reference tables as tab-separated text: the first line names the columns as Name:TYPE
// (TEXT, MEMO, INT = Access Integer, LONG = Access Long Integer, SINGLE, DOUBLE, BOOL, DATE),
// every further line is one row with one cell per column. An empty cell is a Null, except
// in TEXT columns, where it is the empty text; BOOL cells are 0 or 1 and never empty; DATE
// cells are YYYY-MM-DD, optionally followed by a space and HH:MM:SS. Cells hold no tabs
// or line breaks.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace frusta {

enum class TsvType { Text, Memo, Int, Long, Single, Double, Bool, Date };

struct TsvColumn {
    std::string name;
    TsvType type = TsvType::Text;
};

struct TsvTable {
    std::string name; // the file's stem
    std::vector<TsvColumn> columns;
    std::vector<std::vector<std::string>> rows;
};

class TsvError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads and checks a table file; throws TsvError naming the file and line.
TsvTable readTsvTable(const std::filesystem::path& file);

// Parses the text of a table file; `origin` names it in error messages.
TsvTable parseTsvTable(const std::string& text, const std::string& name, const std::string& origin);

} // namespace frusta
