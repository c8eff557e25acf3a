// `assess`: open sample workbooks, analyse them, compute the site uncertainty and write the
// results. One workbook prints its job summary; several (with --out-dir) print one status
// line each, and a workbook that fails never stops the others. The reference database is
// opened once for the whole run.
#include "app/CPbtApp.h"
#include "cli/AssessOptions.h"
#include "cli/CliPort.h"
#include "cli/Commands.h"
#include "cli/ProgressLine.h"
#include "cli/ResultsOutput.h"
#include "cli/ResultsTargets.h"
#include "doc/AnalysisCommand.h"
#include "doc/CPbtDoc.h"
#include "doc/CommandGuard.h"
#include "doc/ResultsView.h"
#include "doc/TranslationFile.h"
#include "output/JsonWriter.h"

#include <filesystem>
#include <ostream>

namespace frusta::cli {

namespace {

// What the status line of a workbook says.
struct WorkbookStatus {
    bool ok = false;
    int samples = 0;
    int sites = 0;
    std::string reason;
};

// What every workbook of the run shares.
struct Run {
    CPbtApp& app;
    const AssessOptions& options;
    ProgressLine& progress;
    std::ostream& out;
};

// The job summary for a terminal: CR LF line ends become line feeds.
std::string forTerminal(const std::string& summary) {
    std::string out;
    out.reserve(summary.size() + 1);
    for (std::size_t i = 0; i < summary.size(); ++i)
        if (!(summary[i] == '\r' && i + 1 < summary.size() && summary[i + 1] == '\n'))
            out += summary[i];
    return out;
}

std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text)
        if (c != '\r')
            line += c == '\n' || c == '\t' ? ' ' : c;
    return line;
}

// Why a step failed, as one line: the notices it showed, each with its detail in brackets;
// for a worksheet the options could not choose, the port's own refusal.
std::string reasonOf(const Outcome& failure, const CliPort& port) {
    std::string reason;
    for (const Notice& n : failure.notices()) {
        reason += (reason.empty() ? "" : " ") + oneLine(n.text);
        if (!n.detail.empty())
            reason += " (" + oneLine(n.detail) + ")";
    }
    if (reason.empty())
        reason = oneLine(port.refusal());
    return reason.empty() ? "failed" : reason;
}

WorkbookStatus failed(WorkbookStatus status, const Outcome& failure, const CliPort& port) {
    status.ok = false;
    status.reason = reasonOf(failure, port);
    return status;
}

WorkbookStatus assessWorkbook(Run& run, const std::string& workbook,
                              const std::optional<ResultsTarget>& target, CliPort& port,
                              const std::string& label, bool printSummary) {
    WorkbookStatus status;
    CPbtDoc doc(run.app, port);
    run.progress.set(label + "reading");
    const Outcome opened = runGuarded(port, [&] { return doc.OnOpenDocument(workbook); });
    if (!opened)
        return failed(status, opened, port);
    status.samples = doc.m_nSamples;
    doc.m_defAlk = run.options.choices.defaults.alk;
    doc.m_defCa = run.options.choices.defaults.ca;
    doc.m_defDoc = run.options.choices.defaults.doc;
    doc.m_minScoredShare = run.options.minScoredShare;

    run.progress.set(label + "analysing");
    const AnalysisOutcome analysed = analyseDocument(doc);
    if (printSummary)
        run.progress.print(run.out, forTerminal(doc.m_strSummary));
    if (!analysed.analysis)
        return failed(status, analysed.analysis, port);
    if (analysed.uncertainty && *analysed.uncertainty)
        status.sites = ResultsView(doc).siteCount();

    if (target) {
        run.progress.set(label + "writing");
        const JsonSource source{workbook, port.chosenSheet()};
        if (const Outcome written =
                writeResults(doc, run.app.shownClassNames(), *target, source, run.out, port);
            !written)
            return failed(status, written, port);
    }
    status.ok = true;
    return status;
}

int assessOne(Run& run, const std::optional<ResultsTarget>& target, std::ostream& err) {
    CliPort port(run.options.choices, err);
    port.setSink([&](const std::string& text) { run.progress.print(text); });
    const std::string& workbook = run.options.workbooks.front();
    const WorkbookStatus o =
        assessWorkbook(run, workbook, target, port, workbook + ": ", !run.options.toStdout());
    return o.ok ? 0 : 1;
}

// NAME, samples, sites and "done" or "failed: " and the reason, separated by tabs.
std::string statusLine(const std::string& workbook, const WorkbookStatus& o) {
    return oneLine(workbook) + "\t" + std::to_string(o.samples) + "\t" + std::to_string(o.sites) +
           "\t" + (o.ok ? std::string("done") : "failed: " + o.reason);
}

int assessMany(Run& run, const std::vector<std::optional<ResultsTarget>>& targets,
               std::ostream& err) {
    std::error_code ec;
    std::filesystem::create_directories(*run.options.outDir, ec);
    if (ec) {
        run.progress.print("frusta2-cli assess: cannot make the folder " + *run.options.outDir +
                           ": " + ec.message());
        return 1;
    }
    const std::size_t n = run.options.workbooks.size();
    bool allDone = true;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& workbook = run.options.workbooks[i];
        CliPort port(run.options.choices, err);
        port.setSink([&](const std::string& text) {
            run.progress.print(oneLine(workbook) + ": " + oneLine(text));
        });
        const std::string label = "workbook " + std::to_string(i + 1) + " of " + std::to_string(n) +
                                  ": " + workbook + ": ";
        const WorkbookStatus o = assessWorkbook(run, workbook, targets[i], port, label, false);
        allDone = allDone && o.ok;
        run.progress.print(run.out, statusLine(workbook, o));
    }
    return allDone ? 0 : 1;
}

} // namespace

int assessCommand(const Args& args, std::ostream& out, std::ostream& err) {
    AssessOptions o;
    if (const int status = parseAssessOptions(args, o, err))
        return status;
    if (o.help) {
        out << kAssessUsage;
        return 0;
    }
    const auto targets = planTargets(o);
    if (!checkTargets(o.workbooks, targets, err))
        return 2;

    ProgressLine progress(ProgressLine::stderrIsTerminal(), err);
    CliPort startPort(o.choices, err);
    startPort.setSink([&](const std::string& text) { progress.print(text); });
    CPbtApp app;
    StartupOptions startup;
    if (o.database)
        startup.database = *o.database;
    progress.set("opening the reference database");
    app.InitInstance(startPort, startup);
    app.keepReferenceTables = true; // one run, one reading of the database
    // A translation table that cannot be used stops the run before any workbook is read.
    if (o.translations &&
        !loadTranslations(*o.translations, app.taxonTable.get(), startPort, app.translations)) {
        app.ExitInstance();
        return 2;
    }

    Run run{app, o, progress, out};
    const int status = o.batch() ? assessMany(run, targets, err) : assessOne(run, targets[0], err);
    app.ExitInstance();
    return status;
}

} // namespace frusta::cli
