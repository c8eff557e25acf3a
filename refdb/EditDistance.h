#pragma once
// The number of typing slips between two texts: insertions, deletions and substitutions of
// one byte, and transpositions of two neighbouring bytes, each counting as one (the
// restricted Damerau-Levenshtein distance).
#include <string_view>

namespace frusta {

// The distance when it is at most `bound`; bound + 1 when it is greater. Work grows with
// the texts' lengths times the bound, not with the product of the lengths.
int boundedEditDistance(std::string_view a, std::string_view b, int bound);

} // namespace frusta
