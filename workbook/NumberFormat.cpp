#include "workbook/NumberFormat.h"

#include <cctype>

namespace frusta {

bool isDateFormat(int builtinId, const std::string& code) {
    if ((builtinId >= 14 && builtinId <= 22) || (builtinId >= 45 && builtinId <= 47))
        return true;
    if (code.empty())
        return false;
    bool inQuote = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char ch = code[i];
        if (inQuote) {
            if (ch == '"')
                inQuote = false;
            continue;
        }
        switch (ch) {
        case '"':
            inQuote = true;
            break;
        case '\\':
        case '_':
        case '*':
            ++i; // escaped or padding character
            break;
        case '[': {
            // [h], [mm], [ss] are elapsed times; colours and conditions are skipped.
            const std::size_t close = code.find(']', i);
            if (close == std::string::npos)
                return false;
            const std::string inner = code.substr(i + 1, close - i - 1);
            if (!inner.empty() && (inner[0] == 'h' || inner[0] == 'H' || inner[0] == 'm' ||
                                   inner[0] == 'M' || inner[0] == 's' || inner[0] == 'S'))
                return true;
            i = close;
            break;
        }
        case ';':
            return false; // only the first section decides
        default: {
            const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h' || lower == 's')
                return true;
        }
        }
    }
    return false;
}

} // namespace frusta
