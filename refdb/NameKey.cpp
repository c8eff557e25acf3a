#include "refdb/NameKey.h"

#include <array>
#include <vector>

namespace frusta {

namespace {

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
char lower(char c) {
    return isUpper(c) ? static_cast<char>(c + 32) : c;
}
// Letters, digits and the bytes of non-ASCII characters are kept; ASCII punctuation goes.
bool kept(char c) {
    return isUpper(c) || isLower(c) || isDigit(c) || static_cast<unsigned char>(c) >= 0x80;
}

std::string keptLower(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (kept(c))
            out += lower(c);
    return out;
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !isSpace(text[i]))
            ++i;
        if (i > start)
            out.push_back(text.substr(start, i - start));
    }
    return out;
}

bool isRankMarker(const std::string& w) {
    static const std::array<const char*, 8> markers = {"var",   "f",   "fo",     "forma",
                                                       "subsp", "ssp", "subvar", "morph"};
    for (const char* m : markers)
        if (w == m)
            return true;
    return false;
}

bool isAuthorityJoin(const std::string& w) {
    return w == "in" || w == "ex" || w == "et";
}

bool hasLowerCase(std::string_view text) {
    for (char c : text)
        if (isLower(c))
            return true;
    return false;
}

// Whether word `w` (as written) begins the authority, `kept` words having been taken.
bool beginsAuthority(std::string_view w, const std::string& bare, std::size_t kept,
                     bool mixedCase) {
    if (kept < 2)
        return false;
    if (w.front() == '(' || w == "&" || isAuthorityJoin(bare))
        return true;
    return mixedCase && isUpper(w.front());
}

} // namespace

std::string codeKey(std::string_view code) {
    return keptLower(code);
}

std::string nameKey(std::string_view name) {
    const bool mixedCase = hasLowerCase(name);
    std::string key;
    std::size_t taken = 0;
    for (std::string_view w : words(name)) {
        const std::string bare = keptLower(w);
        if (beginsAuthority(w, bare, taken, mixedCase))
            break;
        if (bare.empty() || (taken > 0 && isRankMarker(bare)))
            continue;
        if (taken++ > 0)
            key += ' ';
        key += bare;
    }
    return key;
}

} // namespace frusta
