#include "workbook/xlsx/CellValues.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace frusta::xlsx {

namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// Reads exactly `digits` decimal digits at `pos`.
bool readDigits(std::string_view s, std::size_t& pos, int digits, int& value) {
    if (pos + digits > s.size())
        return false;
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const char ch = s[pos + i];
        if (ch < '0' || ch > '9')
            return false;
        value = value * 10 + (ch - '0');
    }
    pos += digits;
    return true;
}

std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int daysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

// "HH:MM[:SS[.fff]]" at `pos` as a fraction of a day.
std::optional<double> parseTime(std::string_view s, std::size_t& pos) {
    int h = 0, mi = 0, sec = 0;
    if (!readDigits(s, pos, 2, h) || pos >= s.size() || s[pos++] != ':' ||
        !readDigits(s, pos, 2, mi))
        return std::nullopt;
    double fraction = 0.0;
    if (pos < s.size() && s[pos] == ':') {
        ++pos;
        if (!readDigits(s, pos, 2, sec))
            return std::nullopt;
        if (pos < s.size() && s[pos] == '.') {
            const std::size_t start = pos;
            ++pos;
            while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9')
                ++pos;
            double f = 0.0;
            std::from_chars(s.data() + start, s.data() + pos, f);
            fraction = f;
        }
    }
    if (h > 24 || mi > 59 || sec > 60)
        return std::nullopt;
    return ((h * 60.0 + mi) * 60.0 + sec + fraction) / 86400.0;
}

// A time-zone suffix ("Z", "+01:00") is accepted and ignored: the cell shows local time.
bool atEndOrZone(std::string_view s, std::size_t pos) {
    if (pos == s.size())
        return true;
    if (s[pos] == 'Z')
        return pos + 1 == s.size();
    if (s[pos] == '+' || s[pos] == '-') {
        int hh = 0, mm = 0;
        ++pos;
        return readDigits(s, pos, 2, hh) && pos < s.size() && s[pos++] == ':' &&
               readDigits(s, pos, 2, mm) && pos == s.size();
    }
    return false;
}

} // namespace

std::optional<double> parseNumber(std::string_view text) {
    // Whole numbers of up to 15 digits, the bulk of count sheets, are exact as they are
    // summed here; anything else goes through the general conversion.
    if (!text.empty() && text.size() <= 15) {
        std::uint64_t whole = 0;
        std::size_t i = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (i == text.size())
            return static_cast<double>(whole);
    }
    text = trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> parseBoolean(std::string_view text) {
    text = trim(text);
    if (text == "1" || text == "true")
        return true;
    if (text == "0" || text == "false")
        return false;
    return std::nullopt;
}

int errorCodeOf(std::string_view text) {
    text = trim(text);
    struct Entry {
        std::string_view text;
        int code;
    };
    static const Entry entries[] = {{"#NULL!", 0x00}, {"#DIV/0!", 0x07},      {"#VALUE!", 0x0F},
                                    {"#REF!", 0x17},  {"#NAME?", 0x1D},       {"#NUM!", 0x24},
                                    {"#N/A", 0x2A},   {"#GETTING_DATA", 0x2B}};
    for (const auto& e : entries)
        if (e.text == text)
            return e.code;
    return 0x2A;
}

std::optional<double> parseIsoDate(std::string_view text) {
    text = trim(text);
    std::size_t pos = 0;
    if (text.size() >= 3 && text[2] == ':') {
        const auto time = parseTime(text, pos);
        return time && atEndOrZone(text, pos) ? time : std::nullopt;
    }
    int y = 0, m = 0, d = 0;
    if (!readDigits(text, pos, 4, y) || pos >= text.size() || text[pos++] != '-' ||
        !readDigits(text, pos, 2, m) || pos >= text.size() || text[pos++] != '-' ||
        !readDigits(text, pos, 2, d))
        return std::nullopt;
    if (m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m))
        return std::nullopt;
    double serial = static_cast<double>(daysFromCivil(y, m, d) - daysFromCivil(1899, 12, 30));
    if (serial < 61) // Excel counts a 29 February 1900 that never was
        serial -= 1;
    if (pos < text.size() && (text[pos] == 'T' || text[pos] == ' ')) {
        ++pos;
        const auto time = parseTime(text, pos);
        if (!time)
            return std::nullopt;
        serial += *time;
    }
    return atEndOrZone(text, pos) ? std::optional<double>(serial) : std::nullopt;
}

} // namespace frusta::xlsx
