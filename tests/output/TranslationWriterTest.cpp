#include "output/TranslationWriter.h"

#include "app/ScriptedPort.h"
#include "doc/TranslationFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace frusta;
namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path =
        fs::temp_directory_path() / ("frusta-translations-" + std::to_string(::getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
};

std::vector<std::string> codesOf(const std::string& path) {
    std::vector<std::string> out;
    for (const TranslationRow& r : readTranslationRows(path).rows)
        out.push_back(std::to_string(r.row) + ":" + r.from + ">" + r.to + "/" + r.note);
    return out;
}

TEST(TranslationWriter, AddsRowsToANewTableAndToItsOwnRowsInEachFormat) {
    Folder dir;
    for (const char* name : {"lab.csv", "lab.xlsx", "lab.xls"}) {
        const std::string path = (dir.path / name).string();
        ScriptedPort port;
        ASSERT_TRUE(addTranslationRow(path, {0, "OLD1", "AC001A", "renamed, 2019"}, port)) << name;
        ASSERT_TRUE(addTranslationRow(path, {0, "x2", "AC002A", ""}, port)) << name;
        EXPECT_TRUE(readTranslationRows(path).hasHeader) << name;
        EXPECT_EQ(codesOf(path),
                  (std::vector<std::string>{"2:OLD1>AC001A/renamed, 2019", "3:x2>AC002A/"}))
            << name;
        // A code mapped already, in another case, is not added twice.
        EXPECT_FALSE(addTranslationRow(path, {0, "old1", "AC003A", ""}, port)) << name;
        ASSERT_EQ(port.shown.size(), 1u) << name;
        EXPECT_EQ(port.shown[0].text, "The row could not be added to the taxon translation table " +
                                          std::string(name) + ".");
        EXPECT_EQ(port.shown[0].detail, "the code old1 is already mapped in row 2");
        EXPECT_EQ(codesOf(path).size(), 2u) << name;
    }
    for (const auto& entry : fs::directory_iterator(dir.path))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary file left";
}

TEST(TranslationWriter, RefusesWhatItCannotWrite) {
    Folder dir;
    const std::string ods = (dir.path / "lab.ods").string();
    const std::string broken = (dir.path / "broken.xlsx").string();
    std::ofstream(broken) << "not a workbook";
    const struct {
        std::string path;
        const char* detail;
    } cases[] = {
        {ods, "rows can be added to .csv, .xlsx and .xls tables"},
        {(dir.path / "missing" / "lab.csv").string(), nullptr},
        {broken, nullptr},
    };
    for (const auto& c : cases) {
        ScriptedPort port;
        EXPECT_FALSE(addTranslationRow(c.path, {0, "X", "Y", ""}, port)) << c.path;
        ASSERT_EQ(port.shown.size(), 1u) << c.path;
        if (c.detail)
            EXPECT_EQ(port.shown[0].detail, c.detail);
        else
            EXPECT_FALSE(port.shown[0].detail.empty()) << c.path;
    }
    EXPECT_FALSE(fs::exists(ods));
    std::ifstream in(broken);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not a workbook");
}

} // namespace
