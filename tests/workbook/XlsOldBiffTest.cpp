// Excel 2.x to 95 workbooks (BIFF2 to BIFF7), and FORMULA records of the older types in
// BIFF8 books, in crafted streams: each test states the records it feeds the reader. The
// files of tests/data/workbook/xls (make_old_biff.py) are compared with xlrd cell by cell
// in test_corpus.py.
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

namespace frusta {
namespace {

using namespace wbtest;

Bytes bare(const std::vector<Rec>& records) {
    Bytes s;
    for (const Rec& r : records)
        append(s, r);
    return s;
}

// An Excel 2.x to 4.0 file, the bare record stream: loaded as the file is.
std::unique_ptr<Book> loadBare(const std::vector<Rec>& records) {
    auto book = Book::createBinary();
    std::string error;
    EXPECT_TRUE(xls::loadMemory(bare(records), *book, error)) << error;
    return book;
}

std::string bareError(const std::vector<Rec>& records) {
    Book book(BookKind::Binary);
    std::string error;
    EXPECT_FALSE(xls::loadMemory(bare(records), book, error));
    return error;
}

Rec bofOld(uint16_t type, uint16_t kind = 0x0010) {
    return type == 0x0009 ? rec(type, Body().u16(2).u16(kind))
                          : rec(type, Body().u16(0).u16(kind).u16(0));
}

// 8-bit texts with an 8-bit or a 16-bit byte count.
Body text8(const std::string& bytes) {
    return Body().u8(bytes.size()).raw(bytes);
}
Body text16(const std::string& bytes) {
    return Body().u16(bytes.size()).raw(bytes);
}

// The row and column, then the 3-byte attribute block of BIFF2 cells (XF index, format).
Body cell2(uint32_t row, uint32_t col, uint32_t xf = 0, uint32_t fmt = 0) {
    return Body().u16(row).u16(col).u8(xf).u8(fmt).u8(0);
}

// An Excel 5.0/95 workbook, in a compound file whose stream is named "Book".
std::unique_ptr<Book> load5(const std::vector<Rec>& globals,
                            const std::vector<std::vector<Rec>>& sheets) {
    return loadBook(makeStream(globals, sheets, {}, 0x0500), "Book");
}

TEST(XlsOldBiff, Biff2CellRecordsWithTheFormatsOfTheWorksheet) {
    // No CODEPAGE record: the texts are read as Windows-1252.
    auto book = loadBare({
        bofOld(0x0009),
        rec(0x0022, Body().u16(1)), // the 1904 date system
        rec(0x001E, text8("General")),
        rec(0x001E, text8("d-mmm-yy")),
        rec(0x0043, Body().u8(0).u8(0).u8(0).u8(0)),
        rec(0x0043, Body().u8(0).u8(0).u8(1).u8(0)),
        rec(0x0003, cell2(0, 0, 1).f64(35000)), // a date
        rec(0x0003, cell2(0, 1, 0).f64(35000)), // a number
        rec(0x0002, cell2(0, 2, 1).u16(36000)), // a date as INTEGER
        rec(0x0004, cell2(1, 0).u8(6).raw("caf\xE9 \x80")),
        rec(0x0005, cell2(1, 1).u8(1).u8(0)),
        rec(0x0005, cell2(1, 2).u8(0x2A).u8(1)),
        rec(0x0001, cell2(1, 3)),
        rec(0x0044, Body().u16(1)),            // IXFE: XF 63 is XF 1
        rec(0x0003, cell2(2, 0, 63).f64(100)), // a date
        // A formula of BIFF2: the result after the attribute block, its text in STRING.
        rec(0x0006, cell2(3, 0).u8(0).u8(0).u32(0).u16(0xFFFF).u8(0).u8(0)),
        rec(0x0007, text8("result")),
        rec(0x0006, cell2(3, 1, 1).f64(1000).u8(0).u8(0)),
        rec(0x000A, Body()),
    });
    ASSERT_EQ(book->sheetCount(), 1);
    const Sheet* s = book->getSheet(0);
    EXPECT_EQ(s->name(), "Sheet 1");
    EXPECT_EQ(s->readNum(0, 0), 36462.0);
    EXPECT_EQ(s->readNum(0, 1), 35000.0);
    EXPECT_EQ(s->readNum(0, 2), 37462.0);
    EXPECT_STREQ(s->readStr(1, 0), "caf\u00E9 \u20AC");
    EXPECT_TRUE(s->readBool(1, 1));
    EXPECT_EQ(s->readError(1, 2), 0x2A);
    EXPECT_EQ(s->cellType(1, 3), CellType::Blank);
    EXPECT_EQ(s->readNum(2, 0), 1562.0);
    EXPECT_STREQ(s->readStr(3, 0), "result");
    EXPECT_EQ(s->readNum(3, 1), 2462.0);
}

TEST(XlsOldBiff, Excel20BooksWithoutCellFormats) {
    // Without XF records the attribute block names the format itself.
    auto book = loadBare({
        bofOld(0x0009),
        rec(0x0022, Body().u16(1)),
        rec(0x001E, text8("General")),
        rec(0x001E, text8("0.00")),
        rec(0x001E, text8("yyyy-mm-dd")),
        rec(0x0003, cell2(0, 0, 0, 2).f64(1)),
        rec(0x0003, cell2(0, 1, 0, 1).f64(1)),
        rec(0x000A, Body()),
    });
    EXPECT_EQ(book->getSheet(0)->readNum(0, 0), 1463.0);
    EXPECT_EQ(book->getSheet(0)->readNum(0, 1), 1.0);
}

TEST(XlsOldBiff, Biff3AndBiff4Worksheets) {
    for (const uint16_t bofType : {uint16_t(0x0209), uint16_t(0x0409)}) {
        const bool biff4 = bofType == 0x0409;
        std::vector<Rec> r = {bofOld(bofType), rec(0x0042, Body().u16(1251)),
                              rec(0x0022, Body().u16(1))};
        for (const char* code : {"General", "dd.mm.yyyy"})
            r.push_back(biff4 ? rec(0x041E, Body().u16(0).u8(std::strlen(code)).raw(code))
                              : rec(0x001E, text8(code)));
        for (uint32_t fmt : {0u, 1u})
            r.push_back(
                rec(biff4 ? 0x0443 : 0x0243, Body().u8(0).u8(fmt).raw(std::string(10, '\0'))));
        const uint16_t formula = biff4 ? 0x0406 : 0x0206;
        for (const Rec& c : {
                 rec(0x0204, cell(0, 0, 0).u16(5).raw("\xCF\xF0\xEE\xE1\xE0")),
                 rec(0x0203, cell(0, 1, 1).f64(100)),
                 rec(0x027E, cell(0, 2, 0).u32((7u << 2) | 2)),
                 rec(0x0205, cell(0, 3, 0).u8(0).u8(0)),
                 rec(0x0201, cell(0, 4, 0)),
                 rec(formula, cell(1, 0, 1).f64(200).u16(0).u16(0)),
                 rec(formula, cell(1, 1, 0).u8(0).u8(0).u32(0).u16(0xFFFF).u16(0).u16(0)),
                 rec(0x0207, text16("\xD2\xE5\xEA\xF1\xF2")),
                 rec(formula,
                     cell(1, 2, 0).u8(2).u8(0).u8(0x24).u8(0).u16(0).u16(0xFFFF).u16(0).u16(0)),
                 eof(),
             })
            r.push_back(c);
        auto book = loadBare(r);
        const Sheet* s = book->getSheet(0);
        EXPECT_STREQ(s->readStr(0, 0), "\u041F\u0440\u043E\u0431\u0430") << bofType;
        EXPECT_EQ(s->readNum(0, 1), 1562.0);
        EXPECT_EQ(s->readNum(0, 2), 7.0);
        EXPECT_FALSE(s->readBool(0, 3));
        EXPECT_EQ(s->cellType(0, 3), CellType::Boolean);
        EXPECT_EQ(s->cellType(0, 4), CellType::Blank);
        EXPECT_EQ(s->readNum(1, 0), 1662.0);
        EXPECT_STREQ(s->readStr(1, 1), "\u0422\u0435\u043A\u0441\u0442");
        EXPECT_EQ(s->readError(1, 2), 0x24);
    }
}

TEST(XlsOldBiff, Biff4WorkbookFormEmbedsItsSheets) {
    auto sub = [](const std::vector<Rec>& cells) {
        std::vector<Rec> r = {bofOld(0x0409), rec(0x041E, Body().u16(0).u8(4).raw("m/yy")),
                              rec(0x0443, Body().u8(0).u8(0).raw(std::string(10, '\0')))};
        r.insert(r.end(), cells.begin(), cells.end());
        r.push_back(eof());
        return bare(r);
    };
    const Bytes first = sub({rec(0x0203, cell(0, 0, 0).f64(10))});
    const Bytes second = sub({rec(0x0204, cell(1, 1, 0).u16(2).raw("ok"))});
    Bytes s = bare({bofOld(0x0409, 0x0100), rec(0x0022, Body().u16(1))});
    auto sheetHeader = [](const Bytes& substream, const std::string& name) {
        return rec(0x008F, Body().u32(substream.size()).u8(name.size()).raw(name));
    };
    append(s, sheetHeader(first, "Eins"));
    s.insert(s.end(), first.begin(), first.end());
    append(s, sheetHeader(second, "Zwei"));
    s.insert(s.end(), second.begin(), second.end());
    append(s, eof());
    Book book(BookKind::Binary);
    std::string error;
    ASSERT_TRUE(xls::loadMemory(s, book, error)) << error;
    ASSERT_EQ(book.sheetCount(), 2);
    EXPECT_EQ(book.getSheet(0)->name(), "Eins");
    EXPECT_EQ(book.getSheet(0)->readNum(0, 0), 1472.0); // a date, 1904 system
    EXPECT_EQ(book.getSheet(1)->name(), "Zwei");
    EXPECT_STREQ(book.getSheet(1)->readStr(1, 1), "ok");
    EXPECT_EQ(book.getSheet(1)->cellType(0, 0), CellType::Empty);
}

TEST(XlsOldBiff, Biff5TextsInTheCodePageOfTheBook) {
    const std::vector<std::vector<Rec>> sheets = {{
        rec(0x0204, cell(0, 0).u16(4).raw("\x8E\x8E\x97\xBF")),
        rec(0x0204, cell(0, 1).u16(3).raw("a\x8E\x8E")),
        rec(0x0204, cell(0, 2).u16(2).raw("a\x81")), // a lead byte without its trail byte
        rec(0x00D6, cell(0, 3).u16(2).raw("\x97\xBF").u8(1).u8(0).u8(0)),
    }};
    auto cp932 = load5({rec(0x0042, Body().u16(932))}, sheets);
    const Sheet* s = cp932->getSheet(0);
    EXPECT_STREQ(s->readStr(0, 0), "\u8A66\u6599");
    EXPECT_STREQ(s->readStr(0, 1), "a\u8A66");
    EXPECT_STREQ(s->readStr(0, 2), "a\uFFFD");
    EXPECT_STREQ(s->readStr(0, 3), "\u6599");

    const std::vector<std::vector<Rec>> bytes = {{rec(0x0204, cell(0, 0).u16(2).raw("\x80\x8A"))}};
    const struct {
        int codePage; // 0: no CODEPAGE record
        const char* text;
    } cases[] = {
        {1252, "\u20AC\u0160"}, {0, "\u20AC\u0160"},     {4711, "\u20AC\u0160"}, // unknown
        {1251, "\u0402\u0409"}, {10000, "\u00C4\u00E4"}, {1200, "\u20AC\u0160"},
    };
    for (const auto& c : cases) {
        std::vector<Rec> globals;
        if (c.codePage)
            globals.push_back(rec(0x0042, Body().u16(c.codePage)));
        auto book = load5(globals, bytes);
        EXPECT_STREQ(book->getSheet(0)->readStr(0, 0), c.text) << c.codePage;
    }
}

TEST(XlsOldBiff, Biff5FormatsSheetNamesAndFormulaTexts) {
    std::vector<Rec> globals = {rec(0x0042, Body().u16(1252)), rec(0x0022, Body().u16(1)),
                                rec(0x041E, Body().u16(164).u8(9).raw("t\xE4g mm yy"))};
    for (int i = 0; i < 16; ++i)
        globals.push_back(rec(0x00E0, Body().u16(0).u16(0).raw(std::string(12, '\0'))));
    for (uint32_t fmt : {164u, 14u, 2u})
        globals.push_back(rec(0x00E0, Body().u16(0).u16(fmt).raw(std::string(12, '\0'))));
    auto book = load5(
        globals, {{
                     rec(0x0203, cell(0, 0, 16).f64(1)), rec(0x0203, cell(0, 1, 17).f64(1)),
                     rec(0x0203, cell(0, 2, 18).f64(1)),
                     rec(0x0006, cell(1, 0).u8(0).u8(0).u32(0).u16(0xFFFF).u16(0).u32(0).u16(0)),
                     rec(0x0207, Body().u16(6).raw("\xC4pf")),
                     rec(0x003C, Body().raw("el!")), // no flag byte in BIFF5
                 }});
    const Sheet* s = book->getSheet(0);
    EXPECT_EQ(s->name(), "S1");
    EXPECT_EQ(s->readNum(0, 0), 1463.0);
    EXPECT_EQ(s->readNum(0, 1), 1463.0);
    EXPECT_EQ(s->readNum(0, 2), 1.0);
    EXPECT_STREQ(s->readStr(1, 0), "\u00C4pfel!");
}

TEST(XlsOldBiff, FormulaRecordsOfOlderTypesInBiff8Books) {
    // Some writers give BIFF8 formulas the record types of BIFF3 (0x0206) and BIFF4 (0x0406);
    // their cached results are read like those of 0x0006.
    auto book = Book::createBinary();
    std::string error;
    ASSERT_TRUE(loadStream(
        makeStream(
            {}, {{
                    rec(0x0206, cell(0, 0).f64(2.5).u16(0).u32(0).u16(0)),
                    rec(0x0406, cell(0, 1).f64(-4).u16(0).u32(0).u16(0)),
                    rec(0x0406, cell(0, 2).u8(0).u8(0).u32(0).u16(0xFFFF).u16(0).u32(0).u16(0)),
                    rec(0x0207, Body().u16(3).u8(0).raw("abc")),
                    rec(0x0206,
                        cell(0, 3).u8(1).u8(0).u8(1).u8(0).u16(0).u16(0xFFFF).u16(0).u32(0).u16(0)),
                    rec(0x0406,
                        cell(0, 4).u8(2).u8(0).u8(7).u8(0).u16(0).u16(0xFFFF).u16(0).u32(0).u16(0)),
                    rec(0x0206, cell(0, 5).f64(9).u16(0)), // without the formula
                }}),
        *book, error))
        << error;
    const Sheet* s = book->getSheet(0);
    EXPECT_EQ(s->readNum(0, 0), 2.5);
    EXPECT_EQ(s->readNum(0, 1), -4.0);
    EXPECT_STREQ(s->readStr(0, 2), "abc");
    EXPECT_TRUE(s->readBool(0, 3));
    EXPECT_EQ(s->readError(0, 4), 0x07);
    EXPECT_EQ(s->readNum(0, 5), 9.0);
}

TEST(XlsOldBiff, RefusedWithAReason) {
    const std::string password =
        "the workbook is password-protected; remove the password in Excel and save it again";
    const std::string cut = "the file is damaged: a cell record is cut short";
    const struct {
        std::vector<Rec> records;
        std::string reason;
    } cases[] = {
        {{bofOld(0x0009, 0x0020), eof()},
         "the file is an Excel 2.x-4.0 chart or macro sheet, which holds no worksheet"},
        {{bofOld(0x0409, 0x0040), eof()},
         "the file is an Excel 2.x-4.0 chart or macro sheet, which holds no worksheet"},
        {{bof(0x0100, 0x0500), eof()},
         "the file is an Excel workspace, which holds no cells; open the workbooks it names "
         "instead"},
        {{bof(0x0010, 0x0500), eof()},
         "the file is damaged: its workbook stream does not start with the workbook globals"},
        {{bof(0x0005, 0x0100), eof()},
         "the file is an Excel workbook of an unknown version (unknown BIFF version)"},
        {{bofOld(0x0009), rec(0x002F, Body().u16(0)), eof()}, password},
        {{bofOld(0x0209), rec(0x0003, cell2(0, 0).u32(0)),
          rec(0x0004, cell2(0, 1).u8(9).raw("ab"))},
         cut},
        {{bofOld(0x0209), rec(0x0204, cell(0, 0, 0).u16(9).raw("ab"))}, cut},
        {{bofOld(0x0209), rec(0x0207, Body().u16(9).raw("ab"))},
         "the file is damaged: a formula's text result is cut short"},
        {{bofOld(0x0409, 0x0100), rec(0x008F, Body().u32(10)), eof()},
         "the file is damaged: a worksheet entry is invalid"},
        {{bofOld(0x0409, 0x0100), rec(0x0042, Body().u16(1252))},
         "the file is damaged: its workbook globals are cut short"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bareError(c.records), c.reason);
    // A formula record too short for its result, and a password in a compound file.
    EXPECT_EQ(loadError(makeStream({}, {{rec(0x0406, cell(0, 0).f64(1))}})), cut);
    EXPECT_EQ(loadError(makeStream({rec(0x002F, Body().u16(0))}, {{}}, {}, 0x0500), "Book"),
              password);
}

} // namespace
} // namespace frusta
