// `assess`: open a sample workbook, analyse it, compute the site uncertainty, print the job
// summary and write the results workbook.
#include "app/CPbtApp.h"
#include "app/CommandGuard.h"
#include "cli/CliPort.h"
#include "cli/Commands.h"
#include "doc/CPbtDoc.h"
#include "doc/TextFormat.h"
#include "doc/WorksheetProposal.h"

#include <charconv>
#include <cmath>
#include <ostream>

namespace frusta::cli {

namespace {

const char* const kAssessUsage =
    "Usage: frusta2-cli assess WORKBOOK [options]\n"
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
    "  -o RESULTS            write the results workbook (.xls, or .xlsx for any other name)\n";

struct AssessOptions {
    std::string workbook;
    std::optional<std::string> database;
    CliChoices choices;
};

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

// Returns 0 when the options are good, else the exit status (2).
int parseOptions(const Args& args, AssessOptions& o, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        auto value = [&]() -> const std::string& { return args[++i]; };
        if (a.rfind("-", 0) != 0 || a == "-") {
            if (!o.workbook.empty()) {
                err << "frusta2-cli assess: only one workbook can be assessed at a time\n";
                return 2;
            }
            o.workbook = a;
            continue;
        }
        if (!hasValue) {
            err << "frusta2-cli assess: option " << a << " needs a value\n" << kAssessUsage;
            return 2;
        }
        if (a == "--sheet") {
            o.choices.sheet = value();
        } else if (a == "--metric") {
            if (!parseMetric(value(), o.choices)) {
                err << "--metric: choose TDI4, TDI3, LTDI2, LTDI1 or DAM\n";
                return 2;
            }
        } else if (a == "--first-row") {
            int row = 0;
            if (!parsePositive(value(), row)) {
                err << "--first-row: give a row number of 1 or more\n";
                return 2;
            }
            o.choices.firstRow = row;
        } else if (a == "--first-col") {
            const int col = parseColumn(value());
            if (col < 1) {
                err << "--first-col: give a column as letters (C) or a number (3)\n";
                return 2;
            }
            o.choices.firstCol = col;
        } else if (a == "--database") {
            o.database = value();
        } else if (a == "--default-alk") {
            if (!parseDefault(a, value(), 0.0, 1000.0, o.choices.defaults.alk, err))
                return 2;
        } else if (a == "--default-ca") {
            if (!parseDefault(a, value(), 0.0, 100.0, o.choices.defaults.ca, err))
                return 2;
        } else if (a == "--default-doc") {
            if (!parseDefault(a, value(), 0.0, 20.0, o.choices.defaults.doc, err))
                return 2;
        } else if (a == "-o" || a == "--output") {
            o.choices.output = value();
        } else {
            err << "frusta2-cli assess: unknown option " << a << "\n" << kAssessUsage;
            return 2;
        }
    }
    if (o.workbook.empty()) {
        err << kAssessUsage;
        return 2;
    }
    return 0;
}

// The job summary for a terminal: CR LF line ends become line feeds.
std::string forTerminal(const std::string& summary) {
    std::string out;
    out.reserve(summary.size() + 1);
    for (std::size_t i = 0; i < summary.size(); ++i)
        if (!(summary[i] == '\r' && i + 1 < summary.size() && summary[i + 1] == '\n'))
            out += summary[i];
    return out;
}

} // namespace

int assessCommand(const Args& args, std::ostream& out, std::ostream& err) {
    AssessOptions o;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kAssessUsage;
        return 0;
    }
    if (const int status = parseOptions(args, o, err))
        return status;

    CliPort port(o.choices, err);
    CPbtApp app;
    StartupOptions startup;
    if (o.database)
        startup.database = *o.database;
    app.InitInstance(port, startup);

    CPbtDoc doc(app, port);
    if (!runGuarded(port, [&] { return doc.OnOpenDocument(o.workbook); })) {
        if (!doc.lastLoadError().empty())
            err << "(" << doc.lastLoadError() << ")\n";
        return 1;
    }
    doc.m_defAlk = o.choices.defaults.alk;
    doc.m_defCa = o.choices.defaults.ca;
    doc.m_defDoc = o.choices.defaults.doc;

    const bool analysed = runGuarded(port, [&] { return doc.RunAnalysis(); });
    if (analysed && doc.m_bDoUncertainty)
        runGuarded(port, [&] { return doc.RunUncertainty(); });
    out << forTerminal(doc.m_strSummary) << '\n';
    out.flush();
    if (!analysed)
        return 1;
    if (o.choices.output) {
        if (!runGuarded(port, [&] { return doc.SaveResultsWorkbook(); }))
            return 1;
    }
    app.ExitInstance();
    return 0;
}

} // namespace frusta::cli
