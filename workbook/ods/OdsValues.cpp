#include "workbook/ods/OdsValues.h"

#include <charconv>

namespace frusta::ods {

namespace {

// A decimal number at `pos` (digits with an optional fraction); advances `pos`.
bool readDecimal(std::string_view s, std::size_t& pos, double& value) {
    const std::size_t start = pos;
    while (pos < s.size() && ((s[pos] >= '0' && s[pos] <= '9') || s[pos] == '.'))
        ++pos;
    if (pos == start)
        return false;
    const auto [end, ec] = std::from_chars(s.data() + start, s.data() + pos, value);
    return ec == std::errc() && end == s.data() + pos;
}

} // namespace

std::optional<double> parseDuration(std::string_view text) {
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++pos;
    if (pos >= text.size() || text[pos++] != 'P')
        return std::nullopt;
    double days = 0.0;
    bool inTime = false;
    bool any = false;
    while (pos < text.size()) {
        if (text[pos] == 'T') {
            if (inTime)
                return std::nullopt;
            inTime = true;
            ++pos;
            continue;
        }
        double value = 0.0;
        if (!readDecimal(text, pos, value) || pos >= text.size())
            return std::nullopt;
        const char unit = text[pos++];
        if (!inTime && unit == 'D')
            days += value;
        else if (inTime && unit == 'H')
            days += value / 24.0;
        else if (inTime && unit == 'M')
            days += value / 1440.0;
        else if (inTime && unit == 'S')
            days += value / 86400.0;
        else
            return std::nullopt; // years and months have no fixed length
        any = true;
    }
    if (!any)
        return std::nullopt;
    return negative ? -days : days;
}

std::optional<std::int64_t> parseCount(std::string_view text, std::int64_t cap) {
    std::int64_t value = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        value = value * 10 + (ch - '0');
        if (value > cap)
            value = cap; // stays capped, and can no longer overflow
    }
    if (text.empty() || value == 0)
        return std::nullopt;
    return value;
}

bool isErrorText(std::string_view text) {
    static constexpr std::string_view kTexts[] = {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
                                                  "#NAME?", "#NUM!",   "#N/A"};
    for (const auto t : kTexts)
        if (text == t)
            return true;
    // LibreOffice shows errors without an Excel name as "Err:" and a three-digit code.
    if (text.size() == 7 && text.substr(0, 4) == "Err:") {
        for (const char ch : text.substr(4))
            if (ch < '0' || ch > '9')
                return false;
        return true;
    }
    return false;
}

} // namespace frusta::ods
