#pragma once
// Where the results of each workbook go, and the check, before anything is written, that
// no results file would overwrite an input workbook or the results of another workbook.
#include "cli/AssessOptions.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace frusta::cli {

struct ResultsTarget {
    ResultsFormat format = ResultsFormat::Xlsx;
    bool toStdout = false;
    // The file (xlsx, xls, json), or the common beginning of the three csv files.
    std::filesystem::path path;

    // The files written: one, or for csv one per file of the CSV set (PATH-samples.csv ...).
    std::vector<std::filesystem::path> files() const;
};

// The target of every workbook, in order; no target (nullopt) when nothing is written.
std::vector<std::optional<ResultsTarget>> planTargets(const AssessOptions& o);

// False, after a message on `err`, when two workbooks would write the same file or a
// results file is one of the input workbooks.
bool checkTargets(const std::vector<std::string>& workbooks,
                  const std::vector<std::optional<ResultsTarget>>& targets, std::ostream& err);

} // namespace frusta::cli
