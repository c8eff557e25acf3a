#pragma once
// How an analysis was made, as label and value pairs: the program, the reference database
// and its About text, the translation table, the input workbook and the part of it read,
// the metric, the defaults for missing chemistry, the class boundaries and the time.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace frusta {

class CPbtDoc;

using RunDetails = std::vector<std::pair<std::string, std::string>>;

// The details of the document's analysis made at `analysedAt` (seconds since 1970, UTC).
RunDetails runDetailsOf(const CPbtDoc& doc, std::int64_t analysedAt);

// The label of the row that holds the time of the analysis.
extern const char* const kRunTimeLabel;

} // namespace frusta
