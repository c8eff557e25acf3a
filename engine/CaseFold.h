#pragma once
// Case-insensitive comparison of codes (taxon codes, lake types, site codes). Codes are
// compared byte by byte after folding the ASCII letters A-Z to a-z; other bytes (including
// those of non-ASCII characters) must be equal as they are. This is the same rule as the
// C locale's strcasecmp, which the master list's column look-up uses.
#include <cstdint>
#include <string>
#include <string_view>

namespace frusta::engine {

inline char foldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Whole-text equality without regard to ASCII case.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// The text with its ASCII letters folded to lower case.
std::string foldedCopy(std::string_view text);

// A hash of the folded text: texts equal by equalsIgnoreCase hash alike.
uint64_t foldedHash(std::string_view text);

} // namespace frusta::engine
