#include "refdb/ReferenceTsv.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace frusta {

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            return cells;
        start = tab + 1;
    }
}

bool parseType(const std::string& s, TsvType& out) {
    static const std::pair<const char*, TsvType> names[] = {
        {"TEXT", TsvType::Text}, {"MEMO", TsvType::Memo},     {"INT", TsvType::Int},
        {"LONG", TsvType::Long}, {"SINGLE", TsvType::Single}, {"DOUBLE", TsvType::Double},
        {"BOOL", TsvType::Bool}, {"DATE", TsvType::Date}};
    for (const auto& [name, type] : names)
        if (s == name) {
            out = type;
            return true;
        }
    return false;
}

bool parseInteger(const std::string& s, long long lo, long long hi) {
    long long v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && v >= lo && v <= hi;
}

bool parseReal(const std::string& s) {
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool parseDate(const std::string& s) {
    int y, mo, d, h, mi, sec, n = 0;
    if (s.size() == 10)
        return std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &n) == 3 && n == 10 &&
               mo >= 1 && mo <= 12 && d >= 1 && d <= 31;
    return s.size() == 19 &&
           std::sscanf(s.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &y, &mo, &d, &h, &mi, &sec, &n) ==
               6 &&
           n == 19 && mo >= 1 && mo <= 12 && d >= 1 && d <= 31 && h < 24 && mi < 60 && sec < 60;
}

bool validCell(const std::string& cell, TsvType type) {
    if (cell.empty())
        return type != TsvType::Bool;
    switch (type) {
    case TsvType::Text:
    case TsvType::Memo:
        return true;
    case TsvType::Int:
        return parseInteger(cell, -32768, 32767);
    case TsvType::Long:
        return parseInteger(cell, INT32_MIN, INT32_MAX);
    case TsvType::Single:
    case TsvType::Double:
        return parseReal(cell);
    case TsvType::Bool:
        return cell == "0" || cell == "1";
    case TsvType::Date:
        return parseDate(cell);
    }
    return false;
}

} // namespace

TsvTable parseTsvTable(const std::string& text, const std::string& name,
                       const std::string& origin) {
    TsvTable table;
    table.name = name;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    auto error = [&](const std::string& what) {
        return TsvError(origin + ":" + std::to_string(lineNo) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const auto cells = splitTabs(line);
        if (table.columns.empty()) {
            for (const auto& cell : cells) {
                const auto colon = cell.rfind(':');
                TsvColumn col;
                if (colon == std::string::npos || colon == 0 ||
                    !parseType(cell.substr(colon + 1), col.type))
                    throw error("column heading '" + cell + "' is not Name:TYPE");
                col.name = cell.substr(0, colon);
                table.columns.push_back(col);
            }
            continue;
        }
        if (cells.size() != table.columns.size())
            throw error(std::to_string(cells.size()) + " cells, expected " +
                        std::to_string(table.columns.size()));
        for (std::size_t c = 0; c < cells.size(); ++c)
            if (!validCell(cells[c], table.columns[c].type))
                throw error("'" + cells[c] + "' is not a valid value for column " +
                            table.columns[c].name);
        table.rows.push_back(cells);
    }
    if (table.columns.empty())
        throw TsvError(origin + ": no column headings");
    return table;
}

TsvTable readTsvTable(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw TsvError(file.string() + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return parseTsvTable(text.str(), file.stem().string(), file.string());
}

} // namespace frusta
