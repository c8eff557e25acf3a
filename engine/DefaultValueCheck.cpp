#include "engine/DefaultValueCheck.h"

#include "engine/TextFormat.h"

#include <charconv>
#include <cmath>

namespace frusta {

DefaultValueCheck checkDefaultValue(const std::string& text, double lo, double hi) {
    std::size_t first = text.find_first_not_of(" \t");
    std::size_t last = text.find_last_not_of(" \t");
    DefaultValueCheck result;
    double v = 0.0;
    bool parsed = false;
    if (first != std::string::npos) {
        const char* b = text.data() + first;
        const char* e = text.data() + last + 1;
        if (*b == '+')
            ++b;
        auto [ptr, ec] = std::from_chars(b, e, v);
        parsed = ec == std::errc() && ptr == e && std::isfinite(v);
    }
    if (!parsed) {
        result.message = "Please enter a number.";
        return result;
    }
    if (v < lo || v > hi) {
        result.message =
            "Please enter a number between " + formatG(lo) + " and " + formatG(hi) + ".";
        return result;
    }
    result.value = v;
    return result;
}

} // namespace frusta
