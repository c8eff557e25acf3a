#pragma once
// The field delimiter of a CSV or TSV file, found from its first lines.
#include <string_view>

namespace frusta::csv {

// Of comma, semicolon and tab: the one that splits the first lines of `head` (quotes
// respected) into the same number of fields, the most fields where several do; else the one
// found most often; `fallback` when none is found at all. `head` may end inside a line.
char detectDelimiter(std::string_view head, char fallback);

} // namespace frusta::csv
