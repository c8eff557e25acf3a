#include "refdb/dbTableLoad.h"
#include "RefdbTestSupport.h"
#include "refdb/CADODatabase.h"
#include "refdb/CADORecordset.h"
#include "refdb/DataProvider.h"

#include <gtest/gtest.h>

using namespace frusta;
using frusta::test::connection;

namespace {

class TableLoad : public ::testing::Test {
protected:
    void SetUp() override {
        test::buildFixtureSqlite(dir / "ref.sqlite");
        ASSERT_TRUE(db.Open(connection(kSqliteProvider, dir / "ref.sqlite")));
    }
    std::shared_ptr<dbTable> query(const std::string& sql) {
        CADORecordset rs(db);
        EXPECT_TRUE(rs.Open(sql)) << rs.GetLastErrorString();
        return loadDbTable(rs);
    }

    test::ScratchDir dir;
    CADODatabase db;
};

} // namespace

TEST_F(TableLoad, FindColumnRules) {
    const auto t = query("Select TaxonCode as Code, NBNCode as CODE, TDI3 from "
                         "NBSMasterTaxonList_PhaseII");
    EXPECT_EQ(t->colCount, 3);
    EXPECT_EQ(t->FindColumn("code"), 0); // the lower position wins
    EXPECT_EQ(t->FindColumn("CODE"), 0);
    EXPECT_EQ(t->FindColumn("tdi3"), 2);
    EXPECT_EQ(t->columnNames[2], "TDI3");
    EXPECT_EQ(t->FindColumn("TDI"), -1);
}

TEST_F(TableLoad, NullsAndWrongTypes) {
    const auto t = query("NBSMasterTaxonList_PhaseII");
    ASSERT_EQ(t->rowCount, 20);
    EXPECT_EQ(t->colCount, 17);
    const int tdi3 = t->FindColumn("TDI3"), tdi4 = t->FindColumn("TDI4");
    double d = 9;
    EXPECT_TRUE(t->GetDouble(10, tdi4, d));
    EXPECT_EQ(d, 0.0);
    bool b = true;
    EXPECT_FALSE(t->GetBool(0, tdi3, b));
    EXPECT_TRUE(b);
    int32_t n = 5;
    EXPECT_FALSE(t->GetInt(0, tdi3, n));
    EXPECT_FALSE(t->GetLong(0, t->FindColumn("SizeClass"), n));
    EXPECT_EQ(n, 5);
    const int date = t->FindColumn("DateAdded");
    EXPECT_EQ(t->columnNames[date], "DateAdded");
    EXPECT_EQ(t->columnTypes[date], ColumnType::None);
    std::string s = "kept";
    EXPECT_FALSE(t->GetText(0, date, s));
    EXPECT_EQ(s, "kept");
}

TEST_F(TableLoad, EmptyResultGivesAnEmptyTable) {
    const auto t = query("Select * from Boundaries where SiteType = 'NONE'");
    EXPECT_EQ(t->rowCount, 0);
    EXPECT_EQ(t->colCount, 0);
    EXPECT_TRUE(t->columnNames.empty());
    EXPECT_EQ(t->FindColumn("SiteType"), -1);
}

TEST_F(TableLoad, WalkIsDrivenByTheRecordCount) {
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open("Select * from CoC where SiteType = 'LTDI' order by Coefficient desc"));
    rs.MoveNext(); // a caller that already moved: loading starts from the first record
    const auto t = loadDbTable(*&rs);
    ASSERT_EQ(t->rowCount, 4);
    int32_t c = -1;
    EXPECT_TRUE(t->GetLong(0, 1, c));
    EXPECT_EQ(c, 3);
    EXPECT_TRUE(rs.IsEof());
}
