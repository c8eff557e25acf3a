#pragma once
// Number-to-text conversions of the system, independent of the process locale.
#include <string>

namespace frusta {

// As printf's "%g": at most six significant digits, shortest of fixed and exponent form.
std::string formatG(double value);

// printf-style formatting in the C locale's conventions (only %d, %g, %s and %% are used
// by the system's texts).
std::string formatText(const char* format, ...);

} // namespace frusta
