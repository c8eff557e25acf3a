#pragma once
// Recognition of date number formats, used to carry dates of 1904-system workbooks into
// 1900-system day numbers.
#include <string>

namespace frusta {

// True for the built-in date and time formats (14-22, 45-47) and for format codes that
// show a day, month or year outside quotes, brackets and escapes.
bool isDateFormat(int builtinId, const std::string& code);

// Days between the 1900 and the 1904 date systems: a 1904-system day number plus this
// is the 1900-system day number of the same day.
constexpr double kDays1904To1900 = 1462.0;

} // namespace frusta
