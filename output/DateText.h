#pragma once
// Sampling dates as the grids show them and the results workbook formats them. The sampling
// date row holds spreadsheet day numbers (1900 date system) as texts.
#include <string>

namespace frusta {

// The whole number at the start of a date text, as strtol reads it in base 10 (leading
// blanks and a sign allowed); 0 when there are no digits.
long dayNumberOf(const std::string& text);

// Whether a day number is shown as a date: strictly between 20000 and 60000.
bool isShownAsDate(double dayNumber);

// The date of a day number as "%d-%b-%Y" with English month names: 40179 -> "01-Jan-2010".
std::string dateText(long dayNumber);

} // namespace frusta
