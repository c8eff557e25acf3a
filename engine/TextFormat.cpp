#include "engine/TextFormat.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace frusta {

std::string formatG(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    return std::string(buf, res.ptr);
}

std::string formatText(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string out;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        switch (*p) {
        case 'd':
            out += std::to_string(va_arg(args, int));
            break;
        case 'g':
            out += formatG(va_arg(args, double));
            break;
        case 's':
            out += va_arg(args, const char*);
            break;
        case '%':
            out += '%';
            break;
        case '\0':
            --p;
            break;
        default:
            out += '%';
            out += *p;
        }
    }
    va_end(args);
    return out;
}

} // namespace frusta
