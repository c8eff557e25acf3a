#include "engine/NumberText.h"

#include <cfloat>
#include <charconv>
#include <system_error>

namespace frusta::engine {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Index of the first character after the leading blanks.
std::size_t skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// Parsed shape of a leading decimal number: [begin, end) is the unsigned number with its
// exponent, ready for from_chars.
struct NumberSpan {
    bool negative = false;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t intBegin = 0, intEnd = 0;   // integer digits
    std::size_t fracBegin = 0, fracEnd = 0; // fraction digits
    long long exponent = 0;
};

bool scanNumber(std::string_view text, NumberSpan& n) {
    std::size_t i = skipBlanks(text);
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        n.negative = text[i] == '-';
        ++i;
    }
    n.begin = n.intBegin = i;
    i = n.intEnd = skipDigits(text, i);
    n.fracBegin = n.fracEnd = i;
    if (i < text.size() && text[i] == '.') {
        n.fracBegin = i + 1;
        i = n.fracEnd = skipDigits(text, i + 1);
    }
    if (n.intEnd == n.intBegin && n.fracEnd == n.fracBegin)
        return false;
    n.end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negExp = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negExp = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            long long e = 0;
            for (; j < text.size() && isDigit(text[j]); ++j)
                e = e < 100000000 ? e * 10 + (text[j] - '0') : e;
            n.exponent = negExp ? -e : e;
            n.end = j;
        }
    }
    return true;
}

// Decimal order of magnitude of a number whose digits lie out of the range of a double:
// positive for overflow, negative for underflow.
long long orderOfMagnitude(std::string_view text, const NumberSpan& n) {
    std::size_t i = n.intBegin;
    while (i < n.intEnd && text[i] == '0')
        ++i;
    if (i < n.intEnd)
        return n.exponent + static_cast<long long>(n.intEnd - i);
    std::size_t f = n.fracBegin;
    while (f < n.fracEnd && text[f] == '0')
        ++f;
    return n.exponent - static_cast<long long>(f - n.fracBegin);
}

} // namespace

double leadingNumber(std::string_view text) {
    NumberSpan n;
    if (!scanNumber(text, n))
        return 0.0;
    double value = 0.0;
    const char* first = text.data() + n.begin;
    const auto r = std::from_chars(first, text.data() + n.end, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range)
        value = orderOfMagnitude(text, n) > 0 ? DBL_MAX : 0.0;
    else if (r.ec != std::errc())
        value = 0.0;
    return n.negative ? -value : value;
}

long long leadingWholeNumber(std::string_view text) {
    constexpr long long kBound = 1000000000000000LL;
    std::size_t i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = value < kBound ? value * 10 + (text[i] - '0') : kBound;
    if (value > kBound)
        value = kBound;
    return negative ? -value : value;
}

} // namespace frusta::engine
