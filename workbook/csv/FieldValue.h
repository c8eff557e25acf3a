#pragma once
// What a CSV field holds: a number in the file's convention, an ISO 8601 date, or text.
#include <optional>
#include <string_view>

namespace frusta::csv {

// The field as a number when the whole of it reads as one: an optional sign, digits with
// one decimal separator (a comma when `decimalComma`, else a point; a semicolon-separated
// file accepts both) and an optional exponent, blanks around it allowed. Thousands
// separators are never guessed, and digits with a leading zero ("007") stay text: programs
// do not write numbers so, but codes are written so.
std::optional<double> parseNumber(std::string_view field, bool decimalComma);
// The field as a 1900-system day number when it is an ISO 8601 date ("2009-01-30"),
// optionally with a time ("2009-01-30 12:00", "2009-01-30T12:00:00").
std::optional<double> parseDate(std::string_view field);
// Whether the text is a date written as day, month and year in an order that the text
// does not tell ("30/01/2009", "01/30/2009", "30.01.09").
bool isAmbiguousDate(std::string_view text);

} // namespace frusta::csv
