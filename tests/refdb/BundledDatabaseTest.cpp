// The demonstration database built into the program folder.
#include "RefdbTestSupport.h"
#include "refdb/CADODatabase.h"
#include "refdb/CADORecordset.h"
#include "refdb/DataProvider.h"
#include "refdb/dbTableLoad.h"

#include <gtest/gtest.h>

#include <set>

using namespace frusta;

namespace {

class BundledDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        const auto file = std::filesystem::path(FRUSTA_PROGRAM_DIR) / "FRUSTA2.sqlite";
        ASSERT_TRUE(db.Open(test::connection(kSqliteProvider, file))) << db.GetLastErrorString();
    }
    std::shared_ptr<dbTable> load(const std::string& source) {
        CADORecordset rs(db);
        EXPECT_TRUE(rs.Open(source)) << rs.GetLastErrorString();
        return loadDbTable(rs);
    }
    CADODatabase db;
};

} // namespace

TEST_F(BundledDatabase, SaysItHoldsDemonstrationValues) {
    const auto about = load("About");
    ASSERT_GE(about->rowCount, 1);
    // The text is a memo, so the table holds none of its values; read it directly.
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open("Select * from About where Item = 'Status'"));
    std::string text;
    ASSERT_TRUE(rs.GetFieldValue(1, text));
    EXPECT_NE(text.find("NOT OFFICIAL REFERENCE DATA"), std::string::npos);
}

TEST_F(BundledDatabase, TaxonListIsUsable) {
    const auto t = load("NBSMasterTaxonList_PhaseII");
    EXPECT_GE(t->rowCount, 300);
    std::set<std::string> firstCodes, secondCodes;
    const auto* keys = t->textColumn(0);
    const auto* codes = t->textColumn(1);
    ASSERT_TRUE(keys && codes);
    for (int r = 0; r < t->rowCount; ++r) {
        EXPECT_TRUE((*keys)[r].rfind("NBN", 0) == 0 || (*keys)[r].rfind("NHM", 0) == 0);
        EXPECT_EQ((*codes)[r].size(), 6u);
        firstCodes.insert((*keys)[r]);
        secondCodes.insert((*codes)[r]);
    }
    EXPECT_EQ(firstCodes.size(), static_cast<std::size_t>(t->rowCount));
    EXPECT_EQ(secondCodes.size(), static_cast<std::size_t>(t->rowCount));
    for (const char* metric : {"TDI3", "TDI4", "LTDI1", "LTDI2", "DAM"}) {
        const int c = t->FindColumn(metric);
        ASSERT_GE(c, 0) << metric;
        int scored = 0;
        for (double v : *t->doubleColumn(c)) {
            EXPECT_TRUE(v == 0.0 || (v >= 1.0 && v <= 5.0)) << metric << " " << v;
            scored += v != 0.0;
        }
        EXPECT_GT(scored, t->rowCount / 2) << metric;
    }
    for (const char* group : {"Motile", "OrganicTolerant", "Planktic", "Saline"})
        EXPECT_EQ(t->columnTypes[t->FindColumn(group)], ColumnType::Bool) << group;
}

TEST_F(BundledDatabase, BoundariesAndCoefficients) {
    for (const char* key : {"TDI3", "TDI4", "DAM"}) {
        const auto b = load(std::string("Select * from Boundaries where SiteType = '") + key + "'");
        ASSERT_EQ(b->rowCount, 1) << key;
        const int m = b->FindColumn("MedianTDI");
        ASSERT_EQ(m, 2);
        double previous = 1.0;
        for (int k = 1; k <= 4; ++k) {
            double v = 0;
            ASSERT_TRUE(b->GetDouble(0, m + k, v));
            EXPECT_LT(v, previous);
            previous = v;
        }
    }
    for (const char* key : {"LTDI1", "LTDI2"}) {
        const auto b = load(std::string("Select * from Boundaries where SiteType = '") + key + "'");
        ASSERT_EQ(b->rowCount, 3) << key;
        std::string type;
        ASSERT_TRUE(b->GetText(0, 1, type));
        EXPECT_EQ(type.size(), 2u);
    }
    for (const char* key : {"TDI", "LTDI"}) {
        const auto c = load(std::string("Select * from CoC where SiteType = '") + key +
                            "' order by Coefficient");
        ASSERT_EQ(c->rowCount, 4) << key;
        for (int r = 0; r < 4; ++r) {
            int32_t n = -1;
            ASSERT_TRUE(c->GetLong(r, 1, n));
            EXPECT_EQ(n, r);
        }
    }
}
