#include "refdb/SuggestionIndex.h"
#include "refdb/EditDistance.h"
#include "refdb/NameKey.h"
#include "refdb/dbTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace frusta;

namespace {

TEST(NameKey, SetsAsideWhatDoesNotNameTheTaxon) {
    const struct {
        const char* name;
        const char* key;
    } cases[] = {
        {"Achnanthes minutissima", "achnanthes minutissima"},
        {"  ACHNANTHES   MINUTISSIMA ", "achnanthes minutissima"},
        {"Achnanthes minutissima Kützing", "achnanthes minutissima"},
        {"Achnanthes minutissima var. jackii (Rabenhorst) Grunow", "achnanthes minutissima jackii"},
        {"Achnanthes minutissima jackii", "achnanthes minutissima jackii"},
        {"Fragilaria capucina f. rumpens", "fragilaria capucina rumpens"},
        {"Fragilaria capucina fo. rumpens", "fragilaria capucina rumpens"},
        {"Gomphonema parvulum subsp. exilissimum", "gomphonema parvulum exilissimum"},
        {"Navicula cryptocephala Grunow in Van Heurck", "navicula cryptocephala"},
        {"Navicula cryptocephala (Kütz.) Czarnecki", "navicula cryptocephala"},
        {"Nitzschia palea (Kützing) W.Smith", "nitzschia palea"},
        {"Nitzschia palea ex Smith", "nitzschia palea"},
        {"Cocconeis placentula, Ehrenberg", "cocconeis placentula"},
        {"Cocconeis placentula var. euglypta", "cocconeis placentula euglypta"},
        {"Melosira", "melosira"},
        {"ACHNANTHES MINUTISSIMA VAR. JACKII", "achnanthes minutissima jackii"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameKey(c.name), c.key) << c.name;
}

TEST(CodeKey, KeepsLettersAndDigits) {
    EXPECT_EQ(codeKey("AC001A"), "ac001a");
    EXPECT_EQ(codeKey(" ac 001-a "), "ac001a");
    EXPECT_EQ(codeKey("NBN.SYS_0001"), "nbnsys0001");
}

TEST(EditDistance, CountsSlipsUpToTheBound) {
    const struct {
        const char* a;
        const char* b;
        int bound;
        int distance;
    } cases[] = {
        {"navicula", "navicula", 2, 0},
        {"navicula", "navicola", 2, 1},
        {"navicula", "naviucla", 2, 1}, // a transposition is one slip
        {"navicula", "navcula", 2, 1},
        {"navicula", "naviculla", 2, 1},
        {"navicula", "nvaicola", 2, 2},
        {"navicula", "nitzschia", 2, 3},
        {"navicula", "navicula xx", 2, 3},
        {"", "ab", 2, 2},
        {"abc", "", 2, 3},
        {"ca", "abc", 3, 3}, // restricted: not 2
        {"kitten", "sitting", 3, 3},
        {"kitten", "sitting", 1, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(boundedEditDistance(c.a, c.b, c.bound), c.distance) << c.a << " / " << c.b;
}

// A master list with two code columns and a name column.
dbTable masterList(const std::vector<std::array<const char*, 3>>& rows) {
    dbTable t;
    t.addColumn("NBNCode", ColumnType::Text);
    t.addColumn("TaxonCode", ColumnType::Text);
    t.addColumn("TDI4", ColumnType::Double);
    t.addColumn("TaxonName", ColumnType::Text);
    t.setRowCount(static_cast<int32_t>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        t.setText(r, 0, rows[r][0]);
        t.setText(r, 1, rows[r][1]);
        t.setText(r, 3, rows[r][2]);
    }
    return t;
}

const dbTable& list() {
    static const dbTable t = masterList({
        {"NBNSYS0001", "AC001A", "Achnanthes minutissima"},
        {"NBNSYS0002", "AC002A", "Achnanthes minutissima var. jackii"},
        {"NBNSYS0003", "NA001A", "Navicula cryptocephala"},
        {"NBNSYS0004", "NA002A", "Navicula gregaria"},
        {"NBNSYS0005", "NI001A", "Nitzschia palea"},
        {"NBNSYS0006", "CO001A", "Cocconeis placentula"},
        {"NBNSYS0007", "CO002A", "Cocconeis placentula var. euglypta"},
        {"NBNSYS0008", "GO001A", "Gomphonema parvulum"},
    });
    return t;
}

std::vector<int> rowsOf(const std::vector<Suggestion>& s) {
    std::vector<int> rows;
    for (const Suggestion& x : s)
        rows.push_back(x.row);
    return rows;
}

TEST(SuggestionIndex, FindsWhatTheUserMeant) {
    const SuggestionIndex index(list());
    SuggestionIndex::Search search(index);
    const struct {
        const char* what;
        const char* code;
        const char* name;
        std::vector<int> rows;
        bool byCode;
        int slips;
    } cases[] = {
        {"code with spacing", "na 001-a", "", {2}, true, 0},
        {"name in capitals", "X1", "NAVICULA GREGARIA", {3}, false, 0},
        {"name with spacing and punctuation", "X1", " Navicula,  gregaria. ", {3}, false, 0},
        {"name without its var.", "X1", "Cocconeis placentula euglypta", {6}, false, 0},
        {"name with an authority", "X1", "Nitzschia palea (Kützing) W.Smith", {4}, false, 0},
        {"name with an authority in",
         "X1",
         "Navicula cryptocephala Grunow in Van Heurck",
         {2},
         false,
         0},
        {"one typing slip in the name", "X1", "Gomphonema parvolum", {7}, false, 1},
        {"a transposition in the name", "X1", "Gomphonema pravulum", {7}, false, 1},
        {"two typing slips in the name", "X1", "Gomphonema prvolum", {7}, false, 2},
        {"one typing slip in the code", "NI00A1", "", {4}, true, 1},
        {"an unrelated name", "QQ999", "Aulacoseira granulata", {}, false, 0},
        {"too many slips", "X1", "Gomfonema parvolum", {}, false, 0},
        {"a short code", "A1", "", {}, false, 0},
    };
    for (const auto& c : cases) {
        const auto found = search.suggest(c.code, c.name, 1);
        EXPECT_EQ(rowsOf(found), c.rows) << c.what;
        if (!found.empty() && !c.rows.empty()) {
            EXPECT_EQ(found[0].byCode, c.byCode) << c.what;
            EXPECT_EQ(found[0].slips, c.slips) << c.what;
        }
    }
}

TEST(SuggestionIndex, RanksEqualKeysFirstAndGivesAtMostThree) {
    const SuggestionIndex index(list());
    SuggestionIndex::Search search(index);
    // Equal keys leave out the entries a few slips away: the code equals row 2's once its
    // spacing is set aside, while NA002A and NI001A are one slip from it.
    EXPECT_EQ(rowsOf(search.suggest("NA 001 A", "", 1)), (std::vector<int>{2}));
    // The code is one slip from AC001A and AC002A, the name two from row 0's and three
    // from row 1's: by fewest slips, codes before names, then by row.
    const auto found = search.suggest("AC003A", "Achnanthes minutisima jakii", 1);
    ASSERT_EQ(rowsOf(found), (std::vector<int>{0, 1}));
    EXPECT_TRUE(found[0].byCode);
    EXPECT_EQ(found[0].slips, 1);
    const auto three = search.suggest("NA00xA", "Navicula gregaira", 1);
    EXPECT_EQ(rowsOf(three), (std::vector<int>{2, 3}));
    EXPECT_EQ(rowsOf(search.suggest("NA00xA", "Navicula gregaira", 1, 1)), (std::vector<int>{2}));
    // The first code column when that is the one matched.
    EXPECT_EQ(rowsOf(search.suggest("nbnsys 0005", "", 0)), (std::vector<int>{4}));
}

TEST(SuggestionIndex, NameColumnByNameElseFirstTextAfterTheCodes) {
    EXPECT_EQ(SuggestionIndex::nameColumnOf(list()), 3);
    dbTable t;
    t.addColumn("A", ColumnType::Text);
    t.addColumn("B", ColumnType::Text);
    t.addColumn("TDI4", ColumnType::Double);
    t.addColumn("Species", ColumnType::Text);
    t.addColumn("Genus", ColumnType::Text);
    EXPECT_EQ(SuggestionIndex::nameColumnOf(t), 3);
    dbTable none;
    none.addColumn("A", ColumnType::Text);
    none.addColumn("B", ColumnType::Text);
    EXPECT_EQ(SuggestionIndex::nameColumnOf(none), -1);
}

} // namespace
