// Saving results while the disk fails: every file operation of a save (creating, each
// write, flush, flush to disk, close, link, rename, flush of the folder) is made to fail in
// turn with ENOSPC, EIO and EACCES, for the results workbook (.xls, .xlsx), the CSV set and
// the JSON file. After each failure the previous results are there byte for byte, no
// temporary file is left, the reason is given and the document is still unsaved; the next
// save works.
#include "FaultTestSupport.h"
#include "output/CsvFileSet.h"
#include "output/JsonWriter.h"
#include "output/ResultsTables.h"
#include "output/ResultsWriter.h"
#include "workbook/AtomicFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <iostream>
#include <optional>

namespace frusta {
namespace {

using namespace faulttest;

const std::vector<int> kErrnos = {ENOSPC, EIO, EACCES};
// A save as a new file takes the same steps but for keeping the previous file.
const std::vector<int> kNewFileErrnos = {ENOSPC};

// One way of saving results: the files it writes into a folder, and the save itself, which
// gives the message shown when it fails.
struct Route {
    std::string name;
    std::vector<std::string> files;
    std::function<std::optional<std::string>(AnalysedDocument&, const fs::path&)> save;
};

std::optional<std::string> saveWorkbook(AnalysedDocument& d, const fs::path& file) {
    d.port.shown.clear();
    d.port.resultsFile = ResultsFileChoice{file.string(), ResultsFileType::Xls};
    d.doc.SetModifiedFlag(true);
    if (saveResultsWorkbook(d.doc)) {
        EXPECT_FALSE(d.doc.IsModified());
        return std::nullopt;
    }
    EXPECT_TRUE(d.doc.IsModified()) << "a failed save must leave the results unsaved";
    return d.port.shown.empty() ? std::string("(no message)") : d.port.shown.back().text;
}

std::optional<std::string> commit(AtomicFileSet& set) {
    if (const auto failure = set.commit())
        return failure->message();
    return std::nullopt;
}

std::optional<std::string> saveCsv(AnalysedDocument& d, const fs::path& dir) {
    AtomicFileSet set;
    addCsvFiles(buildResultsTables(d.doc, defaultClassNames()), dir / "r", set);
    return commit(set);
}

std::optional<std::string> saveJson(AnalysedDocument& d, const fs::path& dir) {
    std::ostringstream json;
    writeJson(buildResultsTables(d.doc, defaultClassNames()), {"small.xlsx", "Rivers"}, json);
    AtomicFileSet set;
    set.add(dir / "r.json", json.str());
    return commit(set);
}

const std::vector<std::string> kCsvSet = {"r-samples.csv", "r-sites.csv", "r-unmatched.csv",
                                          "r-taxa.csv", "r-run.csv"};

const Route kXls{"xls", {"Results.xls"}, [](AnalysedDocument& d, const fs::path& dir) {
                     return saveWorkbook(d, dir / "Results.xls");
                 }};
const Route kXlsx{"xlsx", {"Results.xlsx"}, [](AnalysedDocument& d, const fs::path& dir) {
                      return saveWorkbook(d, dir / "Results.xlsx");
                  }};
const Route kCsv{"csv", kCsvSet, saveCsv};
const Route kJson{"json", {"r.json"}, saveJson};

// The cells of a saved workbook, or the bytes of any other file: .xlsx files hold the time
// they were written.
std::string comparable(const std::string& name, const fs::path& file) {
    if (!name.ends_with(".xlsx"))
        return readBytes(file);
    Book book(BookKind::Xml);
    if (!book.load(file.string()))
        return "unreadable: " + std::string(book.errorMessage());
    std::string cells;
    for (int i = 0; i < book.sheetCount(); ++i) {
        const Sheet& s = *book.getSheet(i);
        cells += s.name() + "\n";
        for (int r = 0; r < s.lastRow(); ++r)
            for (int c = 0; c < s.lastCol(); ++c)
                if (const char* t = s.readStr(r, c))
                    cells += std::to_string(r) + "," + std::to_string(c) + "=" + t + "\n";
                else if (s.cellType(r, c) == CellType::Number)
                    cells += std::to_string(r) + "," + std::to_string(c) + "#" +
                             std::to_string(s.readNum(r, c)) + "\n";
    }
    return cells;
}

std::map<std::string, std::string> comparableContents(const Folder& dir) {
    std::map<std::string, std::string> out;
    for (const auto& [name, bytes] : dir.contents())
        out[name] = comparable(name, dir / name);
    return out;
}

// Equal file lists and bytes; otherwise which files differ, without their bytes.
::testing::AssertionResult sameFiles(const std::map<std::string, std::string>& actual,
                                     const std::map<std::string, std::string>& expected) {
    if (actual == expected)
        return ::testing::AssertionSuccess();
    auto out = ::testing::AssertionFailure();
    for (const auto& [name, bytes] : actual)
        if (!expected.count(name))
            out << name << " is left; ";
        else if (expected.at(name) != bytes)
            out << name << " changed (" << bytes.size() << " bytes, was "
                << expected.at(name).size() << "); ";
    for (const auto& [name, bytes] : expected)
        if (!actual.count(name))
            out << name << " is gone; ";
    return out;
}

struct Tally {
    long injected = 0;
    long reported = 0;  // the save failed, said why, and left the previous results
    long tolerated = 0; // a library got round the failure: the save is complete and right
};

// What the message must say when operation `op` ("KIND PATH") failed with `err`.
void expectReason(const std::string& message, const std::string& op, int err, const Route& route,
                  const Folder& dir, const Watch& watch) {
    bool namesTarget = false;
    for (const std::string& f : route.files)
        namesTarget =
            namesTarget || message.starts_with("can't save '" + (dir / f).string() + "': ");
    EXPECT_TRUE(namesTarget) << message;
    // libxlsxwriter does not pass on why a write to its own temporary files failed: the
    // file is found incomplete when it is read back.
    const bool libraryScratch = op.find(watch.scratch().path().string()) != std::string::npos;
    if (libraryScratch && !op.starts_with("create"))
        EXPECT_TRUE(message.find(": the written file is ") != std::string::npos &&
                    message.find("(is the disk full?)") != std::string::npos)
            << op << ": " << message;
    else
        EXPECT_TRUE(message.ends_with("': " + describeErrno(err))) << op << ": " << message;
}

// Fails each operation of `route`'s save in turn, with each errno, over the files `before`
// (the previous results, or nothing).
Tally failEachOperation(const Route& route, AnalysedDocument& d,
                        const std::map<std::string, std::string>& before,
                        const std::vector<int>& errnos) {
    Folder dir;
    dir.restore(before);
    Watch watch({dir.path()});
    frusta_fault_arm(0, 0);
    EXPECT_EQ(route.save(d, dir.path()), std::nullopt) << "the save without failures";
    const long operations = frusta_fault_count();
    const auto saved = comparableContents(dir);
    for (const auto& [name, bytes] : saved)
        EXPECT_FALSE(name.starts_with(".")) << "a temporary file left: " << name;
    dir.restore(before);

    Tally tally;
    for (const int err : errnos) {
        for (long k = 1; k <= operations; ++k) {
            frusta_fault_arm(k, err);
            const auto message = route.save(d, dir.path());
            const std::string op = frusta_fault_describe(k);
            const bool fired = frusta_fault_fired();
            frusta_fault_arm(0, 0);
            ++tally.injected;
            SCOPED_TRACE(route.name + ": operation " + std::to_string(k) + " (" + op +
                         ") failing with " + std::strerror(err));
            EXPECT_TRUE(fired);
            if (message) {
                ++tally.reported;
                expectReason(*message, op, err, route, dir, watch);
                EXPECT_TRUE(sameFiles(dir.contents(), before));
            } else {
                ++tally.tolerated;
                // Only libxlsxwriter's own temporary files may fail unnoticed: it makes
                // them elsewhere, or has read them already.
                EXPECT_TRUE(op.find(watch.scratch().path().string()) != std::string::npos &&
                            (op.starts_with("create") || op.starts_with("close")))
                    << "a failure that the save did not report";
                EXPECT_TRUE(sameFiles(comparableContents(dir), saved));
                dir.restore(before);
            }
            EXPECT_TRUE(watch.scratch().contents().empty());
        }
    }
    EXPECT_EQ(route.save(d, dir.path()), std::nullopt) << "the save after all the failures";
    EXPECT_TRUE(sameFiles(comparableContents(dir), saved));
    std::cout << "[ faults   ] " << route.name << (before.empty() ? " (new)" : " (replacing)")
              << ": " << operations << " operations x " << errnos.size()
              << " errnos: " << tally.injected << " failures injected, " << tally.reported
              << " reported with the previous results intact, " << tally.tolerated
              << " absorbed by libxlsxwriter with complete results\n";
    return tally;
}

std::map<std::string, std::string> previous(const std::vector<std::string>& files) {
    std::map<std::string, std::string> out;
    for (const std::string& f : files)
        out[f] = "previous results in " + f + "\r\n";
    return out;
}

class SaveFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        workbook_ = std::make_unique<Folder>();
        writeSmallRiversWorkbook(*workbook_ / "small.xlsx");
        rivers_ = std::make_unique<AnalysedDocument>(*workbook_ / "small.xlsx", 0);
        acid_ = std::make_unique<AnalysedDocument>(*workbook_ / "small.xlsx", 2);
    }
    static void TearDownTestSuite() {
        std::cout << "[ faults   ] in all: " << total_.injected << " save failures injected, "
                  << total_.reported << " reported with the previous results intact, "
                  << total_.tolerated << " absorbed with complete results, "
                  << total_.injected - total_.reported - total_.tolerated << " lost\n";
        rivers_.reset();
        acid_.reset();
        workbook_.reset();
    }
    static void run(const Route& route, AnalysedDocument& d,
                    const std::map<std::string, std::string>& before) {
        ASSERT_TRUE(d.analysed) << ::testing::PrintToString(d.port.texts());
        const Tally t =
            failEachOperation(route, d, before, before.empty() ? kNewFileErrnos : kErrnos);
        total_.injected += t.injected;
        total_.reported += t.reported;
        total_.tolerated += t.tolerated;
    }

    static inline std::unique_ptr<Folder> workbook_;
    static inline std::unique_ptr<AnalysedDocument> rivers_;
    static inline std::unique_ptr<AnalysedDocument> acid_;
    static inline Tally total_;
};

TEST_F(SaveFaults, ResultsWorkbooks) {
    for (const Route* route : {&kXls, &kXlsx}) {
        run(*route, *rivers_, previous(route->files));
        run(*route, *rivers_, {});
    }
}

TEST_F(SaveFaults, CsvSetAndJson) {
    for (const Route* route : {&kCsv, &kJson}) {
        run(*route, *rivers_, previous(route->files));
        run(*route, *rivers_, {});
    }
    // Results without a site table replace a whole set: its sites file goes with it, or
    // the set stays as it was.
    ASSERT_FALSE(acid_->doc.m_bUncertaintyDone);
    run({"csv without sites", kCsvSet, saveCsv}, *acid_, previous(kCsvSet));
}

} // namespace
} // namespace frusta
