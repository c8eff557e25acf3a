#include "engine/CaseFold.h"

namespace frusta::engine {

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

std::string foldedCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = foldAscii(c);
    return out;
}

uint64_t foldedHash(std::string_view text) {
    // FNV-1a over the folded bytes.
    uint64_t h = 1469598103934665603ULL;
    for (char c : text) {
        h ^= static_cast<unsigned char>(foldAscii(c));
        h *= 1099511628211ULL;
    }
    return h;
}

} // namespace frusta::engine
