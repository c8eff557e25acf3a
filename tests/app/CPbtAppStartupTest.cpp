// Start-up without window work: paths, the choice of reference database and provider, the
// master taxon list, the class names, and the states start-up can leave.
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "refdb/CADODatabase.h"
#include "refdb/RefdbTestSupport.h"

#include <gtest/gtest.h>

using namespace frusta;
using frusta::test::testData;

namespace {

const char* const kJet = "Microsoft.Jet.OLEDB.4.0";
const char* const kAce = "Microsoft.ACE.OLEDB.12.0";
const char* const kAceSource = "Microsoft Office Access Database Engine";
const char* const kMdb = "refdb/reference.mdb";
const char* const kAccdb = "refdb/reference.accdb";

// Files in the program folder, the database the user names (if any) and the connection
// start-up should try.
struct Layout {
    const char* what;
    std::vector<std::pair<const char*, std::string>> files; // name: a fixture, SQLite or bytes
    const char* named;
    const char* provider;
    const char* file;
};

// Lays out the files in a new folder and starts the program there.
struct Started {
    test::ScratchDir folder;
    ScriptedPort port;
    CPbtApp app;
    std::string connection;

    explicit Started(const Layout& layout) {
        for (const auto& [name, content] : layout.files) {
            const auto file = folder / name;
            std::filesystem::create_directories(file.parent_path());
            if (content == "sqlite")
                test::buildFixtureSqlite(file);
            else if (content == "sqlite without taxon list")
                test::buildFixtureSqlite(file, {"Boundaries", "CoC"});
            else if (content.rfind("refdb/", 0) == 0)
                std::filesystem::copy_file(testData(content), file);
            else
                test::writeFile(file, content);
        }
        StartupOptions options;
        options.programFolder = folder.path();
        if (layout.named)
            options.database = folder / layout.named;
        EXPECT_TRUE(app.InitInstance(port, options));
        connection = std::string("Provider=") + layout.provider +
                     ";Data Source=" + (folder / layout.file).string();
    }
};

} // namespace

TEST(Startup, EachLayoutOpensItsDatabaseWithTheRightProvider) {
    const Layout layouts[] = {
        {"Jet file", {{"FRUSTA2.mdb", kMdb}}, nullptr, kJet, "FRUSTA2.mdb"},
        {"ACE file under the Access name", {{"FRUSTA2.mdb", kAccdb}}, nullptr, kAce, "FRUSTA2.mdb"},
        {"bundled database only",
         {{"FRUSTA2.sqlite", "sqlite"}},
         nullptr,
         "SQLite",
         "FRUSTA2.sqlite"},
        {"Access preferred to the bundled database",
         {{"FRUSTA2.mdb", kMdb}, {"FRUSTA2.sqlite", "not used"}},
         nullptr,
         kJet,
         "FRUSTA2.mdb"},
        {"named database, provider by content",
         {{"FRUSTA2.mdb", kMdb}, {"other/reference.db", "sqlite"}},
         "other/reference.db",
         "SQLite",
         "other/reference.db"},
        {"named ACE database",
         {{"other/ref.accdb", kAccdb}},
         "other/ref.accdb",
         kAce,
         "other/ref.accdb"},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.what);
        Started s(layout);
        EXPECT_EQ(s.port.texts(), std::vector<std::string>());
        EXPECT_EQ(s.app.connectionString, s.connection);
        EXPECT_FALSE(s.app.database->IsOpen());
        ASSERT_TRUE(s.app.taxonTable);
        EXPECT_EQ(s.app.taxonTable->rowCount, 20);
        EXPECT_EQ(s.app.classNames,
                  (std::vector<std::string>{"High", "Good", "Moderate", "Poor", "Bad"}));
        // Later loads use the connection that worked.
        EXPECT_TRUE(s.app.LoadBoundaries("TDI4", s.port));
        EXPECT_TRUE(s.port.shown.empty());
        EXPECT_EQ(s.app.ExitInstance(), 0);
        EXPECT_FALSE(s.app.database->IsOpen());
    }
}

TEST(Startup, DatabasesThatCannotBeOpenedGiveBothMessages) {
    const std::pair<Layout, std::pair<const char*, const char*>> cases[] = {
        {{"no database at all", {}, nullptr, "SQLite", "FRUSTA2.sqlite"},
         {"SQLite", "Could not find file '"}},
        {{"unreadable Access database",
          {{"FRUSTA2.mdb", "no database"}},
          nullptr,
          kAce,
          "FRUSTA2.mdb"},
         {kAceSource, "not an Access database"}},
        {{"damaged bundled database",
          {{"FRUSTA2.sqlite", std::string("SQLite format 3\0", 16) + std::string(4096, 'Z')}},
          nullptr,
          "SQLite",
          "FRUSTA2.sqlite"},
         {"SQLite", "cannot be read as an SQLite database"}},
        {{"named database that is missing", {}, "absent.mdb", kAce, "absent.mdb"},
         {kAceSource, "Could not find file '"}},
    };
    for (const auto& [layout, report] : cases) {
        SCOPED_TRACE(layout.what);
        Started s(layout);
        ASSERT_EQ(s.port.shown.size(), 2u);
        const std::string& text = s.port.shown[0].text;
        EXPECT_EQ(text.rfind("Connection String = " + s.connection +
                                 "\nCADODataBase Error\n\tCode = 80004005\n\tCode meaning = "
                                 "Unspecified error\n\tSource = " +
                                 report.first + "\n\tDescription = ",
                             0),
                  0u)
            << text;
        EXPECT_NE(text.find(report.second), std::string::npos) << text;
        EXPECT_EQ(s.port.shown[0].buttons, Buttons::Ok);
        EXPECT_EQ(s.port.shown[1].text, "Error opening database");
        EXPECT_EQ(s.app.connectionString, s.connection);
        EXPECT_FALSE(s.app.database->IsOpen());
        EXPECT_FALSE(s.app.taxonTable);
        EXPECT_TRUE(s.app.classNames.empty());
    }
    // The whole report of the first case.
    Started s(cases[0].first);
    EXPECT_EQ(s.port.texts().at(0),
              "Connection String = " + s.connection +
                  "\nCADODataBase Error\n\tCode = 80004005\n\tCode meaning = Unspecified "
                  "error\n\tSource = SQLite\n\tDescription = Could not find file '" +
                  (s.folder / "FRUSTA2.sqlite").string() + "'.\n");
}

TEST(Startup, MissingTaxonListLeavesTheDatabaseOpen) {
    Started s({"", {{"FRUSTA2.sqlite", "sqlite without taxon list"}}, nullptr, "SQLite", ""});
    EXPECT_EQ(s.port.texts(), (std::vector<std::string>{"Error retrieving taxon list"}));
    EXPECT_TRUE(s.app.database->IsOpen());
    EXPECT_FALSE(s.app.taxonTable);
    EXPECT_TRUE(s.app.classNames.empty());
    s.app.ExitInstance();
    EXPECT_FALSE(s.app.database->IsOpen());
}

TEST(Startup, PathsBesideTheProgram) {
    Started s({"", {{"FRUSTA2.sqlite", "sqlite"}}, nullptr, "SQLite", ""});
    EXPECT_EQ(s.app.databasePath, s.folder / "FRUSTA2.sqlite");
    EXPECT_EQ(s.app.helpFileArg, " \"" + (s.folder / "FRUSTA2.pdf").string() + "\"");
    EXPECT_EQ(s.app.exampleFileArg,
              " \"" + (s.folder / "TestData" / "FRUSTA2TestData.xls").string() + "\"");
    const auto folder = executableFolder(); // the default program folder
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_TRUE(std::filesystem::exists(folder / "test_app")) << folder;
}

TEST(Startup, PathsNeedingQuotesStayOneValue) {
    test::ScratchDir dir;
    const auto folder = dir / "a;b";
    std::filesystem::create_directory(folder);
    test::buildFixtureSqlite(folder / "FRUSTA2.sqlite");
    ScriptedPort port;
    CPbtApp app;
    StartupOptions options;
    options.programFolder = folder;
    EXPECT_TRUE(app.InitInstance(port, options));
    EXPECT_TRUE(port.shown.empty());
    EXPECT_EQ(app.connectionString,
              "Provider=SQLite;Data Source=\"" + (folder / "FRUSTA2.sqlite").string() + "\"");
}
