#pragma once
// The values of OpenDocument cells as their attributes write them: durations, repeat
// counts and the texts of error results.
#include <cstdint>
#include <optional>
#include <string_view>

namespace frusta::ods {

// An ISO 8601 duration as OpenDocument writes a time ("PT12H30M00S", "-PT1H", "P1DT2H") as
// a fraction of a day.
std::optional<double> parseDuration(std::string_view text);
// A repeat or span count: a positive decimal number, capped at `cap` (larger counts only
// say "to the end of the sheet"); nullopt when it is not a positive number.
std::optional<std::int64_t> parseCount(std::string_view text, std::int64_t cap);
// Whether the text that a formula shows is an error value: Excel's error texts, and
// LibreOffice's own "Err:502" and the like.
bool isErrorText(std::string_view text);

} // namespace frusta::ods
