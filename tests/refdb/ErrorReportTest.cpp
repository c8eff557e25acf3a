#include "RefdbTestSupport.h"
#include "refdb/CADODatabase.h"
#include "refdb/CADORecordset.h"
#include "refdb/ComError.h"
#include "refdb/DataProvider.h"

#include <gtest/gtest.h>

using namespace frusta;
using frusta::test::connection;
using frusta::test::testData;

TEST(ErrorReport, CodeMeanings) {
    EXPECT_EQ(codeMeaning(0x80004005), "Unspecified error");
    EXPECT_EQ(codeMeaning(0x80040E37), "IDispatch error #3127");
    EXPECT_EQ(codeMeaning(0x80040E14), "IDispatch error #3092");
    EXPECT_EQ(codeMeaning(0x80040200), "Unknown error 0x80040200");
    EXPECT_EQ(codeMeaning(0x800A0E7A), "Unknown error 0x800A0E7A");
    EXPECT_EQ(codeMeaning(0x80050000), "Unknown error 0x80050000");
}

TEST(ErrorReport, MissingFileGivesTheFullConnectionReport) {
    test::ScratchDir dir;
    const auto file = dir / "FRUSTA2.mdb";
    const std::string cs = connection(kJetProvider, file);
    CADODatabase db;
    EXPECT_FALSE(db.Open(cs));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.GetLastErrorString(),
              "Connection String = " + cs +
                  "\nCADODataBase Error\n\tCode = 80004005\n\tCode meaning = Unspecified "
                  "error\n\tSource = Microsoft JET Database Engine\n\tDescription = Could not "
                  "find file '" +
                  file.string() + "'.\n");
    EXPECT_EQ(db.GetLastErrorCode(), 0x80004005u);
    EXPECT_EQ(db.GetLastErrorDescription(), "Could not find file '" + file.string() + "'.");
    EXPECT_EQ(db.GetConnectionString(), cs);
}

TEST(ErrorReport, FilesTheProviderDoesNotRead) {
    test::ScratchDir dir;
    test::writeFile(dir / "notes.mdb", "This is a text file, not a database.\n");
    struct Case {
        const char* provider;
        std::filesystem::path file;
        const char* source;
        const char* cause;
    } cases[] = {
        {kJetProvider, dir / "notes.mdb", "Microsoft JET Database Engine",
         "not an Access database"},
        {kAceProvider, dir / "notes.mdb", "Microsoft Office Access Database Engine",
         "not an Access database"},
        {kJetProvider, testData("refdb/reference.accdb"), "Microsoft JET Database Engine",
         "(ACE) format, which the Microsoft.Jet.OLEDB.4.0 provider does not read"},
        {kJetProvider, dir.path(), "Microsoft JET Database Engine", "it is a folder"},
        {kSqliteProvider, testData("refdb/reference.mdb"), "SQLite", "not an SQLite database"},
    };
    for (const auto& c : cases) {
        CADODatabase db;
        EXPECT_FALSE(db.Open(connection(c.provider, c.file)));
        const std::string report = db.GetLastErrorString();
        EXPECT_NE(report.find("\tCode = 80004005\n\tCode meaning = Unspecified error\n\tSource = " +
                              std::string(c.source) + "\n"),
                  std::string::npos)
            << report;
        EXPECT_NE(report.find(c.cause), std::string::npos) << report;
    }
}

TEST(ErrorReport, UnknownProvider) {
    CADODatabase db;
    const std::string cs = "Provider=Microsoft.Jet.OLEDB.3.51;Data Source=x.mdb";
    EXPECT_FALSE(db.Open(cs));
    EXPECT_EQ(db.GetLastErrorCode(), 0x800A0E7Au);
    EXPECT_EQ(db.GetLastErrorString().rfind("Connection String = " + cs +
                                                "\nCADODataBase Error\n\tCode = 800a0e7a\n\tCode "
                                                "meaning = Unknown error 0x800A0E7A\n\tSource = "
                                                "ADODB.Connection\n\tDescription = Provider cannot "
                                                "be found.",
                                            0),
              0u)
        << db.GetLastErrorString();
    EXPECT_NE(db.GetLastErrorString().find("'Microsoft.Jet.OLEDB.3.51'"), std::string::npos);
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
    EXPECT_FALSE(rs.Open("Select * from Nothing where A = 'b'"));
    EXPECT_EQ(rs.GetLastErrorCode(), 0x80040E37u);
}

TEST_F(RecordsetErrors, UnsupportedStatements) {
    CADORecordset rs(db);
    for (const char* sql :
         {"Select SiteType from CoC", "Delete from CoC", "Select * from CoC where Value > 1",
          "Select * from CoC where SiteType = 'TDI' or SiteType = 'LTDI'",
          "Select * from CoC order Coefficient", "Select * from CoC where SiteType = 'TDI"}) {
        EXPECT_FALSE(rs.Open(sql)) << sql;
        EXPECT_EQ(rs.GetLastErrorCode(), 0x80040E14u) << sql;
        EXPECT_EQ(rs.GetLastErrorString().rfind("Query = " + std::string(sql) +
                                                    "\nCADORecordset Error\n\tCode = "
                                                    "80040e14\n\tCode meaning = IDispatch error "
                                                    "#3092\n",
                                                0),
                  0u)
            << rs.GetLastErrorString();
        EXPECT_NE(rs.GetLastErrorString().find("Unsupported statement"), std::string::npos);
    }
    EXPECT_FALSE(rs.Open("Select * from CoC where Nothing = 'TDI'"));
    EXPECT_EQ(rs.GetLastErrorCode(), 0x80040E10u);
    EXPECT_FALSE(rs.Open("Select * from CoC where Coefficient = 'TDI'"));
    EXPECT_EQ(rs.GetLastErrorCode(), 0x80040E07u);
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
