#pragma once
// Conversions of texts to numbers used by the assessment engine. All of them are
// independent of the process locale: the decimal mark is always a point.
#include "engine/TextFormat.h"

#include <string>
#include <string_view>

namespace frusta::engine {

using frusta::formatG; // "%g" in the C locale, whatever the process locale
// The longest leading decimal number of a text: leading blanks, an optional sign, digits
// with an optional decimal point, an optional exponent. 0.0 when the text does not start
// with a number. Hexadecimal, "inf" and "nan" forms are not numbers here. A value too large
// for a double reads as the largest finite double of its sign; one too small reads as 0.
double leadingNumber(std::string_view text);

// The leading whole number of a text: leading blanks, an optional sign and digits; 0 when
// there is none. Values beyond +/-1e15 are held at that bound.
long long leadingWholeNumber(std::string_view text);

} // namespace frusta::engine
