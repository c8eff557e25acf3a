#include "cli/AssessOptions.h"

#include "doc/WorksheetProposal.h"
#include "engine/TextFormat.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <ostream>

namespace frusta::cli {

const char* const kAssessUsage =
    "Usage: frusta2-cli assess WORKBOOK [options]\n"
    "       frusta2-cli assess WORKBOOK... --out-dir DIR [options]\n"
    "\n"
    "WORKBOOK: .xls, .xlsx, .ods, .fods, or .csv, .tsv, .txt (one worksheet named after the\n"
    "file; write dates as 2009-01-30, year-month-day).\n"
    "\n"
    "Options:\n"
    "  --sheet NAME          worksheet to assess (default: the first)\n"
    "  --metric M            TDI4 (default), TDI3, LTDI2, LTDI1 or DAM\n"
    "  --first-row N         first data row, 1-based (default: proposed from column B)\n"
    "  --first-col C         first data column, as letters or a number (default: C)\n"
    "  --database PATH       reference database (default: the one in the program folder)\n"
    "  --default-alk X       alkalinity replacing missing values, mg/l, 0 to 1000 (default 100)\n"
    "  --default-ca X        calcium replacing missing values, ueq/l, 0 to 100 (default 100)\n"
    "  --default-doc X       DOC replacing missing values, mg/l, 0 to 20 (default 1)\n"
    "  --translations FILE   taxon translation table (.csv, .xlsx, .xls, .ods): your code,\n"
    "                        list code, optional note; applied before matching\n"
    "  --min-scored-share X  flag samples whose scored share of the count is below X\n"
    "                        percent, 0 to 100 (default 70)\n"
    "  -o RESULTS            write the results of one workbook (.xls, or .xlsx for any other\n"
    "                        name; .csv and .json by --format or the name); - for standard\n"
    "                        output (csv: the samples, or json)\n"
    "  --out-dir DIR         write the results of every workbook into DIR, named after it\n"
    "                        (A.xlsx gives A-results.xlsx); one status line per workbook\n"
    "  --format F            xlsx, xls, csv or json (default: by the -o name, else xlsx);\n"
    "                        csv writes NAME-samples.csv, NAME-sites.csv, NAME-unmatched.csv,\n"
    "                        NAME-taxa.csv and NAME-run.csv\n";

namespace {

// Parses a number the way the defaults dialog accepts it; the message names the option.
bool parseDefault(const std::string& option, const std::string& text, double lo, double hi,
                  double& out, std::ostream& err) {
    double v = 0.0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last || !std::isfinite(v)) {
        err << option << ": Please enter a number.\n";
        return false;
    }
    if (v < lo || v > hi) {
        err << option << ": " << formatText("Please enter a number between %g and %g.", lo, hi)
            << '\n';
        return false;
    }
    out = v;
    return true;
}

bool parseMetric(const std::string& text, CliChoices& c) {
    struct M {
        const char* name;
        int family;
        bool latest;
    };
    static const M metrics[] = {{"TDI4", 0, true},
                                {"TDI3", 0, false},
                                {"LTDI2", 1, true},
                                {"LTDI1", 1, false},
                                {"DAM", 2, true}};
    for (const M& m : metrics)
        if (text == m.name) {
            c.family = m.family;
            c.latest = m.latest;
            return true;
        }
    return false;
}

bool parsePositive(const std::string& text, int& out) {
    int v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size() || v < 1)
        return false;
    out = v;
    return true;
}

std::optional<ResultsFormat> parseFormat(const std::string& text) {
    if (text == "xlsx")
        return ResultsFormat::Xlsx;
    if (text == "xls")
        return ResultsFormat::Xls;
    if (text == "csv")
        return ResultsFormat::Csv;
    if (text == "json")
        return ResultsFormat::Json;
    return std::nullopt;
}

// One option with its value; false with a message when the value is bad.
bool parseValueOption(const std::string& a, const std::string& v, AssessOptions& o,
                      std::ostream& err) {
    if (a == "--sheet") {
        o.choices.sheet = v;
    } else if (a == "--metric") {
        if (!parseMetric(v, o.choices)) {
            err << "--metric: choose TDI4, TDI3, LTDI2, LTDI1 or DAM\n";
            return false;
        }
    } else if (a == "--first-row") {
        int row = 0;
        if (!parsePositive(v, row)) {
            err << "--first-row: give a row number of 1 or more\n";
            return false;
        }
        o.choices.firstRow = row;
    } else if (a == "--first-col") {
        const int col = parseColumn(v);
        if (col < 1) {
            err << "--first-col: give a column as letters (C) or a number (3)\n";
            return false;
        }
        o.choices.firstCol = col;
    } else if (a == "--database") {
        o.database = v;
    } else if (a == "--translations") {
        o.translations = v;
    } else if (a == "--min-scored-share") {
        return parseDefault(a, v, 0.0, 100.0, o.minScoredShare, err);
    } else if (a == "--default-alk") {
        return parseDefault(a, v, 0.0, 1000.0, o.choices.defaults.alk, err);
    } else if (a == "--default-ca") {
        return parseDefault(a, v, 0.0, 100.0, o.choices.defaults.ca, err);
    } else if (a == "--default-doc") {
        return parseDefault(a, v, 0.0, 20.0, o.choices.defaults.doc, err);
    } else if (a == "-o" || a == "--output") {
        o.choices.output = v;
    } else if (a == "--out-dir") {
        o.outDir = v;
    } else if (a == "--format") {
        o.format = parseFormat(v);
        if (!o.format) {
            err << "--format: choose xlsx, xls, csv or json\n";
            return false;
        }
    } else {
        err << "frusta2-cli assess: unknown option " << a << "\n" << kAssessUsage;
        return false;
    }
    return true;
}

// The combinations of workbooks and destinations that make sense.
int checkCombination(const AssessOptions& o, std::ostream& err) {
    if (o.workbooks.empty()) {
        err << kAssessUsage;
        return 2;
    }
    if (o.outDir && o.choices.output) {
        err << "frusta2-cli assess: give either -o (one workbook) or --out-dir (any number)\n";
        return 2;
    }
    if (o.workbooks.size() > 1 && !o.outDir) {
        err << "frusta2-cli assess: several workbooks need --out-dir DIR for their results\n";
        return 2;
    }
    const ResultsFormat f = resultsFormat(o);
    if (o.toStdout() && f != ResultsFormat::Csv && f != ResultsFormat::Json) {
        err << "frusta2-cli assess: -o - writes csv or json, not a workbook\n";
        return 2;
    }
    return 0;
}

} // namespace

int parseAssessOptions(const Args& args, AssessOptions& o, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        o.help = true;
        return 0;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("-", 0) != 0 || a == "-") {
            o.workbooks.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) {
            err << "frusta2-cli assess: option " << a << " needs a value\n" << kAssessUsage;
            return 2;
        }
        if (!parseValueOption(a, args[++i], o, err))
            return 2;
    }
    return checkCombination(o, err);
}

ResultsFormat resultsFormat(const AssessOptions& o) {
    if (o.format)
        return *o.format;
    if (!o.choices.output)
        return ResultsFormat::Xlsx;
    if (*o.choices.output == "-")
        return ResultsFormat::Csv;
    const std::string ext = std::filesystem::path(*o.choices.output).extension().string();
    if (ext == ".xls")
        return ResultsFormat::Xls;
    if (ext == ".csv")
        return ResultsFormat::Csv;
    if (ext == ".json")
        return ResultsFormat::Json;
    return ResultsFormat::Xlsx;
}

} // namespace frusta::cli
