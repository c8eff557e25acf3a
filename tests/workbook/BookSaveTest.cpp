// A save that fails, for a book the format cannot hold or a file the system refuses, says
// why and leaves an existing file as it was, with no temporary file beside it.
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace frusta {
namespace {

using namespace wbtest;

const char* extension(BookKind kind) {
    return kind == BookKind::Binary ? ".xls" : ".xlsx";
}

// Saves with the size of written files limited to `limit` bytes, as a nearly full disk
// would limit them.
bool saveWithSizeLimit(Book& book, const std::string& path, rlim_t limit) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = book.save(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return saved;
}

struct Case {
    BookKind kind;
    std::function<void(Book&)> fill;
    std::string reason;
};

const Case kLimits[] = {
    {BookKind::Binary, [](Book& b) { b.addSheet("Big")->writeNum(65536, 0, 1); },
     "sheet 'Big' uses 65537 rows; an Excel 97-2003 workbook holds at most 65,536 rows per "
     "sheet"},
    {BookKind::Binary, [](Book& b) { b.addSheet("Wide")->writeNum(0, 256, 1); },
     "sheet 'Wide' uses 257 columns; an Excel 97-2003 workbook holds at most 256 columns per "
     "sheet"},
    {BookKind::Binary, [](Book&) {}, "the workbook has no worksheet"},
    {BookKind::Binary, [](Book& b) { b.addSheet("a/b"); },
     "the sheet name 'a/b' cannot be used in an Excel workbook (1 to 31 characters, none of : "
     "\\ / ? * [ ], not starting or ending with an apostrophe)"},
    {BookKind::Binary, [](Book& b) { b.addSheet(std::string(32, 'n')); },
     "the sheet name 'nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn' cannot be used in an Excel workbook (1 "
     "to 31 characters, none of : \\ / ? * [ ], not starting or ending with an apostrophe)"},
    {BookKind::Binary,
     [](Book& b) {
         b.addSheet("Same");
         b.addSheet("SAME");
     },
     "two sheets are named 'SAME'"},
    {BookKind::Binary, [](Book& b) { b.addSheet("T")->writeStr(0, 0, std::string(32768, 'x')); },
     "a text in sheet 'T' is longer than the 32,767 characters a cell can hold"},
    {BookKind::Xml, [](Book& b) { b.addSheet(""); }, "a worksheet name can't be empty"},
    {BookKind::Xml, [](Book& b) { b.addSheet(std::string(32, 'n')); },
     "the worksheet name 'nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn' is longer than 31 characters"},
    {BookKind::Xml, [](Book& b) { b.addSheet("a/b"); },
     "the worksheet name 'a/b' contains one of the characters [ ] : * ? / \\"},
    {BookKind::Xml, [](Book& b) { b.addSheet("'x"); },
     "the worksheet name ''x' begins or ends with an apostrophe"},
    {BookKind::Xml,
     [](Book& b) {
         b.addSheet("Data");
         b.addSheet("DATA");
     },
     "two worksheets are named 'DATA'"},
    {BookKind::Xml, [](Book& b) { b.addSheet("S")->writeNum(1, 1, std::nan("")); },
     "worksheet 'S', cell B2: the value is not a finite number"},
    {BookKind::Xml, [](Book& b) { b.addSheet("S")->writeNum(0, 0, HUGE_VAL); },
     "worksheet 'S', cell A1: the value is not a finite number"},
    {BookKind::Xml, [](Book& b) { b.addSheet("S")->writeStr(2, 0, std::string(32768, 'x')); },
     "worksheet 'S', cell A3: the text is longer than 32767 characters"},
    {BookKind::Xml, [](Book& b) { b.addSheet("S")->setError(0, 0, 7); },
     "worksheet 'S', cell A1: error values can't be written"},
    {BookKind::Xml, [](Book& b) { b.addSheet("S")->setNumber(1048576, 0, 1); },
     "worksheet 'S' has cells beyond the limits of the format (1048576 rows, 16384 columns)"},
};

TEST(BookSave, WhatTheFormatCannotHoldIsRefusedAndNothingIsDestroyed) {
    TempDir dir;
    for (const Case& c : kLimits) {
        const std::string path = dir.file(std::string("results") + extension(c.kind));
        writeFile(path, "previous contents");
        Book book(c.kind);
        c.fill(book);
        EXPECT_FALSE(book.save(path));
        EXPECT_EQ(book.errorMessage(), "can't save '" + path + "': " + c.reason);
        EXPECT_EQ(readFile(path), "previous contents");
        EXPECT_EQ(dir.files().size(), 1u);
        fs::remove(path);
    }
}

TEST(BookSave, WhereTheSystemRefusesTheFile) {
    for (const BookKind kind : {BookKind::Binary, BookKind::Xml}) {
        TempDir dir;
        const std::string name = std::string("results") + extension(kind);
        const std::string path = dir.file(name);
        writeFile(path, "previous contents");
        Book book(kind);
        Sheet* sheet = book.addSheet("S");
        for (int r = 0; r < 3000; ++r)
            for (int c = 0; c < 20; ++c)
                sheet->writeNum(r, c, r * 0.25 + c);

        // .xlsx files are written by a library that does not report failed writes: the
        // written file is found damaged when it is read back.
        const std::string tooLarge =
            kind == BookKind::Binary
                ? "the file is larger than the disk or the system's file size limit allows"
                : "the written file is damaged (is the disk full?): ";
        EXPECT_FALSE(saveWithSizeLimit(book, path, 20000));
        EXPECT_TRUE(
            std::string(book.errorMessage()).starts_with("can't save '" + path + "': " + tooLarge))
            << book.errorMessage();
        const std::string missing = dir.file("missing/" + name);
        EXPECT_FALSE(book.save(missing));
        EXPECT_EQ(book.errorMessage(), "can't save '" + missing + "': the folder does not exist");
        fs::create_directory(dir.file("folder" + name));
        EXPECT_FALSE(book.save(dir.file("folder" + name)));
        EXPECT_EQ(book.errorMessage(),
                  "can't save '" + dir.file("folder" + name) + "': a folder of that name exists");
        // sysfs refuses new files even to root, for whom permission bits do not count.
        const std::string denied = "/sys/kernel/" + name;
        if (fs::is_directory("/sys/kernel")) {
            EXPECT_FALSE(book.save(denied));
            EXPECT_EQ(book.errorMessage(), "can't save '" + denied + "': permission denied");
            EXPECT_FALSE(fs::exists(denied));
        }

        EXPECT_EQ(readFile(path), "previous contents");
        EXPECT_EQ(dir.files(), (std::vector<std::string>{"folder" + name, name}));
        ASSERT_TRUE(book.save(path)) << book.errorMessage();
        EXPECT_STREQ(book.errorMessage(), "");
        const auto back = load(path, kind);
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.book->getSheet(0)->readNum(2999, 19), 2999 * 0.25 + 19);
    }
}

} // namespace
} // namespace frusta
