#pragma once
// The encodings of text files: UTF-8, and Windows-1252 for files that are not UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace frusta::csv {

// The length of the longest prefix of `text` that is valid UTF-8 (no overlong forms, no
// surrogates, nothing past U+10FFFF).
std::size_t validUtf8Length(std::string_view text);
// Appends Windows-1252 text as UTF-8. The five bytes that Windows-1252 leaves undefined
// stand for the C1 control characters of the same value, as Windows maps them.
void appendWindows1252(std::string& out, std::string_view text);

} // namespace frusta::csv
