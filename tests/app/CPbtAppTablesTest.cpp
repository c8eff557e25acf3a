// Loading the class boundaries and confidence-of-class coefficients of one site type.
#include "app/CPbtApp.h"
#include "refdb/CADODatabase.h"
#include "refdb/RefdbTestSupport.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

using namespace frusta;
using frusta::test::testData;

namespace {

class Tables : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const std::string kind = GetParam();
        if (kind == "sqlite")
            test::buildFixtureSqlite(dir / "FRUSTA2.sqlite");
        else
            std::filesystem::copy_file(testData(kind), dir / "FRUSTA2.mdb");
        StartupOptions options;
        options.programFolder = dir.path();
        ASSERT_TRUE(app.InitInstance(port, options));
        ASSERT_TRUE(port.shown.empty());
    }

    test::ScratchDir dir;
    test::ScriptedPort port;
    CPbtApp app;
};

} // namespace

TEST_P(Tables, BoundariesOfALakeMetric) {
    EXPECT_EQ(CPbtApp::boundaryQuery("LTDI2"), "Select * from Boundaries where SiteType = 'LTDI2'");
    ASSERT_TRUE(app.LoadBoundaries("LTDI2", port));
    EXPECT_TRUE(port.shown.empty());
    EXPECT_FALSE(app.database->IsOpen());
    const auto& b = *app.boundaryTable;
    ASSERT_EQ(b.rowCount, 3);
    const int median = b.FindColumn("MedianTDI");
    ASSERT_EQ(median, 2);
    std::string lakeType;
    double value = 0;
    ASSERT_TRUE(b.GetText(1, 1, lakeType));
    EXPECT_EQ(lakeType, "MA");
    ASSERT_TRUE(b.GetDouble(1, median, value));
    EXPECT_EQ(value, 36.0);
    ASSERT_TRUE(b.GetDouble(1, median + 2, value));
    EXPECT_EQ(value, 0.66);
}

TEST_P(Tables, EachLoadReplacesTheTableAndKeepsEarlierCopies) {
    ASSERT_TRUE(app.LoadBoundaries("TDI4", port));
    const auto rivers = app.boundaryTable; // what a document keeps for itself
    ASSERT_TRUE(app.LoadBoundaries("LTDI1", port));
    EXPECT_NE(app.boundaryTable, rivers);
    EXPECT_EQ(rivers->rowCount, 1);
    EXPECT_EQ(app.boundaryTable->rowCount, 3);
    // A key without rows gives an empty table.
    ASSERT_TRUE(app.LoadBoundaries("XYZ", port));
    EXPECT_EQ(app.boundaryTable->rowCount, 0);
    EXPECT_EQ(app.boundaryTable->colCount, 0);
}

TEST_P(Tables, CoefficientsComeSortedByCoefficient) {
    EXPECT_EQ(CPbtApp::cocQuery("LTDI"),
              "Select * from CoC where SiteType = 'LTDI' order by Coefficient");
    ASSERT_TRUE(app.LoadCocCoefficients("TDI"));
    EXPECT_FALSE(app.database->IsOpen());
    const auto& c = *app.cocTable;
    ASSERT_EQ(c.rowCount, 4);
    const double expected[] = {0.1, 0.05, 0.0, 1.0};
    for (int r = 0; r < 4; ++r) {
        double v = -1;
        ASSERT_TRUE(c.GetDouble(r, 2, v));
        EXPECT_EQ(v, expected[r]) << r;
    }
}

TEST_P(Tables, ThreeCoefficientRowsGiveNoTable) {
    ASSERT_TRUE(app.LoadCocCoefficients("LTDI"));
    EXPECT_FALSE(app.LoadCocCoefficients("DAM"));
    EXPECT_FALSE(app.cocTable);
    EXPECT_FALSE(app.database->IsOpen());
    EXPECT_TRUE(port.shown.empty()); // the caller shows its own message
}

INSTANTIATE_TEST_SUITE_P(Databases, Tables,
                         ::testing::Values("refdb/reference.mdb", "refdb/reference.accdb",
                                           "sqlite"));

TEST(TableLoadFailures, DatabaseGoneOrTablesMissing) {
    test::ScratchDir dir;
    test::buildFixtureSqlite(dir / "FRUSTA2.sqlite", {"NBSMasterTaxonList_PhaseII", "Boundaries"});
    test::ScriptedPort port;
    CPbtApp app;
    StartupOptions options;
    options.programFolder = dir.path();
    ASSERT_TRUE(app.InitInstance(port, options));
    ASSERT_TRUE(app.LoadBoundaries("TDI3", port));
    const auto kept = app.boundaryTable;

    // The CoC table is missing: false, no message, the connection closed.
    EXPECT_FALSE(app.LoadCocCoefficients("TDI"));
    EXPECT_FALSE(app.database->IsOpen());

    // The database has gone: the boundary message, the old table kept.
    std::filesystem::remove(dir / "FRUSTA2.sqlite");
    EXPECT_FALSE(app.LoadBoundaries("TDI4", port));
    EXPECT_EQ(port.texts(), (std::vector<std::string>{"Error opening boundary database"}));
    EXPECT_EQ(app.boundaryTable, kept);
    EXPECT_FALSE(app.LoadCocCoefficients("TDI"));

    // The query fails: the same message, the connection closed again.
    test::buildFixtureSqlite(dir / "FRUSTA2.sqlite", {"NBSMasterTaxonList_PhaseII"});
    port.shown.clear();
    EXPECT_FALSE(app.LoadBoundaries("TDI4", port));
    EXPECT_EQ(port.texts(), (std::vector<std::string>{"Error opening boundary database"}));
    EXPECT_FALSE(app.database->IsOpen());
    EXPECT_EQ(app.boundaryTable, kept);
}

TEST(TableLoadFailures, AFailedCoefficientLoadKeepsTheEarlierTable) {
    test::ScratchDir dir;
    test::buildFixtureSqlite(dir / "FRUSTA2.sqlite");
    test::ScriptedPort port;
    CPbtApp app;
    StartupOptions options;
    options.programFolder = dir.path();
    ASSERT_TRUE(app.InitInstance(port, options));
    ASSERT_TRUE(app.LoadCocCoefficients("TDI"));
    const auto kept = app.cocTable;
    // The database has gone, then comes back without its CoC table.
    std::filesystem::remove(dir / "FRUSTA2.sqlite");
    EXPECT_FALSE(app.LoadCocCoefficients("LTDI"));
    EXPECT_EQ(app.cocTable, kept);
    test::buildFixtureSqlite(dir / "FRUSTA2.sqlite", {"NBSMasterTaxonList_PhaseII"});
    EXPECT_FALSE(app.LoadCocCoefficients("LTDI"));
    EXPECT_EQ(app.cocTable, kept);
    EXPECT_FALSE(app.database->IsOpen());
    EXPECT_TRUE(port.shown.empty());
}

TEST(TableLoadFailures, WithoutStartUpNothingLoads) {
    test::ScriptedPort port;
    CPbtApp app;
    EXPECT_FALSE(app.LoadBoundaries("TDI4", port));
    EXPECT_EQ(port.texts(), (std::vector<std::string>{"Error opening boundary database"}));
    EXPECT_FALSE(app.LoadCocCoefficients("TDI"));
    EXPECT_FALSE(app.boundaryTable);
    EXPECT_FALSE(app.cocTable);
}
