#include "refdb/TranslationTable.h"
#include "refdb/dbTable.h"

#include <gtest/gtest.h>

using namespace frusta;

namespace {

dbTable listOf(const std::vector<std::pair<const char*, const char*>>& codes) {
    dbTable t;
    t.addColumn("NBNCode", ColumnType::Text);
    t.addColumn("TaxonCode", ColumnType::Text);
    t.setRowCount(static_cast<int32_t>(codes.size()));
    for (int r = 0; r < static_cast<int>(codes.size()); ++r) {
        t.setText(r, 0, codes[r].first);
        t.setText(r, 1, codes[r].second);
    }
    return t;
}

TEST(TranslationTable, RefusesTheFirstFaultyRow) {
    const dbTable list = listOf({{"NBN01", "AC001A"}, {"NBN02", "AC002A"}});
    const struct {
        const char* what;
        std::vector<TranslationRow> rows;
        std::optional<std::string> fault;
    } cases[] = {
        {"good rows", {{2, "X1", "AC001A", ""}, {3, "X2", "ac002a", "note"}}, std::nullopt},
        {"a target in the first code column", {{2, "X1", "nbn02", ""}}, std::nullopt},
        {"a code mapped twice, in another case",
         {{2, "X1", "AC001A", ""}, {3, "Y", "AC001A", ""}, {5, "x1", "AC002A", ""}},
         "Row 5: the code x1 is already mapped in row 2."},
        {"a target not in the list",
         {{1, "X1", "AC001A", ""}, {2, "X2", "AC009Z", ""}},
         "Row 2: the list code AC009Z is not in the master taxon list."},
        {"no list code",
         {{4, "X1", "", "note"}},
         "Row 4: a row needs your code in the first column and a list code in the second."},
        {"no code of one's own",
         {{7, "", "AC001A", ""}},
         "Row 7: a row needs your code in the first column and a list code in the second."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translationFault(c.rows, &list), c.fault) << c.what;
    EXPECT_EQ(translationFault({{2, "X1", "AC001A", ""}}, nullptr),
              "Row 2: the list code AC001A is not in the master taxon list.");
}

TEST(TranslationTable, FindsACodeWithoutRegardToCase) {
    const TranslationTable t({{2, "Old1", "AC001A", "renamed 2019"}, {3, "OLD2", "AC002A", ""}});
    ASSERT_NE(t.find("OLD1"), nullptr);
    EXPECT_EQ(t.find("OLD1")->to, "AC001A");
    EXPECT_EQ(t.find("old2")->row, 3);
    EXPECT_EQ(t.find("Old3"), nullptr);
    EXPECT_EQ(TranslationTable().find("x"), nullptr);
}

} // namespace
