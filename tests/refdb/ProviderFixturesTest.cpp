// The same reference rows read through the Jet and ACE providers (Access files) and through
// SQLite (built from the text form) must give identical tables; Access files of every
// version give their field types, values and Nulls.
#include "RefdbTestSupport.h"
#include "refdb/AdoConstants.h"
#include "refdb/CADODatabase.h"
#include "refdb/CADORecordset.h"
#include "refdb/DataProvider.h"
#include "refdb/dbTableLoad.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace frusta;
using frusta::test::connection;
using frusta::test::testData;

namespace {

struct Loaded {
    std::shared_ptr<dbTable> table;
    std::vector<FieldInfo> fields;
};

Loaded load(const std::string& cs, const std::string& source, int option) {
    CADODatabase db;
    Loaded out;
    EXPECT_TRUE(db.Open(cs)) << db.GetLastErrorString();
    CADORecordset rs(db);
    EXPECT_TRUE(rs.Open(source, option)) << rs.GetLastErrorString();
    if (!rs.IsOpen())
        return out;
    for (int c = 0; c < rs.GetFieldCount(); ++c) {
        FieldInfo info;
        rs.GetFieldInfo(c, info);
        out.fields.push_back(info);
    }
    out.table = loadDbTable(rs);
    EXPECT_TRUE(rs.IsEof());
    return out;
}

// The fields and every value of a loaded table as text, for comparing whole tables.
std::vector<std::string> describe(const Loaded& l) {
    std::vector<std::string> out;
    for (const auto& f : l.fields)
        out.push_back(std::string(f.name) + " " + std::to_string(f.type) + " " +
                      std::to_string(f.definedSize));
    const dbTable& t = *l.table;
    for (int r = 0; r < t.rowCount; ++r)
        for (int c = 0; c < t.colCount; ++c) {
            int32_t n = 0;
            double d = 0;
            std::string text;
            bool b = false;
            std::ostringstream cell;
            cell << "row " << r << " " << t.columnNames[c] << " ("
                 << static_cast<int>(t.columnTypes[c]) << "): ";
            if (t.GetInt(r, c, n) || t.GetLong(r, c, n))
                cell << n;
            else if (t.GetDouble(r, c, d))
                cell << std::hexfloat << d;
            else if (t.GetText(r, c, text))
                cell << '"' << text << '"';
            else if (t.GetBool(r, c, b))
                cell << b;
            out.push_back(cell.str());
        }
    return out;
}

class ReferenceFixtures : public ::testing::Test {
protected:
    void SetUp() override { test::buildFixtureSqlite(sqlite); }

    std::vector<std::pair<std::string, std::string>> sources() const {
        return {{"Jet .mdb", connection(kJetProvider, testData("refdb/reference.mdb"))},
                {"ACE .mdb", connection(kAceProvider, testData("refdb/reference.mdb"))},
                {"ACE .accdb", connection(kAceProvider, testData("refdb/reference.accdb"))}};
    }

    test::ScratchDir dir;
    std::filesystem::path sqlite = dir / "reference.sqlite";
};

} // namespace

TEST_F(ReferenceFixtures, AccessAndSqliteGiveIdenticalTables) {
    const std::string sqliteCs = connection(kSqliteProvider, sqlite);
    const std::pair<const char*, int> reads[] = {
        {"NBSMasterTaxonList_PhaseII", CADORecordset::openTable},
        {"Boundaries", CADORecordset::openTable},
        {"CoC", CADORecordset::openTable},
        {"Select * from Boundaries where SiteType = 'LTDI2'", CADORecordset::openUnknown},
        {"Select * from CoC where SiteType = 'TDI' order by Coefficient",
         CADORecordset::openUnknown},
        {"Select * from CoC where SiteType = 'nothing'", CADORecordset::openUnknown},
    };
    for (const auto& [source, option] : reads) {
        const Loaded expected = load(sqliteCs, source, option);
        ASSERT_TRUE(expected.table) << source;
        for (const auto& [name, cs] : sources()) {
            SCOPED_TRACE(name + ": " + source);
            const Loaded got = load(cs, source, option);
            ASSERT_TRUE(got.table);
            EXPECT_EQ(describe(got), describe(expected));
        }
    }
}

TEST_F(ReferenceFixtures, TaxonListTypesNullsAndWrongTypes) {
    const Loaded l = load(connection(kAceProvider, testData("refdb/reference.accdb")),
                          "NBSMasterTaxonList_PhaseII", CADORecordset::openTable);
    ASSERT_TRUE(l.table);
    const dbTable& t = *l.table;
    EXPECT_EQ(t.rowCount, 20);
    const std::vector<int16_t> types = {202, 202, 202, 202, 5, 5, 5, 5,  5,
                                        11,  11,  11,  11,  2, 3, 7, 203};
    ASSERT_EQ(l.fields.size(), types.size());
    for (std::size_t i = 0; i < types.size(); ++i)
        EXPECT_EQ(l.fields[i].type, types[i]) << l.fields[i].name;
    const int tdi3 = t.FindColumn("tdi3"), date = t.FindColumn("DateAdded");
    EXPECT_EQ(t.columnTypes[t.FindColumn("SizeClass")], ColumnType::Int);
    EXPECT_EQ(t.columnTypes[t.FindColumn("TaxonKey")], ColumnType::Long);
    EXPECT_EQ(t.columnTypes[date], ColumnType::None);
    EXPECT_EQ(t.columnTypes[t.FindColumn("Notes")], ColumnType::None);

    double d = -1;
    EXPECT_TRUE(t.GetDouble(10, t.FindColumn("TDI4"), d)); // Null score
    EXPECT_EQ(d, 0.0);
    EXPECT_TRUE(t.GetDouble(16, tdi3, d)); // negative score
    EXPECT_EQ(d, -1.0);
    std::string code = "x";
    EXPECT_TRUE(t.GetText(12, 1, code));
    EXPECT_EQ(code, "dt0013");
    EXPECT_TRUE(t.GetText(17, 1, code)); // empty second code
    EXPECT_EQ(code, "");
    EXPECT_TRUE(t.GetText(15, 0, code));
    EXPECT_EQ(code, "NHMSYS0000990016");
    bool b = false;
    EXPECT_TRUE(t.GetBool(14, t.FindColumn("Saline"), b));
    EXPECT_TRUE(b);
    // Reads of another type, or of a column that holds no values, fail and change nothing.
    int32_t n = 5;
    EXPECT_FALSE(t.GetBool(0, tdi3, b));
    EXPECT_FALSE(t.GetInt(0, tdi3, n));
    EXPECT_FALSE(t.GetLong(0, t.FindColumn("SizeClass"), n));
    EXPECT_FALSE(t.GetText(0, date, code));
    EXPECT_TRUE(b);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(code, "NHMSYS0000990016");
}

TEST_F(ReferenceFixtures, FindColumnAndRecordWalk) {
    CADODatabase db;
    ASSERT_TRUE(db.Open(connection(kSqliteProvider, sqlite)));
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open("Select TaxonCode as Code, NBNCode as CODE, TDI3 from "
                        "NBSMasterTaxonList_PhaseII"));
    auto t = loadDbTable(rs);
    EXPECT_EQ(t->colCount, 3);
    EXPECT_EQ(t->FindColumn("code"), 0); // the lower position wins
    EXPECT_EQ(t->FindColumn("CODE"), 0);
    EXPECT_EQ(t->FindColumn("tdi3"), 2);
    EXPECT_EQ(t->columnNames[2], "TDI3");
    EXPECT_EQ(t->FindColumn("TDI"), -1);

    ASSERT_TRUE(rs.Open("Select * from CoC where SiteType = 'LTDI' order by Coefficient desc"));
    rs.MoveNext(); // a caller that already moved: loading starts from the first record
    t = loadDbTable(rs);
    ASSERT_EQ(t->rowCount, 4);
    int32_t c = -1;
    EXPECT_TRUE(t->GetLong(0, 1, c));
    EXPECT_EQ(c, 3);
    EXPECT_TRUE(rs.IsEof());
}

namespace {

struct AccessFile {
    const char* name;
    bool jetReads;
};

class AccessTypes : public ::testing::TestWithParam<AccessFile> {};

} // namespace

TEST_P(AccessTypes, TypesValuesAndProviderRules) {
    const auto file = testData(std::string("access/") + GetParam().name);
    CADODatabase jet;
    EXPECT_EQ(jet.Open(connection(kJetProvider, file)), GetParam().jetReads)
        << jet.GetLastErrorString();

    const Loaded l = load(connection(kAceProvider, file), "Table1", CADORecordset::openTable);
    ASSERT_TRUE(l.table);
    const std::vector<int16_t> types = {202, 202, 17, 2, 3, 5, 7, 6, 11};
    ASSERT_EQ(l.fields.size(), types.size());
    for (std::size_t i = 0; i < types.size(); ++i)
        EXPECT_EQ(l.fields[i].type, types[i]) << l.fields[i].name;
    EXPECT_EQ(l.fields[0].definedSize, 50);
    EXPECT_EQ(l.fields[1].definedSize, 100);
    const dbTable& t = *l.table;
    EXPECT_EQ(t.columnTypes,
              (std::vector<ColumnType>{ColumnType::Text, ColumnType::Text, ColumnType::None,
                                       ColumnType::Int, ColumnType::Long, ColumnType::Double,
                                       ColumnType::None, ColumnType::None, ColumnType::Bool}));
    ASSERT_EQ(t.rowCount, 2);
    // The files store the two rows in different orders; find the full one.
    std::string a;
    const int full = t.GetText(0, 0, a) && a == "abcdefg" ? 0 : 1;
    int32_t small = 0, large = 0;
    double d = 0;
    bool yes = false, no = true;
    EXPECT_TRUE(t.GetText(full, 0, a) && t.GetInt(full, 3, small) && t.GetLong(full, 4, large) &&
                t.GetDouble(full, 5, d) && t.GetBool(full, 8, yes) && t.GetBool(1 - full, 8, no));
    EXPECT_EQ(a, "abcdefg");
    EXPECT_EQ(small, 222);
    EXPECT_EQ(large, 333333333);
    EXPECT_EQ(d, 444.555);
    EXPECT_TRUE(yes);
    EXPECT_FALSE(no);
    EXPECT_FALSE(t.GetDouble(full, 6, d)); // date column holds no values

    CADODatabase ace;
    ASSERT_TRUE(ace.Open(connection(kAceProvider, file)));
    CADORecordset rs(ace);
    ASSERT_TRUE(rs.Open("Select * from Table1 where A = 'ABCDEFG'"));
    ASSERT_EQ(rs.GetRecordCount(), 1);
    std::string text;
    EXPECT_TRUE(rs.GetFieldValue(6, text));
    EXPECT_EQ(text, "1974-09-21 00:00:00");
    EXPECT_TRUE(rs.GetFieldValue(6, text, "%d/%m/%Y"));
    EXPECT_EQ(text, "21/09/1974");
    double money = -1;
    EXPECT_TRUE(rs.GetFieldValue(7, money));
    EXPECT_EQ(money, 0.0); // currency is none of the double form's types
    int byteValue = 0;
    EXPECT_TRUE(rs.GetFieldValue(2, byteValue));
    EXPECT_EQ(byteValue, 2);

    ASSERT_TRUE(rs.Open("Table2", CADORecordset::openTable));
    EXPECT_EQ(rs.GetRecordCount(), 0);
    EXPECT_GT(rs.GetFieldCount(), 30);
    const auto empty = loadDbTable(rs);
    EXPECT_EQ(empty->rowCount, 0);
    EXPECT_EQ(empty->colCount, 0);
    EXPECT_EQ(empty->FindColumn("column1"), -1);

    ASSERT_TRUE(rs.Open("Table4", CADORecordset::openTable));
    FieldInfo info;
    rs.GetFieldInfo(1, info);
    EXPECT_EQ(info.type, ado::adGUID);
}

INSTANTIATE_TEST_SUITE_P(Files, AccessTypes,
                         ::testing::Values(AccessFile{"jet3_types.mdb", true},
                                           AccessFile{"jet4_types.mdb", true},
                                           AccessFile{"ace_types.accdb", false}));
