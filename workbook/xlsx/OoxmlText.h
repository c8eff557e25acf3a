#pragma once
// Cell texts as SpreadsheetML stores them: characters that XML cannot carry are written as
// _xHHHH_ (a UTF-16 code unit in hex), and a literal "_x" that would read as such an
// escape is itself escaped as _x005F_.
#include <string>
#include <string_view>

namespace frusta::xlsx {

// Replaces every _xHHHH_ escape by its character in UTF-8.
std::string unescapeText(std::string_view text);
// Escapes "_x" where it would otherwise read as an escape; control characters are left
// to the writer library, which escapes them itself.
std::string escapeLiteralEscapes(std::string_view text);
// Replaces invalid UTF-8 sequences by U+FFFD, so that the text can be written as XML.
std::string toValidUtf8(std::string_view text);
// Number of characters in valid UTF-8 text.
std::size_t utf8Length(std::string_view text);

} // namespace frusta::xlsx
