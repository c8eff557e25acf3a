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
    // The text is a memo, which a loaded table does not hold; read it from the result set.
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
    const std::pair<const char*, int> boundaryRows[] = {
        {"TDI3", 1}, {"TDI4", 1}, {"DAM", 1}, {"LTDI1", 3}, {"LTDI2", 3}};
    for (const auto& [key, rows] : boundaryRows) {
        const auto b = load(std::string("Select * from Boundaries where SiteType = '") + key + "'");
        ASSERT_EQ(b->rowCount, rows) << key;
        ASSERT_EQ(b->FindColumn("MedianTDI"), 2);
        for (int r = 0; r < rows; ++r) {
            std::string type;
            EXPECT_TRUE(b->GetText(r, 1, type));
            EXPECT_EQ(type.size(), rows == 1 ? 0u : 2u) << key;
            double previous = 1.0, v = 0; // boundaries fall from High/Good to Poor/Bad
            for (int k = 3; k <= 6; ++k) {
                ASSERT_TRUE(b->GetDouble(r, k, v));
                EXPECT_LT(v, previous) << key;
                previous = v;
            }
        }
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
