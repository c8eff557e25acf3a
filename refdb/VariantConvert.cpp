#include "refdb/VariantConvert.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace frusta {

namespace {

bool isIntegerType(VarType vt) {
    switch (vt) {
    case VarType::I1:
    case VarType::I2:
    case VarType::I4:
    case VarType::I8:
    case VarType::UI1:
    case VarType::UI2:
    case VarType::UI4:
    case VarType::UI8:
    case VarType::Int:
    case VarType::UInt:
    case VarType::Bool:
        return true;
    default:
        return false;
    }
}

// Days from 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

const int64_t kOleEpochDays = daysFromCivil(1899, 12, 30);

} // namespace

double decimalToDouble(const Decimal& d) {
    const long double mantissa = static_cast<long double>(d.hi32) * 18446744073709551616.0L +
                                 static_cast<long double>(d.lo64);
    const long double value = mantissa / std::pow(10.0L, static_cast<long double>(d.scale));
    return static_cast<double>(d.sign == 0x80 ? -value : value);
}

double variantToDouble(const Variant& v) {
    if (isIntegerType(v.vt) && v.vt != VarType::Bool)
        return static_cast<double>(v.integer);
    switch (v.vt) {
    case VarType::R4:
    case VarType::R8:
        return v.real;
    case VarType::Decimal:
        return decimalToDouble(v.decimal);
    default:
        return 0.0;
    }
}

int32_t variantToLong(const Variant& v) {
    if (!isIntegerType(v.vt))
        return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v.integer)));
}

int variantToInt(const Variant& v) {
    switch (v.vt) {
    case VarType::Int:
        return static_cast<int32_t>(v.integer);
    case VarType::UI1:
        return static_cast<uint8_t>(v.integer);
    case VarType::Bool:
        return v.integer != 0 ? -1 : 0;
    default:
        if (!isIntegerType(v.vt))
            return 0;
        return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v.integer)));
    }
}

bool variantToBool(const Variant& v, bool& out) {
    if (v.isNull()) {
        out = false;
        return true;
    }
    if (v.vt != VarType::Bool)
        return false;
    out = v.integer == -1;
    return true;
}

std::string formatSignificant(double value, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, value);
    return buf;
}

double oleDateFromParts(int year, int month, int day, int hour, int minute, int second) {
    const auto days = static_cast<double>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        kOleEpochDays);
    const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before the epoch the day counts backwards while the time of day still counts forwards.
    return days >= 0 ? days + fraction : days - fraction;
}

std::string formatOleDate(double oleDate, const std::string& format) {
    // 1 January 100 and 31 December 9999, the range of automation dates.
    if (!std::isfinite(oleDate) || oleDate < -657434.0 || oleDate >= 2958466.0)
        return {};
    double whole = std::trunc(oleDate);
    int64_t seconds = std::llround(std::fabs(oleDate - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += oleDate < 0 ? -1 : 1;
    }
    int y = 0, m = 0, d = 0;
    civilFromDays(static_cast<int64_t>(whole) + kOleEpochDays, y, m, d);
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = static_cast<int>(seconds / 3600);
    tm.tm_min = static_cast<int>(seconds / 60 % 60);
    tm.tm_sec = static_cast<int>(seconds % 60);
    tm.tm_wday = static_cast<int>(((static_cast<int64_t>(whole) + kOleEpochDays) % 7 + 11) % 7);
    tm.tm_yday =
        static_cast<int>(daysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) -
                         daysFromCivil(y, 1, 1));
    char buf[256];
    const std::string& fmt = format.empty() ? std::string("%Y-%m-%d %H:%M:%S") : format;
    const std::size_t n = std::strftime(buf, sizeof buf, fmt.c_str(), &tm);
    return std::string(buf, n);
}

bool variantToText(const Variant& v, const std::string& dateFormat, std::string& out) {
    if (v.isNull()) {
        out.clear();
        return true;
    }
    if (isIntegerType(v.vt) && v.vt != VarType::Bool) {
        out = std::to_string(v.integer);
        return true;
    }
    switch (v.vt) {
    case VarType::Bstr:
        out = v.text;
        return true;
    case VarType::R4:
        out = formatSignificant(v.real, 10);
        return true;
    case VarType::R8:
        out = formatSignificant(v.real, 20);
        return true;
    case VarType::Decimal:
        out = formatSignificant(decimalToDouble(v.decimal), 20);
        return true;
    case VarType::Date:
        out = formatOleDate(v.real, dateFormat);
        return true;
    case VarType::Bool:
        out.assign(1, v.integer != 0 ? 'T' : 'F');
        return true;
    default:
        out.clear();
        return false;
    }
}

} // namespace frusta
