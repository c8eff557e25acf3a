// The reference database failing between start-up and the opening of a workbook: deleted,
// cut short, replaced by another file, made unreadable, locked by another program's write
// transaction; the child process reading an Access file killed or out of time. Each
// gives the messages of a failed load and the reason, keeps the master list read at
// start-up and opens no document; once the file is back the next workbook opens normally.
#include "DatabaseTroubles.h"

#include <gtest/gtest.h>

#include <functional>

namespace frusta {
namespace {

using namespace faulttest;

// A folder with a copy of the reference database, the program started on it, and a small
// rivers workbook.
struct Session {
    Folder dir;
    fs::path db;
    fs::path workbook = dir / "small.xlsx";
    CPbtApp app;
    ScriptedPort port;

    explicit Session(const fs::path& original) : db(dir / ("ref" + original.extension().string())) {
        fs::copy_file(original, db);
        writeSmallRiversWorkbook(workbook);
        StartupOptions options;
        options.programFolder = kProgramDir;
        options.database = db;
        app.InitInstance(port, options);
        port.worksheet = WorksheetChoice{0, 0, true, 7, 3};
    }

    // Opens the workbook; the messages shown.
    std::vector<std::string> open(CPbtDoc& doc, bool expectOpened = true) {
        port.shown.clear();
        EXPECT_EQ(doc.OnOpenDocument(workbook.string()).ok(), expectOpened);
        return port.texts();
    }
};

// Opens a workbook after `trouble`, then again after the file is restored.
void expectFailedLoadThenRecovery(const fs::path& original, const Trouble& trouble) {
    SCOPED_TRACE(trouble.name);
    Session s(original);
    ASSERT_TRUE(s.port.shown.empty()) << s.port.texts().front();
    CPbtDoc first(s.app, s.port);
    ASSERT_TRUE(s.open(first).empty()); // boundaries of the metric now loaded once
    const auto masterList = s.app.taxonTable;
    const auto boundaries = s.app.boundaryTable;
    ASSERT_TRUE(masterList && masterList->rowCount > 0);
    const std::string intact = fs::exists(s.db) ? readBytes(s.db) : "";
    {
        auto undo = trouble.cause(s.db);
        CPbtDoc doc(s.app, s.port);
        EXPECT_EQ(s.open(doc, false), kFailedLoad);
        EXPECT_EQ(s.port.shown.back().detail, withPath(trouble.reason, s.db));
        EXPECT_FALSE(doc.m_pCounts);
        EXPECT_EQ(s.app.taxonTable, masterList);
        EXPECT_EQ(s.app.boundaryTable, boundaries) << "the tables of the last load are kept";
    }
    // The file back as it was: the next workbook opens and is analysed.
    fs::remove(s.db);
    writeBytes(s.db, intact);
    CPbtDoc doc(s.app, s.port);
    EXPECT_TRUE(s.open(doc).empty()) << s.port.texts().front();
    EXPECT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(s.app.taxonTable, masterList);
}

TEST(DatabaseFaults, SqliteDatabaseFailingBetweenStartupAndAWorkbook) {
    for (const Trouble& t : sqliteTroubles())
        expectFailedLoadThenRecovery(kProgramDir / "FRUSTA2.sqlite", t);
}

// The child process that reads the Access database killed, or stalled past its time limit.
TEST(DatabaseFaults, AccessReadingKilledOrOutOfTime) {
    for (const Trouble& t : accessTroubles())
        expectFailedLoadThenRecovery(fs::path(FRUSTA_TEST_DATA_DIR) / "refdb/reference.mdb", t);
}

// The confidence-of-class coefficients lost while the boundaries are still there: the
// workbook opens without the site uncertainty, and the message says why.
TEST(DatabaseFaults, CoefficientsMissingGiveTheirReason) {
    Session s(kProgramDir / "FRUSTA2.sqlite");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(s.db.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DELETE FROM CoC WHERE SiteType = 'TDI' AND Coefficient > 1",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    CPbtDoc doc(s.app, s.port);
    EXPECT_EQ(s.open(doc), std::vector<std::string>{"Error retrieving confidence of class data, "
                                                    "uncertainty estimates will not be "
                                                    "calculated."});
    EXPECT_EQ(s.port.shown.back().detail,
              "the table CoC holds 2 coefficients for 'TDI', not the 4 needed");
    EXPECT_FALSE(doc.m_bDoUncertainty);
}

} // namespace
} // namespace frusta
