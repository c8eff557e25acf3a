// Statements the Access provider answers itself: parsing, filtering without regard to case
// and stable sorting with Nulls first. Refused statements are checked through the error
// reports.
#include "refdb/AccessSelect.h"
#include "refdb/AdoConstants.h"

#include <gtest/gtest.h>

using namespace frusta;

namespace {

RowSet sample() {
    RowSet rs;
    rs.fields = {{"SiteType", ado::adVarWChar, 255, 0},
                 {"Coefficient", ado::adInteger, 4, 0},
                 {"Value", ado::adDouble, 8, 0}};
    auto row = [](const char* site, int c, std::optional<double> v) {
        return std::vector<Variant>{site ? Variant::fromText(site) : Variant::null(),
                                    Variant::fromI4(c), v ? Variant::fromR8(*v) : Variant::null()};
    };
    rs.rows = {row("TDI", 2, 0.0),   row("tdi", 0, 0.1),  row("LTDI", 1, std::nullopt),
               row(nullptr, 5, 1.0), row("TDI", 1, 0.05), row("Tdi", 0, -2.0)};
    return rs;
}

// The Coefficient column of the sample rows the statement selects, in their order.
std::vector<int> selected(const std::string& sql, RowSet& rs) {
    rs = sample();
    applySelect(parseSelect(sql, "s"), rs, "s");
    std::vector<int> out;
    for (const auto& r : rs.rows)
        out.push_back(static_cast<int>(r[1].integer));
    return out;
}

} // namespace

TEST(AccessSelect, ParsesTheSupportedForms) {
    auto st = parseSelect("select * FROM [My Table] Where [Site Type] = 'It''s' AND n = -1.5 "
                          "and f = True ORDER BY a DESC, b asc, c;",
                          "src");
    EXPECT_EQ(st.table, "My Table");
    ASSERT_EQ(st.where.size(), 3u);
    EXPECT_EQ(st.where[0].column, "Site Type");
    EXPECT_EQ(st.where[0].value.text, "It's");
    EXPECT_EQ(st.where[1].value.real, -1.5);
    EXPECT_EQ(st.where[2].value.real, -1.0);
    ASSERT_EQ(st.orderBy.size(), 3u);
    EXPECT_TRUE(st.orderBy[0].descending);
    EXPECT_FALSE(st.orderBy[1].descending);
    EXPECT_FALSE(st.orderBy[2].descending);
    st = parseSelect("Select * from CoC where SiteType = \"TDI\"", "src");
    EXPECT_EQ(st.where[0].value.text, "TDI");
    EXPECT_EQ(bareTableName("  NBSMasterTaxonList_PhaseII "), "NBSMasterTaxonList_PhaseII");
    EXPECT_EQ(bareTableName("[Table with spaces]"), "Table with spaces");
    EXPECT_EQ(bareTableName("Select * from T"), std::nullopt);
}

TEST(AccessSelect, FiltersWithoutRegardToCaseAndSortsStably) {
    RowSet rs;
    EXPECT_EQ(selected("select * from CoC where SiteType = 'TDI' order by Coefficient", rs),
              (std::vector<int>{0, 0, 1, 2}));
    EXPECT_EQ(rs.rows[0][0].text, "tdi"); // equal keys keep their stored order
    EXPECT_EQ(rs.rows[1][0].text, "Tdi");
    EXPECT_EQ(selected("select * from CoC order by Value", rs),
              (std::vector<int>{1, 0, 2, 1, 0, 5})); // Null first
    EXPECT_EQ(selected("select * from CoC order by SiteType desc, Coefficient", rs),
              (std::vector<int>{0, 0, 1, 2, 1, 5})); // Null last
    EXPECT_EQ(selected("select * from CoC where Coefficient = 0 and Value = -2", rs),
              (std::vector<int>{0}));
}
