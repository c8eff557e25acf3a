#include "output/CsvWriter.h"

#include "output/ResultsTables.h"

#include <charconv>
#include <ostream>

namespace frusta {

namespace {

template <typename Row, typename TextOf>
void writeLine(const Row& fields, std::ostream& out, TextOf textOf) {
    bool first = true;
    for (const auto& field : fields) {
        if (!first)
            out << ',';
        first = false;
        out << csvField(textOf(field));
    }
    out << "\r\n";
}

} // namespace

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    quoted += '"';
    return quoted;
}

std::string cellText(const TableCell& cell) {
    switch (cell.kind) {
    case TableCell::Kind::Number: {
        char digits[32];
        const auto r = std::to_chars(digits, digits + sizeof digits, cell.number);
        return std::string(digits, r.ptr);
    }
    case TableCell::Kind::Text:
        return cell.text;
    case TableCell::Kind::Empty:
        break;
    }
    return {};
}

void writeCsv(const ResultsTable& table, std::ostream& out) {
    writeLine(table.header, out, [](const std::string& s) { return s; });
    for (const TableRow& row : table.rows)
        writeLine(row, out, [](const TableCell& c) { return cellText(c); });
}

} // namespace frusta
