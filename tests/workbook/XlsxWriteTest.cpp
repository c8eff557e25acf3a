// Writing .xlsx books: what is written reads back the same, and a save that fails leaves
// the existing file untouched and says why.
#include "XlsxTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>

using frusta::Book;
using frusta::CellType;
using frusta::Format;
using frusta::Sheet;
using namespace xlsxtest;

namespace {

std::vector<std::string> filesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(XlsxWrite, ReadsBackAsWritten) {
    auto book = Book::createXml();
    Format* date = book->addFormat();
    date->setNumFormat(14);
    Format* twoDecimals = book->addFormat();
    twoDecimals->setNumFormat(2);
    const std::vector<std::string> texts = {
        "Grüße – 水 \U0001F600", "tab\there",  "line\r\nbreak",        "ctl\x01\x1f",
        "_x0041_ literal",       "<&>\"' ]]>", std::string(32767, 'w')};
    const std::vector<double> numbers = {
        0, -1.5, 1e-300, 123456.789, 1e15, 9007199254740993.0, 1.0 / 3, 40179};
    Sheet* first = book->addSheet("Job Summary");
    Sheet* second = book->addSheet("Sample Summary");
    book->addSheet("Empty");
    for (std::size_t i = 0; i < texts.size(); ++i)
        first->writeStr(static_cast<int>(i), 0, texts[i]);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        second->writeNum(static_cast<int>(i) + 1, 2, numbers[i]);
    second->writeNum(0, 0, 40179, date);
    second->writeNum(0, 1, 0.125, twoDecimals);
    second->writeStr(0, 5, "", twoDecimals); // an empty text comes back blank
    second->writeStr(1, 5, "");              // or not at all without a format
    second->setBool(20, 16383, true);

    TempDir dir;
    const std::string path = dir.file("out.xlsx");
    ASSERT_TRUE(book->save(path)) << book->errorMessage();
    EXPECT_STREQ(book->errorMessage(), "ok");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"out.xlsx"});

    const auto loaded = load(path);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    ASSERT_EQ(loaded.book->sheetCount(), 3);
    const Sheet& a = *loaded.book->getSheet(0);
    const Sheet& b = *loaded.book->getSheet(1);
    EXPECT_EQ(a.name(), "Job Summary");
    EXPECT_EQ(b.name(), "Sample Summary");
    EXPECT_EQ(loaded.book->getSheet(2)->lastRow(), 0);
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(a.readStr(static_cast<int>(i), 0), texts[i]) << i;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(b.readNum(static_cast<int>(i) + 1, 2), numbers[i]) << i;
    EXPECT_EQ(b.readNum(0, 0), 40179);
    EXPECT_EQ(b.readNum(0, 1), 0.125);
    EXPECT_EQ(b.cellType(0, 5), CellType::Blank);
    EXPECT_EQ(b.cellType(1, 5), CellType::Empty);
    EXPECT_TRUE(b.readBool(20, 16383));
    EXPECT_EQ(b.lastRow(), 21);
    EXPECT_EQ(b.lastCol(), 16384);
}

TEST(XlsxWrite, NumbersKeepSixteenSignificantDigits) {
    // The writer library prints 16 significant digits: a number that needs 17 comes back
    // within one unit in the last place.
    auto book = Book::createXml();
    book->addSheet("S")->writeNum(0, 0, 0.1 + 0.2);
    TempDir dir;
    ASSERT_TRUE(book->save(dir.file("n.xlsx")));
    const double back = load(dir.file("n.xlsx")).book->getSheet(0)->readNum(0, 0);
    EXPECT_LE(std::fabs(back - (0.1 + 0.2)), std::numeric_limits<double>::epsilon());
}

TEST(XlsxWrite, FailuresLeaveTheExistingFileAndSayWhy) {
    TempDir dir;
    const std::string path = dir.file("results.xlsx");
    writeFile(path, "previous contents");
    struct Case {
        const char* what;
        std::function<void(Book&)> build;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"empty name", [](Book& b) { b.addSheet(""); }, "a worksheet name can't be empty"},
        {"long name", [](Book& b) { b.addSheet(std::string(32, 'n')); },
         "the worksheet name 'nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn' is longer than 31 characters"},
        {"bad character", [](Book& b) { b.addSheet("a/b"); },
         "the worksheet name 'a/b' contains one of the characters [ ] : * ? / \\"},
        {"apostrophe", [](Book& b) { b.addSheet("'x"); },
         "the worksheet name ''x' begins or ends with an apostrophe"},
        {"duplicate",
         [](Book& b) {
             b.addSheet("Data");
             b.addSheet("DATA");
         },
         "two worksheets are named 'DATA'"},
        {"not a number", [](Book& b) { b.addSheet("S")->writeNum(1, 1, std::nan("")); },
         "worksheet 'S', cell B2: the value is not a finite number"},
        {"infinite", [](Book& b) { b.addSheet("S")->writeNum(0, 0, HUGE_VAL); },
         "worksheet 'S', cell A1: the value is not a finite number"},
        {"long text", [](Book& b) { b.addSheet("S")->writeStr(2, 0, std::string(32768, 'x')); },
         "worksheet 'S', cell A3: the text is longer than 32767 characters"},
        {"error value", [](Book& b) { b.addSheet("S")->setError(0, 0, 7); },
         "worksheet 'S', cell A1: error values can't be written"},
        {"beyond the limits", [](Book& b) { b.addSheet("S")->setNumber(1048576, 0, 1); },
         "worksheet 'S' has cells beyond the limits of the format (1048576 rows, 16384 "
         "columns)"},
    };
    for (const auto& c : cases) {
        auto book = Book::createXml();
        c.build(*book);
        EXPECT_FALSE(book->save(path)) << c.what;
        EXPECT_EQ(book->errorMessage(), "can't save '" + path + "': " + c.reason) << c.what;
        EXPECT_EQ(readFile(path), "previous contents") << c.what;
        EXPECT_EQ(filesIn(dir), std::vector<std::string>{"results.xlsx"}) << c.what;
    }
}

TEST(XlsxWrite, FileSystemFailures) {
    TempDir dir;
    auto book = Book::createXml();
    book->addSheet("S")->writeNum(0, 0, 1);
    EXPECT_FALSE(book->save(dir.file("missing/out.xlsx")));
    EXPECT_EQ(std::string(book->errorMessage()),
              "can't save '" + dir.file("missing/out.xlsx") + "': the folder does not exist");
    fs::create_directory(dir.file("folder.xlsx"));
    EXPECT_FALSE(book->save(dir.file("folder.xlsx")));
    EXPECT_NE(std::string(book->errorMessage()).find("a folder of that name exists"),
              std::string::npos)
        << book->errorMessage();
    EXPECT_TRUE(fs::is_directory(dir.file("folder.xlsx")));
    if (geteuid() != 0) { // permissions do not stop root
        fs::create_directory(dir.file("locked"));
        chmod(dir.file("locked").c_str(), 0500);
        EXPECT_FALSE(book->save(dir.file("locked/out.xlsx")));
        EXPECT_NE(std::string(book->errorMessage()).find("permission denied"), std::string::npos);
    }
}

TEST(XlsxWrite, AWriteCutShortLeavesTheExistingFile) {
    // A file-size limit makes the writes fail as a full disk would.
    TempDir dir;
    const std::string path = dir.file("big.xlsx");
    writeFile(path, "previous contents");
    auto book = Book::createXml();
    Sheet* sheet = book->addSheet("S");
    for (int r = 0; r < 3000; ++r)
        for (int c = 0; c < 20; ++c)
            sheet->writeNum(r, c, r * 0.25 + c);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 20000;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = book->save(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_NE(std::string(book->errorMessage()).find("can't save '" + path + "': "),
              std::string::npos);
    EXPECT_EQ(readFile(path), "previous contents");
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{"big.xlsx"});
    EXPECT_TRUE(book->save(path)) << book->errorMessage();
    EXPECT_EQ(load(path).book->getSheet(0)->readNum(2999, 19), 2999 * 0.25 + 19);
}

} // namespace
