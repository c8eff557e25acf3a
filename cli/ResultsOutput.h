#pragma once
// Writes the results of an analysed document in the chosen format: a results workbook, the
// three CSV files, or the JSON document; to files or to standard output.
#include "app/Outcome.h"
#include "cli/ResultsTargets.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace frusta {
class CPbtDoc;
class UserPort;
struct JsonSource;
} // namespace frusta

namespace frusta::cli {

// Failed, after a message through `port`, when a file could not be written.
Outcome writeResults(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                     const ResultsTarget& target, const JsonSource& source, std::ostream& stdOut,
                     UserPort& port);

} // namespace frusta::cli
