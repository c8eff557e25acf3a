#pragma once
// The values of SpreadsheetML cells as text: numbers, booleans, error texts and ISO 8601
// dates.
#include <optional>
#include <string_view>

namespace frusta::xlsx {

// A finite number written in decimal (surrounding blanks allowed); exact to the last bit,
// whatever the locale.
std::optional<double> parseNumber(std::string_view text);
// "1"/"0" or "true"/"false".
std::optional<bool> parseBoolean(std::string_view text);
// Excel's error code for an error text ("#DIV/0!" gives 0x07); codes newer than the binary
// format (#SPILL!, #CALC!, ...) give #N/A's.
int errorCodeOf(std::string_view text);
// An ISO 8601 date, date and time, or time ("2020-01-02", "2020-01-02T12:00:00",
// "12:00:00") as a day number of the 1900 date system.
std::optional<double> parseIsoDate(std::string_view text);

} // namespace frusta::xlsx
