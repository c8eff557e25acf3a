// Books written as .xls and read back; the format's limits; saving that never destroys data.
#include "workbook/Book.h"
#include "workbook/xls/BiffRecords.h"
#include "workbook/xls/BiffWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace frusta {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path;
    TempDir() {
        path = fs::temp_directory_path() /
               ("xls-writer-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    static int& counter() {
        static int n = 0;
        return n;
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string longText(int i) {
    return "text " + std::to_string(i) + std::string(i % 50, 'x');
}

// A book with every kind of cell, thousands of shared strings and texts longer than a record.
std::unique_ptr<Book> sampleBook() {
    auto book = Book::createBinary();
    Format* date = book->addFormat();
    date->setNumFormat(14);
    Format* two = book->addFormat();
    two->setNumFormat(2);
    Sheet* a = book->addSheet("Job Summary");
    a->writeStr(0, 0, "File:\tResults");
    a->writeNum(1, 0, 40179, date);
    a->writeNum(1, 1, 0.123456, two);
    a->writeNum(2, 0, 0.1);
    a->writeNum(2, 1, -42);
    a->writeNum(2, 2, 12.34);
    a->writeNum(2, 3, 1e300);
    a->writeNum(2, 4, 1.5);
    a->writeNum(2, 5, 1073741824.0); // an integer beyond the RK range
    a->writeNum(2, 6, std::nan(""));
    a->setBool(3, 0, true);
    a->setError(3, 1, 0x07);
    a->setBlank(3, 2);
    a->writeStr(4, 0, "");
    a->writeStr(5, 0, std::string(20000, 'L'));
    std::string wide;
    for (int i = 0; i < 9000; ++i)
        wide += "\u0416";
    a->writeStr(5, 1, wide);
    a->writeStr(5, 2, "Gr\u00FC\u00DFe \U0001F600");
    Sheet* b = book->addSheet("Sample Summary");
    for (int r = 0; r < 4000; ++r) {
        b->writeStr(r, 0, longText(r));
        b->writeStr(r, 1, "same");
        b->writeNum(r, 2, r * 0.25);
    }
    b->writeStr(65535, 255, "corner");
    book->addSheet("Uncertainty TDI4");
    return book;
}

TEST(XlsWriter, BooksReadBackIdentically) {
    TempDir dir;
    auto book = sampleBook();
    const std::string path = dir.file("Results.xls");
    ASSERT_TRUE(book->save(path)) << book->errorMessage();
    EXPECT_STREQ(book->errorMessage(), "ok");
    auto back = Book::createBinary();
    ASSERT_TRUE(back->load(path)) << back->errorMessage();
    ASSERT_EQ(back->sheetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const Sheet& want = *book->getSheet(i);
        const Sheet& got = *back->getSheet(i);
        EXPECT_EQ(got.name(), want.name());
        EXPECT_EQ(got.lastRow(), want.lastRow());
        EXPECT_EQ(got.lastCol(), want.lastCol());
        for (int r = 0; r < want.lastRow(); ++r) {
            for (const Cell& cell : want.rows()[r]) {
                const int c = static_cast<int>(cell.col);
                const CellType t = want.cellType(r, c);
                if (r == 2 && c == 6) { // NaN is written as #NUM!
                    EXPECT_EQ(got.cellType(r, c), CellType::Error);
                    EXPECT_EQ(got.readError(r, c), 0x24);
                    continue;
                }
                ASSERT_EQ(got.cellType(r, c), t) << i << ":" << r << "," << c;
                if (t == CellType::String) {
                    EXPECT_STREQ(got.readStr(r, c), want.readStr(r, c)) << r << "," << c;
                }
                EXPECT_EQ(got.readNum(r, c), want.readNum(r, c)) << r << "," << c;
                EXPECT_EQ(got.readBool(r, c), want.readBool(r, c));
                EXPECT_EQ(got.readError(r, c), want.readError(r, c));
            }
        }
    }
}

TEST(XlsWriter, RkIsUsedOnlyWhereExact) {
    for (double v : {0.0, 1.0, -1.0, 536870911.0, -536870912.0, 12.34, 1.5, -0.015, 0.25, 1e300,
                     0.1, 536870912.0, 1.0 / 3.0, 123456.78}) {
        uint32_t rk;
        if (xls::encodeRk(v, rk)) {
            EXPECT_EQ(xls::rec::decodeRk(rk), v) << v;
        }
    }
    uint32_t rk;
    EXPECT_TRUE(xls::encodeRk(12.34, rk));
    EXPECT_EQ(rk & 3u, 3u);
    EXPECT_TRUE(xls::encodeRk(1.5, rk));
    EXPECT_EQ(rk, 0x3FF80000u);
    EXPECT_FALSE(xls::encodeRk(0.001, rk));
    EXPECT_FALSE(xls::encodeRk(1.0 / 3.0, rk));
}

TEST(XlsWriter, LimitsOfTheFormatAreReportedAndNothingIsDestroyed) {
    TempDir dir;
    const std::string path = dir.file("precious.xls");
    std::ofstream(path) << "precious";
    struct Case {
        std::function<void(Book&)> fill;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {[](Book& b) { b.addSheet("Big")->writeNum(65536, 0, 1); },
         "sheet 'Big' uses 65537 rows; an Excel 97-2003 workbook holds at most 65,536 rows per "
         "sheet"},
        {[](Book& b) { b.addSheet("Wide")->writeNum(0, 256, 1); },
         "sheet 'Wide' uses 257 columns; an Excel 97-2003 workbook holds at most 256 columns "
         "per sheet"},
        {[](Book&) {}, "the workbook has no worksheet"},
        {[](Book& b) { b.addSheet("a/b"); }, "the sheet name 'a/b' cannot be used"},
        {[](Book& b) { b.addSheet(std::string(32, 'n')); }, "cannot be used"},
        {[](Book& b) {
             b.addSheet("Same");
             b.addSheet("SAME");
         },
         "two sheets are named 'SAME'"},
        {[](Book& b) { b.addSheet("T")->writeStr(0, 0, std::string(32768, 'x')); },
         "a text in sheet 'T' is longer than the 32,767 characters a cell can hold"},
    };
    for (const Case& c : cases) {
        Book book(BookKind::Binary);
        c.fill(book);
        EXPECT_FALSE(book.save(path));
        EXPECT_NE(std::string(book.errorMessage()).find(c.reason), std::string::npos)
            << book.errorMessage();
        EXPECT_EQ(std::string(book.errorMessage()).rfind("can't save '" + path + "': ", 0), 0u);
        EXPECT_EQ(slurp(path), "precious");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(XlsWriter, SaveFailuresLeaveTheTargetAlone) {
    TempDir dir;
    auto book = Book::createBinary();
    book->addSheet("S")->writeNum(0, 0, 1);
    EXPECT_FALSE(book->save(dir.file("missing/Results.xls")));
    EXPECT_NE(std::string(book->errorMessage()).find("the folder does not exist"),
              std::string::npos);
    fs::create_directory(dir.path / "folder.xls");
    EXPECT_FALSE(book->save(dir.file("folder.xls")));
    EXPECT_TRUE(fs::is_directory(dir.path / "folder.xls"));
    // Overwriting an existing workbook replaces it whole.
    const std::string path = dir.file("r.xls");
    std::ofstream(path) << "old";
    ASSERT_TRUE(book->save(path));
    auto back = Book::createBinary();
    ASSERT_TRUE(back->load(path));
    EXPECT_EQ(back->getSheet(0)->readNum(0, 0), 1.0);
}

} // namespace
} // namespace frusta
