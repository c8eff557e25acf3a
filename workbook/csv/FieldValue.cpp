#include "workbook/csv/FieldValue.h"

#include "workbook/xlsx/CellValues.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace frusta::csv {

namespace {

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Counts the digits at `pos` and moves past them.
std::size_t skipDigits(std::string_view s, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < s.size() && isDigit(s[pos]))
        ++pos;
    return pos - start;
}

} // namespace

std::optional<double> parseNumber(std::string_view field, bool decimalComma) {
    // Whole numbers of up to 15 digits, the bulk of count tables, are summed here exactly.
    if (!field.empty() && field.size() <= 15 && (field[0] != '0' || field.size() == 1)) {
        std::uint64_t whole = 0;
        std::size_t i = 0;
        for (; i < field.size() && isDigit(field[i]); ++i)
            whole = whole * 10 + static_cast<std::uint64_t>(field[i] - '0');
        if (i == field.size())
            return static_cast<double>(whole);
    }
    std::string_view s = trimBlanks(field);
    std::size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        ++pos;
    const std::size_t intStart = pos;
    const std::size_t intDigits = skipDigits(s, pos);
    if (intDigits > 1 && s[intStart] == '0')
        return std::nullopt;
    std::size_t separator = std::string_view::npos;
    std::size_t fracDigits = 0;
    if (pos < s.size() && (s[pos] == '.' || (decimalComma && s[pos] == ','))) {
        separator = pos++;
        fracDigits = skipDigits(s, pos);
    }
    if (intDigits + fracDigits == 0)
        return std::nullopt;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
            ++pos;
        if (skipDigits(s, pos) == 0)
            return std::nullopt;
    }
    if (pos != s.size())
        return std::nullopt;
    // from_chars reads the C locale's form: a point, no leading plus.
    char buffer[128];
    if (s.size() >= sizeof buffer)
        return std::nullopt;
    std::size_t n = 0;
    for (std::size_t i = s[0] == '+' ? 1 : 0; i < s.size(); ++i)
        buffer[n++] = i == separator ? '.' : s[i];
    double value = 0.0;
    const auto [end, ec] = std::from_chars(buffer, buffer + n, value);
    if (ec != std::errc() || end != buffer + n || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> parseDate(std::string_view field) {
    const std::string_view s = trimBlanks(field);
    // Four digits of the year and a dash: a time alone is no date.
    if (s.size() < 10 || s[4] != '-' || !isDigit(s[0]))
        return std::nullopt;
    return xlsx::parseIsoDate(s);
}

bool isAmbiguousDate(std::string_view text) {
    const std::string_view s = trimBlanks(text);
    std::size_t pos = 0;
    const std::size_t first = skipDigits(s, pos);
    if (first < 1 || first > 2 || pos >= s.size())
        return false;
    const char separator = s[pos++];
    if (separator != '/' && separator != '.' && separator != '-')
        return false;
    const std::size_t second = skipDigits(s, pos);
    if (second < 1 || second > 2 || pos >= s.size() || s[pos++] != separator)
        return false;
    const std::size_t year = skipDigits(s, pos);
    // A time may follow the date.
    return (year == 2 || year == 4) && (pos == s.size() || s[pos] == ' ' || s[pos] == 'T');
}

} // namespace frusta::csv
