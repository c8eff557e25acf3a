#pragma once
// What the worksheet selection dialog proposes, shared by every front end.
#include <string>

namespace frusta {

class Sheet;

constexpr int kDefaultFirstRow = 1;
constexpr int kDefaultFirstCol = 3; // column C
constexpr int kProposalRows = 20;

// The first data row proposed for a worksheet: the 1-based number of the first of its first
// 20 rows whose column B holds a non-empty text; `current` when there is none.
int proposeFirstRow(const Sheet& sheet, int current);

// Spreadsheet column letters of a 1-based column number: 1 A, 26 Z, 27 AA, 702 ZZ, 703 AAA.
// Returns 0 from parseColumn when the text is neither letters nor a positive number.
std::string columnLetters(int col);
int parseColumn(const std::string& text);

} // namespace frusta
