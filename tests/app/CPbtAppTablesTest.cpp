// Loading the class boundaries and confidence-of-class coefficients of one site type.
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "refdb/CADODatabase.h"
#include "refdb/RefdbTestSupport.h"

#include <gtest/gtest.h>

using namespace frusta;

namespace {

// The providers give identical tables (see the reference database tests), and start-up loads
// boundaries through each; here the SQLite fixture serves.
class Tables : public ::testing::Test {
protected:
    void SetUp() override {
        test::buildFixtureSqlite(dir / "FRUSTA2.sqlite");
        StartupOptions options;
        options.programFolder = dir.path();
        ASSERT_TRUE(app.InitInstance(port, options));
        ASSERT_TRUE(port.shown.empty());
    }

    test::ScratchDir dir;
    ScriptedPort port;
    CPbtApp app;
};

} // namespace

TEST_F(Tables, BoundariesOfOneSiteTypePerLoad) {
    ASSERT_TRUE(app.LoadBoundaries("TDI4", port));
    const auto rivers = app.boundaryTable; // what a document keeps for itself
    ASSERT_TRUE(app.LoadBoundaries("LTDI2", port));
    EXPECT_TRUE(port.shown.empty());
    EXPECT_FALSE(app.database->IsOpen());
    EXPECT_EQ(rivers->rowCount, 1);
    const auto& b = *app.boundaryTable;
    ASSERT_EQ(b.rowCount, 3);
    ASSERT_EQ(b.FindColumn("MedianTDI"), 2);
    std::string lakeType;
    double median = 0, goodModerate = 0;
    ASSERT_TRUE(b.GetText(1, 1, lakeType) && b.GetDouble(1, 2, median) &&
                b.GetDouble(1, 4, goodModerate));
    EXPECT_EQ(lakeType, "MA");
    EXPECT_EQ(median, 36.0);
    EXPECT_EQ(goodModerate, 0.66);
    // A key without rows gives an empty table.
    ASSERT_TRUE(app.LoadBoundaries("XYZ", port));
    EXPECT_EQ(app.boundaryTable->rowCount, 0);
    EXPECT_EQ(app.boundaryTable->colCount, 0);
}

TEST_F(Tables, CoefficientsComeSortedAndThreeRowsGiveNoTable) {
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
    EXPECT_FALSE(app.LoadCocCoefficients("DAM"));
    EXPECT_FALSE(app.cocTable);
    EXPECT_FALSE(app.database->IsOpen());
    EXPECT_TRUE(port.shown.empty()); // the caller shows its own message
}

TEST_F(Tables, DatabaseGoneOrTablesMissingKeepTheEarlierTables) {
    ASSERT_TRUE(app.LoadBoundaries("TDI3", port));
    ASSERT_TRUE(app.LoadCocCoefficients("TDI"));
    const auto boundaries = app.boundaryTable;
    const auto coefficients = app.cocTable;
    const std::vector<std::string> boundaryMessage = {"Error opening boundary database"};

    // The database has gone: the boundary message; no message for the coefficients.
    std::filesystem::remove(dir / "FRUSTA2.sqlite");
    EXPECT_FALSE(app.LoadBoundaries("TDI4", port));
    EXPECT_EQ(port.texts(), boundaryMessage);
    EXPECT_FALSE(app.LoadCocCoefficients("LTDI"));

    // It comes back without the tables: the queries fail, the connection is closed again.
    test::buildFixtureSqlite(dir / "FRUSTA2.sqlite", {"NBSMasterTaxonList_PhaseII"});
    port.shown.clear();
    EXPECT_FALSE(app.LoadBoundaries("TDI4", port));
    EXPECT_EQ(port.texts(), boundaryMessage);
    EXPECT_FALSE(app.database->IsOpen());
    port.shown.clear();
    EXPECT_FALSE(app.LoadCocCoefficients("LTDI"));
    EXPECT_FALSE(app.database->IsOpen());
    EXPECT_TRUE(port.shown.empty());
    EXPECT_EQ(app.boundaryTable, boundaries);
    EXPECT_EQ(app.cocTable, coefficients);
}

TEST(TableLoadFailures, WithoutStartUpNothingLoads) {
    ScriptedPort port;
    CPbtApp app;
    EXPECT_FALSE(app.LoadBoundaries("TDI4", port));
    EXPECT_EQ(port.texts(), (std::vector<std::string>{"Error opening boundary database"}));
    EXPECT_FALSE(app.LoadCocCoefficients("TDI"));
    EXPECT_FALSE(app.boundaryTable);
    EXPECT_FALSE(app.cocTable);
}

TEST_F(Tables, KeptTablesAreReadFromTheDatabaseOncePerSiteType) {
    app.keepReferenceTables = true;
    ASSERT_TRUE(app.LoadBoundaries("TDI4", port));
    const auto rivers = app.boundaryTable;
    ASSERT_TRUE(app.LoadCocCoefficients("TDI"));
    const auto coefficients = app.cocTable;
    EXPECT_FALSE(app.LoadCocCoefficients("DAM")); // three rows: no table, and that is kept too
    std::filesystem::remove(dir / "FRUSTA2.sqlite");

    EXPECT_FALSE(app.LoadBoundaries("LTDI2", port)); // not kept: the database is gone
    port.shown.clear();
    ASSERT_TRUE(app.LoadBoundaries("TDI4", port));
    EXPECT_EQ(app.boundaryTable, rivers);
    ASSERT_TRUE(app.LoadCocCoefficients("TDI"));
    EXPECT_EQ(app.cocTable, coefficients);
    EXPECT_FALSE(app.LoadCocCoefficients("DAM"));
    EXPECT_EQ(app.cocTable, nullptr);
    EXPECT_TRUE(port.shown.empty());

    app.keepReferenceTables = false; // the default: every load reads the database
    EXPECT_FALSE(app.LoadBoundaries("TDI4", port));
}
