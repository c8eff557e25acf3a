// Start-up without window work: paths, the choice of reference database and provider, the
// master taxon list, the class names, and the three states start-up can leave.
#include "app/CPbtApp.h"
#include "refdb/CADODatabase.h"
#include "refdb/RefdbTestSupport.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

using namespace frusta;
using frusta::test::testData;

namespace {

class Startup : public ::testing::Test {
protected:
    bool start(std::optional<std::filesystem::path> database = std::nullopt) {
        StartupOptions options;
        options.programFolder = dir.path();
        options.database = std::move(database);
        return app.InitInstance(port, options);
    }
    void copyIn(const std::string& fixture, const std::string& name) {
        std::filesystem::copy_file(testData(fixture), dir / name);
    }
    void expectNormalState() {
        EXPECT_TRUE(port.shown.empty()) << port.shown.front().text;
        EXPECT_FALSE(app.database->IsOpen());
        ASSERT_TRUE(app.taxonTable);
        EXPECT_EQ(app.taxonTable->rowCount, 20);
        EXPECT_EQ(app.classNames,
                  (std::vector<std::string>{"High", "Good", "Moderate", "Poor", "Bad"}));
    }

    test::ScratchDir dir;
    test::ScriptedPort port;
    CPbtApp app;
};

} // namespace

TEST_F(Startup, AccessDatabaseOpensWithJet) {
    copyIn("refdb/reference.mdb", "FRUSTA2.mdb");
    EXPECT_TRUE(start());
    expectNormalState();
    EXPECT_EQ(app.connectionString,
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (dir / "FRUSTA2.mdb").string());
    EXPECT_EQ(app.helpFileArg, " \"" + (dir / "FRUSTA2.pdf").string() + "\"");
    EXPECT_EQ(app.exampleFileArg,
              " \"" + (dir / "TestData" / "FRUSTA2TestData.xls").string() + "\"");
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_FALSE(app.database->IsOpen());
}

TEST_F(Startup, AceFileUnderTheAccessNameOpensWithAce) {
    copyIn("refdb/reference.accdb", "FRUSTA2.mdb");
    EXPECT_TRUE(start());
    expectNormalState();
    EXPECT_EQ(app.connectionString,
              "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + (dir / "FRUSTA2.mdb").string());
    // Later loads use the connection that worked.
    EXPECT_TRUE(app.LoadBoundaries("TDI4", port));
    EXPECT_TRUE(port.shown.empty());
}

TEST_F(Startup, WithoutAnAccessDatabaseTheBundledOneIsUsed) {
    test::buildFixtureSqlite(dir / "FRUSTA2.sqlite");
    EXPECT_TRUE(start());
    expectNormalState();
    EXPECT_EQ(app.connectionString,
              "Provider=SQLite;Data Source=" + (dir / "FRUSTA2.sqlite").string());
    EXPECT_EQ(app.databasePath, dir / "FRUSTA2.sqlite");
}

TEST_F(Startup, AnAccessDatabaseIsPreferredToTheBundledOne) {
    copyIn("refdb/reference.mdb", "FRUSTA2.mdb");
    test::writeFile(dir / "FRUSTA2.sqlite", "not used");
    EXPECT_TRUE(start());
    expectNormalState();
    EXPECT_EQ(app.connectionString.rfind("Provider=Microsoft.Jet.OLEDB.4.0;", 0), 0u);
}

TEST_F(Startup, NoDatabaseAtAll) {
    EXPECT_TRUE(start());
    ASSERT_EQ(port.shown.size(), 2u);
    const std::string cs = "Provider=SQLite;Data Source=" + (dir / "FRUSTA2.sqlite").string();
    EXPECT_EQ(port.shown[0].text,
              "Connection String = " + cs +
                  "\nCADODataBase Error\n\tCode = 80004005\n\tCode meaning = Unspecified "
                  "error\n\tSource = SQLite\n\tDescription = Could not find file '" +
                  (dir / "FRUSTA2.sqlite").string() + "'.\n");
    EXPECT_EQ(port.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(port.shown[1].text, "Error opening database");
    EXPECT_FALSE(app.database->IsOpen());
    EXPECT_FALSE(app.taxonTable);
    EXPECT_TRUE(app.classNames.empty());
    EXPECT_EQ(app.connectionString, cs);
}

TEST_F(Startup, AnUnreadableAccessDatabaseShowsTheAceReport) {
    test::writeFile(dir / "FRUSTA2.mdb", "no database here");
    EXPECT_TRUE(start());
    ASSERT_EQ(port.shown.size(), 2u);
    EXPECT_EQ(port.shown[0].text.rfind("Connection String = Provider=Microsoft.ACE.OLEDB.12.0;Data "
                                       "Source=" +
                                           (dir / "FRUSTA2.mdb").string() +
                                           "\nCADODataBase Error\n",
                                       0),
              0u)
        << port.shown[0].text;
    EXPECT_NE(port.shown[0].text.find("not an Access database"), std::string::npos);
    EXPECT_EQ(port.shown[1].text, "Error opening database");
    EXPECT_FALSE(app.taxonTable);
    EXPECT_TRUE(app.classNames.empty());
}

TEST_F(Startup, ADamagedBundledDatabaseGivesBothMessages) {
    test::writeFile(dir / "FRUSTA2.sqlite",
                    std::string("SQLite format 3\0", 16) + std::string(4096, '\x5A'));
    EXPECT_TRUE(start());
    ASSERT_EQ(port.shown.size(), 2u);
    EXPECT_EQ(port.shown[0].text.rfind("Connection String = Provider=SQLite;Data Source=" +
                                           (dir / "FRUSTA2.sqlite").string() +
                                           "\nCADODataBase Error\n",
                                       0),
              0u)
        << port.shown[0].text;
    EXPECT_NE(port.shown[0].text.find("cannot be read as an SQLite database"), std::string::npos)
        << port.shown[0].text;
    EXPECT_EQ(port.shown[1].text, "Error opening database");
    EXPECT_FALSE(app.taxonTable);
    EXPECT_TRUE(app.classNames.empty());
}

TEST_F(Startup, MissingTaxonListLeavesTheDatabaseOpen) {
    test::buildFixtureSqlite(dir / "FRUSTA2.sqlite", {"Boundaries", "CoC"});
    EXPECT_TRUE(start());
    EXPECT_EQ(port.texts(), (std::vector<std::string>{"Error retrieving taxon list"}));
    EXPECT_TRUE(app.database->IsOpen());
    EXPECT_FALSE(app.taxonTable);
    EXPECT_TRUE(app.classNames.empty());
    app.ExitInstance();
    EXPECT_FALSE(app.database->IsOpen());
}

TEST_F(Startup, ANamedDatabaseChoosesItsProviderByContent) {
    test::ScratchDir other;
    test::buildFixtureSqlite(other / "reference.db");
    copyIn("refdb/reference.mdb", "FRUSTA2.mdb"); // not used when a database is named
    EXPECT_TRUE(start(other / "reference.db"));
    expectNormalState();
    EXPECT_EQ(app.connectionString,
              "Provider=SQLite;Data Source=" + (other / "reference.db").string());

    CPbtApp second;
    test::ScriptedPort port2;
    StartupOptions options;
    options.programFolder = dir.path();
    options.database = testData("refdb/reference.accdb");
    EXPECT_TRUE(second.InitInstance(port2, options));
    EXPECT_TRUE(port2.shown.empty());
    EXPECT_EQ(second.connectionString.rfind("Provider=Microsoft.ACE.OLEDB.12.0;", 0), 0u);
}

TEST_F(Startup, NamedDatabaseThatIsMissing) {
    EXPECT_TRUE(start(dir / "absent.mdb"));
    ASSERT_EQ(port.shown.size(), 2u);
    EXPECT_EQ(port.shown[0].text.rfind("Connection String = Provider=Microsoft.ACE.OLEDB.12.0;", 0),
              0u);
    EXPECT_EQ(port.shown[1].text, "Error opening database");
}

TEST_F(Startup, PathsNeedingQuotesStayOneValue) {
    test::ScratchDir parent;
    const auto folder = parent / "a;b";
    std::filesystem::create_directory(folder);
    test::buildFixtureSqlite(folder / "FRUSTA2.sqlite");
    StartupOptions options;
    options.programFolder = folder;
    EXPECT_TRUE(app.InitInstance(port, options));
    EXPECT_TRUE(port.shown.empty());
    EXPECT_EQ(app.connectionString,
              "Provider=SQLite;Data Source=\"" + (folder / "FRUSTA2.sqlite").string() + "\"");
}

TEST(StartupFolder, DefaultsToTheExecutablesFolder) {
    const auto folder = executableFolder();
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_TRUE(std::filesystem::exists(folder / "test_app")) << folder;
}
