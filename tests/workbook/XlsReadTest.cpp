// .xls files written by other programs (xlwt, LibreOffice, Excel) read with the right
// types and values.
#include "workbook/Book.h"

#include <gtest/gtest.h>

namespace frusta {
namespace {

std::unique_ptr<Book> open(const std::string& relative) {
    auto book = Book::createBinary();
    const std::string path = std::string(FRUSTA_TEST_DATA_DIR) + "/workbook/" + relative;
    EXPECT_TRUE(book->load(path)) << relative << ": " << book->errorMessage();
    return book;
}

std::string refusal(const std::string& relative) {
    auto book = Book::createBinary();
    EXPECT_FALSE(book->load(std::string(FRUSTA_TEST_DATA_DIR) + "/workbook/" + relative));
    return book->errorMessage();
}

TEST(XlsRead, XlwtBookWithEveryCellType) {
    auto book = open("xls/xlwt_types.xls");
    ASSERT_EQ(book->sheetCount(), 3);
    EXPECT_EQ(book->getSheet(1)->name(), "Second");
    EXPECT_EQ(book->getSheet(2)->lastRow(), 0);
    const Sheet& s = *book->getSheet(0);
    EXPECT_STREQ(s.readStr(0, 1), "Gr\u00FC\u00DFe \u2013 \u03A9mega \u20AC");
    EXPECT_STREQ(s.readStr(0, 2), "caf\u00E9");
    EXPECT_EQ(s.readNum(1, 0), 42.0);
    EXPECT_EQ(s.readNum(1, 1), -1.5);
    EXPECT_EQ(s.readNum(1, 2), 0.1);
    EXPECT_EQ(s.readNum(1, 3), 1234567890123.0);
    EXPECT_EQ(s.readNum(1, 4), 12.34);
    EXPECT_EQ(s.cellType(2, 0), CellType::Boolean);
    EXPECT_TRUE(s.readBool(2, 0));
    EXPECT_FALSE(s.readBool(2, 1));
    EXPECT_EQ(s.readNum(3, 0), 40179.0); // 2010-01-01
    EXPECT_EQ(s.readNum(3, 1), 3.14159);
    EXPECT_STREQ(s.readStr(5, 255), "last column");
    EXPECT_STREQ(s.readStr(65535, 0), "last row");
    EXPECT_EQ(s.lastRow(), 65536);
    EXPECT_EQ(s.lastCol(), 256);
}

TEST(XlsRead, DatesOfA1904BookAreGivenIn1900DayNumbers) {
    auto book = open("xls/xlwt_1904.xls");
    const Sheet& s = *book->getSheet(0);
    EXPECT_EQ(s.readNum(0, 0), 36526.0);          // 1-Jan-2000, date-formatted
    EXPECT_EQ(s.readNum(0, 1), 36526.0 - 1462.0); // the same number without a date format
    EXPECT_EQ(s.readNum(1, 0), 1462.5);           // a time of day is a date-system number too
    auto excel = open("corpus/1904DateWindowing.xls");
    EXPECT_EQ(excel->getSheet(0)->readNum(0, 0), 36526.0);
}

TEST(XlsRead, LongSharedStringTableWithContinueRecords) {
    auto book = open("xls/xlwt_long_sst.xls");
    const Sheet& s = *book->getSheet(0);
    EXPECT_EQ(s.lastRow(), 3000);
    EXPECT_STREQ(s.readStr(2999, 0), "string 02999 abcdefghijabcdefghijabcdefghij");
    EXPECT_STREQ(s.readStr(2997, 1), "\u03A92997");
    EXPECT_EQ(std::string(s.readStr(0, 2)), std::string(20000, 'L'));
    std::string zhe;
    for (int i = 0; i < 9000; ++i)
        zhe += "\u0416";
    EXPECT_EQ(std::string(s.readStr(1, 2)), zhe);
}

TEST(XlsRead, LibreOfficeFormulasGiveTheirCachedValues) {
    auto book = open("xls/lo_formulas.xls");
    ASSERT_EQ(book->sheetCount(), 2);
    EXPECT_EQ(book->getSheet(1)->name(), "Zweites Blatt");
    EXPECT_STREQ(book->getSheet(1)->readStr(0, 0), "Stra\u00DFe");
    const Sheet& s = *book->getSheet(0);
    EXPECT_EQ(s.readNum(0, 1), 42.0);
    EXPECT_STREQ(s.readStr(0, 2), "abcd");
    EXPECT_EQ(s.cellType(0, 3), CellType::Boolean);
    EXPECT_TRUE(s.readBool(0, 3));
    EXPECT_EQ(s.cellType(0, 4), CellType::Error);
    EXPECT_EQ(s.readError(0, 4), 0x07);
    EXPECT_EQ(s.cellType(0, 5), CellType::String);
    EXPECT_STREQ(s.readStr(0, 5), "");
    EXPECT_FALSE(s.readBool(0, 7));
    EXPECT_EQ(s.readError(1, 1), 0x2A);
    EXPECT_EQ(s.readNum(2, 0), 44259.0); // 2021-03-04
    EXPECT_EQ(s.readNum(38, 4), 395.25);
}

TEST(XlsRead, UnreadableBooksAreRefusedWithAReason) {
    EXPECT_EQ(refusal("corpus/password.xls"),
              "the workbook is password-protected; remove the password in Excel and save it "
              "again");
    EXPECT_EQ(refusal("corpus/testEXCEL_95.xls"),
              "the file is an Excel 5.0/95 workbook, which cannot be read; save it in Excel "
              "97-2003 or a later format");
    EXPECT_EQ(refusal("corpus/LICENSE.poi-test-data"),
              "the file is neither an Excel 97-2003 (.xls) nor an Excel 2007 (.xlsx) workbook");
    EXPECT_EQ(refusal("corpus/clusterfuzz-testcase-minimized-POIHSSFFuzzer-6137883240824832.xls"),
              "the file is damaged: its compound-file header is invalid");
}

} // namespace
} // namespace frusta
