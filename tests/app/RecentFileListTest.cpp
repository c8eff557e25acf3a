#include "app/RecentFileList.h"
#include "app/ShellTexts.h"
#include "app/Version.h"

#include <gtest/gtest.h>

namespace frusta {
namespace {

TEST(RecentFileList, KeepsFourMostRecentFirstWithoutRepeats) {
    RecentFileList list;
    for (const char* p : {"/d/a.xls", "/d/b.xls", "/d/c.xls", "/d/d.xls", "/d/e.xls"})
        list.add(p);
    EXPECT_EQ(list.entries(),
              (std::vector<std::string>{"/d/e.xls", "/d/d.xls", "/d/c.xls", "/d/b.xls"}));
    list.add("/d/c.xls");
    EXPECT_EQ(list.entries(),
              (std::vector<std::string>{"/d/c.xls", "/d/e.xls", "/d/d.xls", "/d/b.xls"}));
    list.remove("/d/e.xls");
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"/d/c.xls", "/d/d.xls", "/d/b.xls"}));
}

TEST(RecentFileList, LoadsStoredEntriesInOrderDroppingEmptyOnes) {
    const RecentFileList list({"/x/1.xls", "", "/x/2.xlsx", "/x/1.xls"});
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"/x/1.xls", "/x/2.xlsx"}));
}

TEST(RecentFileList, MenuTextsAreAbbreviatedToThirtyCharacters) {
    struct Case {
        const char* path;
        const char* shown;
    } cases[] = {
        {"/home/ann/data/rivers.xls", "/home/ann/data/rivers.xls"},
        {"/home/ann/monitoring/2024/north/rivers.xls", "/.../2024/north/rivers.xls"},
        {"/home/ann/a-very-long-folder-name/surveys-of-2024.xlsx", "/.../surveys-of-2024.xlsx"},
        {"/home/ann/a-workbook-name-longer-than-thirty.xlsx",
         "a-workbook-name-longer-than-thirty.xlsx"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(abbreviatePath(c.path, 30), c.shown) << c.path;
        EXPECT_LE(std::string(c.shown).size(), 30u + (std::string(c.shown) == c.path ? 0 : 20));
    }
    EXPECT_EQ(recentFileMenuText(0, "/d/R&D.xls"), "&1 /d/R&&D.xls");
    EXPECT_EQ(recentFileMenuText(3, "/d/a.xls"), "&4 /d/a.xls");
}

TEST(ShellTexts, VersionShowsThreePartsOfTheBuildVersion) {
    EXPECT_EQ(std::string(FRUSTA_VERSION), "2.0.1");
    EXPECT_EQ(productVersion(), "2.0.1");
    EXPECT_EQ(aboutText("2.0.1").substr(0, 24), "FRUSTA Version 2.0.1\r\n\r\n");
    EXPECT_EQ(splashVersionLine("2.0.1").substr(0, 15), "Version 2.0.1  ");
}

TEST(ShellTexts, ProgramFailuresCarryTheSystemsReason) {
    EXPECT_EQ(errorRunningProgramMessage("No such file or directory"),
              "Error Running Program\nNo such file or directory");
}

} // namespace
} // namespace frusta
