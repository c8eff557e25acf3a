#pragma once
// Results tables as one JSON document per workbook: the input file, worksheet and metric,
// the job summary lines, the samples (with their scored share), the sites, the unmatched
// taxa, the match of every taxon and the run details. Numbers keep their
// full precision; a missing value is null.
#include <iosfwd>
#include <string>

namespace frusta {

struct ResultsTables;

struct JsonSource {
    std::string input;     // the workbook as named by the user
    std::string worksheet; // the assessed worksheet
};

void writeJson(const ResultsTables& tables, const JsonSource& source, std::ostream& out);

// The object key of information row h: its label; "row N" (N = h + 1, the worksheet row)
// for an empty label; the label and " (row N)" for a label already used by an earlier row.
std::string infoKey(const std::string& label, int h, bool alreadyUsed);

} // namespace frusta
