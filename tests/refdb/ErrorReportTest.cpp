// The reports of failed connections and queries, with their exact texts, and what a
// result set does outside its records or after its connection closed.
#include "RefdbTestSupport.h"
#include "refdb/CADODatabase.h"
#include "refdb/CADORecordset.h"
#include "refdb/ComError.h"
#include "refdb/DataProvider.h"

#include <gtest/gtest.h>

#include <string>

using namespace frusta;
using frusta::test::connection;
using frusta::test::testData;

TEST(ErrorReport, CodeMeaningsOutsideTheKnownCodes) {
    // Codes inside the IDispatch range are checked through the reports below.
    EXPECT_EQ(codeMeaning(0x80040200), "Unknown error 0x80040200");
    EXPECT_EQ(codeMeaning(0x80050000), "Unknown error 0x80050000");
}

TEST(ErrorReport, FilesTheProviderCannotOpen) {
    test::ScratchDir dir;
    test::writeFile(dir / "notes.mdb", "This is a text file, not a database.\n");
    const std::string jet = "Microsoft JET Database Engine";
    const std::string notAccess = "'. The file is not an Access database.";
    const struct {
        const char* provider;
        std::filesystem::path file;
        std::string source, before, after; // the description: before, the path, after
    } cases[] = {
        {kJetProvider, dir / "FRUSTA2.mdb", jet, "Could not find file '", "'."},
        {kJetProvider, dir / "notes.mdb", jet, "Unrecognized database format '", notAccess},
        {kAceProvider, dir / "notes.mdb", "Microsoft Office Access Database Engine",
         "Unrecognized database format '", notAccess},
        {kJetProvider, testData("refdb/reference.accdb"), jet, "Unrecognized database format '",
         "'. The file is in the Access 2007 or later (ACE) format, which the "
         "Microsoft.Jet.OLEDB.4.0 provider does not read."},
        {kJetProvider, dir.path(), jet, "The file '",
         "' cannot be opened: it is a folder, or it cannot be read."},
        {kSqliteProvider, testData("refdb/reference.mdb"), "SQLite",
         "Unrecognized database format '", "'. The file is not an SQLite database."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string cs = connection(c.provider, c.file);
        const std::string description = c.before + c.file.string() + c.after;
        CADODatabase db;
        EXPECT_FALSE(db.Open(cs));
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(db.GetLastErrorString(), "Connection String = " + cs +
                                               "\nCADODataBase Error\n\tCode = 80004005\n\tCode "
                                               "meaning = Unspecified error\n\tSource = " +
                                               c.source + "\n\tDescription = " + description +
                                               "\n");
        EXPECT_EQ(db.GetLastErrorCode(), 0x80004005u);
        EXPECT_EQ(db.GetLastErrorDescription(), description);
        EXPECT_EQ(db.GetConnectionString(), cs);
    }
}

TEST(ErrorReport, UnknownProvider) {
    CADODatabase db;
    const std::string cs = "Provider=Microsoft.Jet.OLEDB.3.51;Data Source=x.mdb";
    EXPECT_FALSE(db.Open(cs));
    EXPECT_EQ(db.GetLastErrorCode(), 0x800A0E7Au);
    EXPECT_EQ(db.GetLastErrorString(),
              "Connection String = " + cs +
                  "\nCADODataBase Error\n\tCode = 800a0e7a\n\tCode meaning = Unknown error "
                  "0x800A0E7A\n\tSource = ADODB.Connection\n\tDescription = Provider cannot be "
                  "found. It may not be properly installed ('Microsoft.Jet.OLEDB.3.51' is not one "
                  "of Microsoft.Jet.OLEDB.4.0, Microsoft.ACE.OLEDB.12.0 and SQLite).\n");
}

TEST(ErrorReport, ConnectionStringKeysIgnoreCase) {
    CADODatabase db;
    EXPECT_TRUE(db.Open("provider = microsoft.jet.oledb.4.0 ; DATA SOURCE=" +
                        testData("refdb/reference.mdb").string()));
    EXPECT_TRUE(db.IsOpen());
    db.Close();
    EXPECT_FALSE(db.IsOpen());
    db.Close(); // closing a closed connection does nothing
    // An empty connection string reopens the stored one.
    EXPECT_TRUE(db.Open());
}

class RecordsetErrors : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.Open(connection(kJetProvider, testData("refdb/reference.mdb"))));
    }
    CADODatabase db;
};

TEST_F(RecordsetErrors, MissingTable) {
    CADORecordset rs(db);
    EXPECT_FALSE(rs.Open("NoSuchTable", CADORecordset::openTable));
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_EQ(rs.GetLastErrorCode(), 0x80040E37u);
    EXPECT_EQ(rs.GetLastErrorString(),
              "Query = NoSuchTable\nCADORecordset Error\n\tCode = 80040e37\n\tCode meaning = "
              "IDispatch error #3127\n\tSource = Microsoft JET Database Engine\n\tDescription = "
              "The Microsoft Jet database engine cannot find the input table or query "
              "'NoSuchTable'.  Make sure it exists and that its name is spelled correctly.\n");
}

TEST_F(RecordsetErrors, StatementsThatCannotBeAnswered) {
    const std::string supported =
        "): this provider answers only a table name or Select * from T [where Col = value [and "
        "Col = value ...]] [order by Col [asc|desc], ...].";
    const std::string noField = "No value given for one or more required parameters: the table "
                                "'CoC' has no field 'Nothing'.";
    const std::string mismatch = "Data type mismatch in criteria expression: field '";
    const struct {
        const char* sql;
        const char* code; // and its meaning
        std::string description;
    } cases[] = {
        {"Select SiteType from CoC", "80040e14", "expected *"},
        {"Select * from CoC, Boundaries", "80040e14", "unexpected ','"},
        {"Select * from", "80040e14", "expected a table name"},
        {"Select * from [CoC", "80040e14", "a [name] is not closed"},
        {"Select * from CoC where Value > 1", "80040e14", "unexpected character '>'"},
        {"Select * from CoC where SiteType = Coefficient", "80040e14", "expected a value after ="},
        {"Select * from CoC where SiteType like 'T%'", "80040e14", "expected ="},
        {"Select * from CoC where SiteType = 'TDI' or SiteType = 'LTDI'", "80040e14",
         "unexpected 'or'"},
        {"Select * from CoC where SiteType = 'TDI", "80040e14", "a text value is not closed"},
        {"Select * from CoC order Coefficient", "80040e14", "expected by"},
        {"Select * from CoC order by", "80040e14", "expected a field name"},
        {"Select * from CoC group by SiteType", "80040e14", "unexpected 'group'"},
        {"Delete from CoC", "80040e14", "expected select"},
        {"Select * from CoC where Nothing = 'TDI'", "80040e10 #3088", noField},
        {"Select * from CoC order by Nothing", "80040e10 #3088", noField},
        {"Select * from CoC where Coefficient = 'TDI'", "80040e07 #3079",
         mismatch + "Coefficient'."},
        {"Select * from CoC where SiteType = 3", "80040e07 #3079", mismatch + "SiteType'."},
        {"Select * from Nothing where A = 'b'", "80040e37 #3127",
         "The Microsoft Jet database engine cannot find the input table or query 'Nothing'.  Make "
         "sure it exists and that its name is spelled correctly."},
    };
    CADORecordset rs(db);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        const std::string code = std::string(c.code).substr(0, 8);
        const bool unsupported = code == "80040e14";
        EXPECT_FALSE(rs.Open(c.sql));
        EXPECT_EQ(rs.GetLastErrorCode(), std::stoul(code, nullptr, 16));
        EXPECT_EQ(rs.GetLastErrorString(),
                  "Query = " + std::string(c.sql) + "\nCADORecordset Error\n\tCode = " + code +
                      "\n\tCode meaning = IDispatch error " +
                      (unsupported ? std::string("#3092") : std::string(c.code).substr(9)) +
                      "\n\tSource = Microsoft JET Database Engine\n\tDescription = " +
                      (unsupported ? "Unsupported statement (" + c.description + supported
                                   : c.description) +
                      "\n");
    }
    EXPECT_FALSE(rs.Open("CoC", CADORecordset::openStoredProc));
    EXPECT_EQ(rs.GetLastErrorCode(), 0x80040E14u);
}

TEST_F(RecordsetErrors, SelectDetectionAndReopening) {
    CADORecordset rs(db);
    const std::string sql = "   SELECT * FROM CoC WHERE SiteType = 'TDI' ORDER BY Coefficient";
    EXPECT_TRUE(rs.Open(sql, CADORecordset::openUnknown));
    EXPECT_EQ(rs.GetQuery(), sql.substr(3)); // leading blanks trimmed
    EXPECT_EQ(rs.GetRecordCount(), 4);
    // The same text as a table name fails.
    EXPECT_FALSE(rs.Open(sql, CADORecordset::openTable));
    EXPECT_EQ(rs.GetLastErrorCode(), 0x80040E37u);
    EXPECT_EQ(rs.GetLastErrorString().rfind("Query = SELECT * FROM CoC", 0), 0u);
    // An empty source reopens the previous query.
    EXPECT_TRUE(rs.Open("", CADORecordset::openUnknown));
    EXPECT_EQ(rs.GetRecordCount(), 4);
    // A bare table name with openUnknown opens the table.
    EXPECT_TRUE(rs.Open("[Boundaries]", CADORecordset::openUnknown));
    EXPECT_EQ(rs.GetRecordCount(), 9);
    // An option out of range fails without a report.
    const std::string before = rs.GetLastErrorString();
    EXPECT_FALSE(rs.Open("CoC", 7));
    EXPECT_EQ(rs.GetLastErrorString(), before);
}

TEST_F(RecordsetErrors, ValueReadsOutsideTheRecords) {
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open("Select * from CoC where SiteType = 'DAM'"));
    double d = 7;
    EXPECT_FALSE(rs.GetFieldValue(5, d));
    EXPECT_EQ(rs.GetLastErrorCode(), 0x800A0CC1u);
    rs.MoveNext();
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEof());
    EXPECT_FALSE(rs.GetFieldValue(2, d));
    EXPECT_EQ(rs.GetLastErrorCode(), 0x800A0BCDu);
    EXPECT_THROW(rs.MoveNext(), ComError);
    FieldInfo info;
    EXPECT_TRUE(rs.GetFieldInfo(0, info));
    EXPECT_EQ(info.actualSize, 0); // at the end
    EXPECT_THROW(rs.GetFieldInfo(3, info), ComError);
}

TEST_F(RecordsetErrors, ClosingTheConnectionClosesItsResultSets) {
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open("CoC", CADORecordset::openTable));
    EXPECT_TRUE(rs.IsOpen());
    db.Close();
    EXPECT_FALSE(rs.IsOpen());
    ASSERT_TRUE(db.Open());
    EXPECT_FALSE(rs.IsOpen()); // a new connection does not revive it
    EXPECT_THROW(rs.GetRecordCount(), ComError);
    db.Close();
    EXPECT_FALSE(rs.Open("CoC", CADORecordset::openTable));
    EXPECT_EQ(rs.GetLastErrorCode(), 0x800A0E7Du);
}
