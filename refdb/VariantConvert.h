#pragma once
// The conversions of a field value into the five output types a result set hands out:
// double, 32-bit integer, int, bool and text. Empty and Null give 0, 0.0, false or "".
#include "refdb/Variant.h"

#include <cstdint>
#include <string>

namespace frusta {

// Integers and reals give their value; a decimal its value; every other type 0.0.
double variantToDouble(const Variant& v);

// The integer types give their low 32 bits (Bool -1 or 0); every other type 0.
int32_t variantToLong(const Variant& v);

// Int gives its value, UI1 its byte, Bool -1 or 0; the other integer types give their low
// 16 bits, sign-extended; every other type 0.
int variantToInt(const Variant& v);

// Bool gives its value (true exactly when it is -1); Empty/Null false. Any other type
// returns false and leaves `out` unchanged.
bool variantToBool(const Variant& v, bool& out);

// Text as is; integers in decimal; R4 with 10 and R8/decimals with 20 significant digits;
// dates with `dateFormat` (strftime style, "%Y-%m-%d %H:%M:%S" when empty); Bool "T"/"F".
// Any other type gives "" and returns false.
bool variantToText(const Variant& v, const std::string& dateFormat, std::string& out);

// The value of a 96-bit scaled decimal.
double decimalToDouble(const Decimal& d);

// Formats with the given number of significant digits, the shortest form of "%g".
std::string formatSignificant(double value, int digits);

// Formats an automation date (days since 30 December 1899) with a strftime format; empty
// when the date lies outside the years 100 to 9999.
std::string formatOleDate(double oleDate, const std::string& format);

// Days since 30 December 1899 of a calendar date and time (the inverse of the above).
double oleDateFromParts(int year, int month, int day, int hour, int minute, int second);

} // namespace frusta
