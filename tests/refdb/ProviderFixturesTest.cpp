// The same reference rows read through the Jet and ACE providers (Access files) and through
// SQLite (built from the text form) must give identical tables.
#include "RefdbTestSupport.h"
#include "refdb/AdoConstants.h"
#include "refdb/CADODatabase.h"
#include "refdb/CADORecordset.h"
#include "refdb/DataProvider.h"
#include "refdb/dbTableLoad.h"

#include <gtest/gtest.h>

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

void expectSameTables(const dbTable& a, const dbTable& b, const std::string& what) {
    ASSERT_EQ(a.rowCount, b.rowCount) << what;
    ASSERT_EQ(a.colCount, b.colCount) << what;
    EXPECT_EQ(a.columnNames, b.columnNames) << what;
    ASSERT_EQ(a.columnTypes, b.columnTypes) << what;
    for (int c = 0; c < a.colCount; ++c)
        for (int r = 0; r < a.rowCount; ++r) {
            const std::string where = what + " row " + std::to_string(r) + " " + a.columnNames[c];
            switch (a.columnTypes[c]) {
            case ColumnType::Int:
            case ColumnType::Long: {
                int32_t x = -1, y = -2;
                a.GetInt(r, c, x) || a.GetLong(r, c, x);
                b.GetInt(r, c, y) || b.GetLong(r, c, y);
                EXPECT_EQ(x, y) << where;
                break;
            }
            case ColumnType::Double: {
                double x = -1, y = -2;
                a.GetDouble(r, c, x);
                b.GetDouble(r, c, y);
                EXPECT_EQ(x, y) << where;
                break;
            }
            case ColumnType::Text: {
                std::string x = "a", y = "b";
                a.GetText(r, c, x);
                b.GetText(r, c, y);
                EXPECT_EQ(x, y) << where;
                break;
            }
            case ColumnType::Bool: {
                bool x = false, y = true;
                a.GetBool(r, c, x);
                b.GetBool(r, c, y);
                EXPECT_EQ(x, y) << where;
                break;
            }
            case ColumnType::None:
                break;
            }
        }
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
            const Loaded got = load(cs, source, option);
            ASSERT_TRUE(got.table) << name << ": " << source;
            expectSameTables(*got.table, *expected.table, name + ": " + source);
            ASSERT_EQ(got.fields.size(), expected.fields.size());
            for (std::size_t i = 0; i < got.fields.size(); ++i) {
                EXPECT_STREQ(got.fields[i].name, expected.fields[i].name);
                EXPECT_EQ(got.fields[i].type, expected.fields[i].type) << got.fields[i].name;
                EXPECT_EQ(got.fields[i].definedSize, expected.fields[i].definedSize)
                    << got.fields[i].name;
            }
        }
    }
}

TEST_F(ReferenceFixtures, TaxonListTypesAndNulls) {
    const Loaded l = load(connection(kAceProvider, testData("refdb/reference.accdb")),
                          "NBSMasterTaxonList_PhaseII", CADORecordset::openTable);
    ASSERT_TRUE(l.table);
    const dbTable& t = *l.table;
    EXPECT_EQ(t.rowCount, 20);
    using ado::DataType;
    const std::vector<int16_t> types = {202, 202, 202, 202, 5, 5, 5, 5,  5,
                                        11,  11,  11,  11,  2, 3, 7, 203};
    ASSERT_EQ(l.fields.size(), types.size());
    for (std::size_t i = 0; i < types.size(); ++i)
        EXPECT_EQ(l.fields[i].type, types[i]) << l.fields[i].name;
    EXPECT_EQ(t.columnTypes[t.FindColumn("SizeClass")], ColumnType::Int);
    EXPECT_EQ(t.columnTypes[t.FindColumn("TaxonKey")], ColumnType::Long);
    EXPECT_EQ(t.columnTypes[t.FindColumn("DateAdded")], ColumnType::None);
    EXPECT_EQ(t.columnTypes[t.FindColumn("Notes")], ColumnType::None);

    double d = -1;
    EXPECT_TRUE(t.GetDouble(10, t.FindColumn("TDI4"), d)); // Null score
    EXPECT_EQ(d, 0.0);
    EXPECT_TRUE(t.GetDouble(16, t.FindColumn("tdi3"), d)); // negative score
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
}

TEST_F(ReferenceFixtures, CoefficientsComeSortedAndDateFieldsAsText) {
    CADODatabase db;
    ASSERT_TRUE(db.Open(connection(kJetProvider, testData("refdb/reference.mdb"))));
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open("select * from [CoC] WHERE sitetype = 'tdi' Order By [Coefficient] DESC;"));
    std::vector<long> order;
    for (rs.MoveFirst(); !rs.IsEof(); rs.MoveNext()) {
        long c = -1;
        EXPECT_TRUE(rs.GetFieldValue(1, c));
        order.push_back(c);
    }
    EXPECT_EQ(order, (std::vector<long>{3, 2, 1, 0}));

    ASSERT_TRUE(rs.Open("NBSMasterTaxonList_PhaseII", CADORecordset::openTable));
    std::string text;
    EXPECT_TRUE(rs.GetFieldValue(15, text));
    EXPECT_EQ(text, "2008-03-01 00:00:00");
    EXPECT_TRUE(rs.GetFieldValue(15, text, "%d/%m/%Y"));
    EXPECT_EQ(text, "01/03/2008");
    EXPECT_TRUE(rs.GetFieldValue(4, text));
    EXPECT_EQ(text, "1");
    EXPECT_TRUE(rs.GetFieldValue(9, text));
    EXPECT_EQ(text, "F");
    int i = -5;
    EXPECT_TRUE(rs.GetFieldValue(9, i));
    EXPECT_EQ(i, 0);
    bool flag = true;
    EXPECT_FALSE(rs.GetFieldValue(4, flag)); // a Double is no boolean
    EXPECT_TRUE(flag);
    EXPECT_TRUE(rs.GetFieldValue(16, text)); // Null memo
    EXPECT_EQ(text, "");
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
    int full = 0;
    t.GetText(0, 0, a);
    if (a != "abcdefg")
        full = 1;
    t.GetText(full, 0, a);
    EXPECT_EQ(a, "abcdefg");
    int32_t n = 0;
    EXPECT_TRUE(t.GetInt(full, 3, n));
    EXPECT_EQ(n, 222);
    EXPECT_TRUE(t.GetLong(full, 4, n));
    EXPECT_EQ(n, 333333333);
    double d = 0;
    EXPECT_TRUE(t.GetDouble(full, 5, d));
    EXPECT_EQ(d, 444.555);
    bool b = false;
    EXPECT_TRUE(t.GetBool(full, 8, b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(t.GetBool(1 - full, 8, b));
    EXPECT_FALSE(b);
    EXPECT_FALSE(t.GetDouble(full, 6, d)); // date column holds no values

    CADODatabase ace;
    ASSERT_TRUE(ace.Open(connection(kAceProvider, file)));
    CADORecordset rs(ace);
    ASSERT_TRUE(rs.Open("Select * from Table1 where A = 'ABCDEFG'"));
    ASSERT_EQ(rs.GetRecordCount(), 1);
    std::string text;
    EXPECT_TRUE(rs.GetFieldValue(6, text));
    EXPECT_EQ(text, "1974-09-21 00:00:00");
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
