#pragma once
// The value of one hexadecimal digit, as used by escapes in part names and cell texts.

namespace frusta::xlsx {

// 0 to 15, or -1 when `ch` is not a hexadecimal digit.
inline int hexDigit(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

} // namespace frusta::xlsx
