#pragma once
// The options of `assess`: one workbook with -o, or several with --out-dir, and the format
// of the results.
#include "cli/CliPort.h"
#include "cli/Commands.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace frusta::cli {

enum class ResultsFormat { Xlsx, Xls, Csv, Json };

struct AssessOptions {
    std::vector<std::string> workbooks;
    std::optional<std::string> database;
    std::optional<std::string> translations;
    double minScoredShare = 70.0; // percent
    std::optional<std::string> outDir;
    std::optional<ResultsFormat> format;
    CliChoices choices; // choices.output is the -o path; "-" is standard output
    bool help = false;

    bool batch() const { return outDir.has_value(); }
    bool toStdout() const { return choices.output && *choices.output == "-"; }
};

extern const char* const kAssessUsage;

// Returns 0 when the options are good, else the exit status (2) after a message on `err`.
int parseAssessOptions(const Args& args, AssessOptions& o, std::ostream& err);

// The format asked for; else by the -o name (".xls" exactly: xls, ".csv": csv, ".json":
// json, any other name: xlsx; "-": csv); else xlsx.
ResultsFormat resultsFormat(const AssessOptions& o);

} // namespace frusta::cli
