#pragma once
// Results tables as CSV (RFC 4180): a header row, then one line per row; fields that hold a
// comma, a double quote, CR or LF are quoted, with quotes doubled; lines end with CR LF.
// Numbers are written at full precision (the shortest text that reads back as the same
// double), empty cells as empty fields, texts unchanged (UTF-8).
#include <iosfwd>
#include <string>

namespace frusta {

struct ResultsTable;
struct TableCell;

// One field's text, quoted when it needs to be.
std::string csvField(const std::string& text);
// The text of a cell: its number at full precision, its text, or nothing.
std::string cellText(const TableCell& cell);

void writeCsv(const ResultsTable& table, std::ostream& out);

} // namespace frusta
