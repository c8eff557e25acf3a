// The BIFF8 cell and string records, in crafted workbook streams.
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

namespace frusta {
namespace {

using namespace wbtest;

constexpr uint16_t kSst = 0x00FC, kContinue = 0x003C, kLabelSst = 0x00FD;

TEST(XlsRecords, SharedStringsSplitAcrossContinueRecords) {
    // "abcd" compressed, then the same string goes on in wide characters after a boundary
    // with its flag byte re-stated; a rich string with phonetic data whose runs and
    // phonetic bytes straddle boundaries; a string whose header ends a record.
    const Body sst = Body().u32(6).u32(5).str("Hello").u16(10).u8(0).raw("abcd");
    const Body c1 = Body()
                        .u8(1)
                        .wide(u"ef\u03A9hij")
                        .u16(3)
                        .u8(0x0C)
                        .u16(2)
                        .u32(6)
                        .raw("xyz")
                        .u32(0x00010000)
                        .u16(0x0003);
    const Body c2 = Body().u16(0x0001).raw("PHO");
    const Body c3 = Body().raw("NET").str("ok").u16(3).u8(0);
    const Body c4 = Body().u8(1).wide(u"\u03A9\u03A9\u03A9");
    std::vector<Rec> cells;
    for (uint32_t i = 0; i < 5; ++i)
        cells.push_back(rec(kLabelSst, cell(i, 0).u32(i)));
    auto book = loadBook(makeStream({rec(kSst, sst), rec(kContinue, c1), rec(kContinue, c2),
                                     rec(kContinue, c3), rec(kContinue, c4)},
                                    {cells}));
    const Sheet* s = book->getSheet(0);
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s->readStr(0, 0), "Hello");
    EXPECT_STREQ(s->readStr(1, 0), "abcdef\u03A9hij");
    EXPECT_STREQ(s->readStr(2, 0), "xyz");
    EXPECT_STREQ(s->readStr(3, 0), "ok");
    EXPECT_STREQ(s->readStr(4, 0), "\u03A9\u03A9\u03A9");
}

TEST(XlsRecords, NumbersInEveryEncoding) {
    auto book = loadBook(makeStream(
        {}, {{
                rec(0x0203, cell(0, 0).f64(0.1)),
                rec(0x027E, cell(0, 1).u32((7u << 2) | 2)),                        // integer
                rec(0x027E, cell(0, 2).u32((1234u << 2) | 3)),                     // integer / 100
                rec(0x027E, cell(0, 3).u32(0x3FF80000)),                           // double
                rec(0x027E, cell(0, 4).u32(0x3FF80000 | 1)),                       // double / 100
                rec(0x027E, cell(0, 5).u32((static_cast<uint32_t>(-3) << 2) | 2)), // negative
                rec(0x00BD,
                    Body().u16(1).u16(2).u16(15).u32((5u << 2) | 2).u16(15).u32(0x40000000).u16(3)),
            }}));
    const Sheet* s = book->getSheet(0);
    EXPECT_EQ(s->readNum(0, 0), 0.1);
    EXPECT_EQ(s->readNum(0, 1), 7.0);
    EXPECT_EQ(s->readNum(0, 2), 12.34);
    EXPECT_EQ(s->readNum(0, 3), 1.5);
    EXPECT_EQ(s->readNum(0, 4), 0.015);
    EXPECT_EQ(s->readNum(0, 5), -3.0);
    EXPECT_EQ(s->readNum(1, 2), 5.0);
    EXPECT_EQ(s->readNum(1, 3), 2.0);
    EXPECT_EQ(s->cellType(1, 1), CellType::Empty);
    EXPECT_EQ(s->lastRow(), 2);
    EXPECT_EQ(s->lastCol(), 6);
}

TEST(XlsRecords, TextsBlanksBooleansErrorsAndFormulaResults) {
    const Body stringResult = Body().u16(12).u8(0).raw("formula");
    const Body stringCont = Body().u8(1).wide(u"\u00E9text");
    auto book = loadBook(makeStream(
        {},
        {{
            rec(0x0204, cell(0, 0).str("label")),
            rec(0x00D6, cell(0, 1).str("rich").u16(1).u16(0).u16(0)),
            rec(0x0201, cell(1, 0)),
            rec(0x00BE, Body().u16(1).u16(2).u16(15).u16(15).u16(15).u16(4)),
            rec(0x0205, cell(2, 0).u8(1).u8(0)),
            rec(0x0205, cell(2, 1).u8(0x17).u8(1)),
            rec(0x0006, cell(3, 0).f64(6.5).u16(0).u32(0).u16(0)),
            rec(0x0006, cell(3, 1).u8(0).u8(0).u32(0).u16(0xFFFF).u16(0).u32(0).u16(0)),
            rec(0x04BC, Body().u32(0)), // a shared formula between FORMULA and STRING
            rec(0x0207, stringResult),
            rec(kContinue, stringCont),
            rec(0x0006, cell(3, 2).u8(1).u8(0).u8(1).u8(0).u16(0).u16(0xFFFF).u16(0).u32(0).u16(0)),
            rec(0x0006, cell(3, 3).u8(2).u8(0).u8(7).u8(0).u16(0).u16(0xFFFF).u16(0).u32(0).u16(0)),
            rec(0x0006, cell(3, 4).u8(3).u8(0).u32(0).u16(0xFFFF).u16(0).u32(0).u16(0)),
        }}));
    const Sheet* s = book->getSheet(0);
    EXPECT_STREQ(s->readStr(0, 0), "label");
    EXPECT_STREQ(s->readStr(0, 1), "rich");
    EXPECT_EQ(s->cellType(1, 0), CellType::Blank);
    EXPECT_EQ(s->cellType(1, 2), CellType::Blank);
    EXPECT_EQ(s->cellType(1, 4), CellType::Blank);
    EXPECT_EQ(s->cellType(1, 5), CellType::Empty);
    EXPECT_EQ(s->cellType(2, 0), CellType::Boolean);
    EXPECT_TRUE(s->readBool(2, 0));
    EXPECT_EQ(s->cellType(2, 1), CellType::Error);
    EXPECT_EQ(s->readError(2, 1), 0x17);
    EXPECT_EQ(s->readNum(3, 0), 6.5);
    EXPECT_STREQ(s->readStr(3, 1), "formula\u00E9text");
    EXPECT_TRUE(s->readBool(3, 2));
    EXPECT_EQ(s->readError(3, 3), 0x07);
    EXPECT_EQ(s->cellType(3, 4), CellType::String);
    EXPECT_STREQ(s->readStr(3, 4), "");
}

TEST(XlsRecords, CompressedTextsFollowTheCodePage) {
    const std::vector<Rec> cells = {rec(0x0204, cell(0, 0).str("\x80 caf\xE9"))};
    auto cp1252 = loadBook(makeStream({rec(0x0042, Body().u16(1252))}, {cells}));
    EXPECT_STREQ(cp1252->getSheet(0)->readStr(0, 0), "\u20AC caf\u00E9");
    auto latin1 = loadBook(makeStream({rec(0x0042, Body().u16(1200))}, {cells}));
    EXPECT_STREQ(latin1->getSheet(0)->readStr(0, 0), "\u0080 caf\u00E9");
}

TEST(XlsRecords, DatesOf1904BooksBecome1900DayNumbers) {
    std::vector<Rec> globals = {rec(0x0022, Body().u16(1)),
                                rec(0x041E, Body().u16(164).str("dd/mm/yyyy"))};
    for (int i = 0; i < 16; ++i)
        globals.push_back(rec(0x00E0, Body().u16(0).u16(0).u16(0).raw(std::string(14, '\0'))));
    for (uint32_t fmt : {164u, 14u, 2u})
        globals.push_back(rec(0x00E0, Body().u16(0).u16(fmt).u16(1).raw(std::string(14, '\0'))));
    auto book = loadBook(makeStream(globals, {{
                                                 rec(0x0203, cell(0, 0, 16).f64(34064)),
                                                 rec(0x027E, cell(0, 1, 17).u32((34064u << 2) | 2)),
                                                 rec(0x0203, cell(0, 2, 18).f64(34064)),
                                                 rec(0x0203, cell(0, 3, 15).f64(34064)),
                                             }}));
    const Sheet* s = book->getSheet(0);
    EXPECT_EQ(s->readNum(0, 0), 35526.0); // 1-Apr-1997
    EXPECT_EQ(s->readNum(0, 1), 35526.0);
    EXPECT_EQ(s->readNum(0, 2), 34064.0); // "0.00" is no date
    EXPECT_EQ(s->readNum(0, 3), 34064.0);
}

TEST(XlsRecords, ChartsAndEmbeddedSubstreamsAreSkipped) {
    auto book = loadBook(
        makeStream({},
                   {{rec(0x0203, cell(0, 0).f64(1)), bof(0x0020), rec(0x0203, cell(5, 5).f64(9)),
                     eof(), rec(0x0203, cell(1, 0).f64(2))},
                    {rec(0x0203, cell(0, 0).f64(3))}},
                   {0, 2}));
    ASSERT_EQ(book->sheetCount(), 1);
    const Sheet* s = book->getSheet(0);
    EXPECT_EQ(s->name(), "S1");
    EXPECT_EQ(s->readNum(1, 0), 2.0);
    EXPECT_EQ(s->cellType(5, 5), CellType::Empty);
}

TEST(XlsRecords, DamagedAndForeignStreamsAreRefusedWithAReason) {
    Bytes globalsCut;
    append(globalsCut, bof(0x0005));
    append(globalsCut, rec(0x0042, Body().u16(1200)));
    // A record claims more bytes than the stream holds (a stream long enough not to be
    // padded by the compound file).
    Bytes cut = makeStream({{0x0099, Bytes(5000, 0)}}, {{rec(0x0203, cell(0, 0).f64(1))}});
    cut.resize(cut.size() - 6);
    Bytes twice = makeStream({}, {{}, {}});
    std::memcpy(&twice[kBoundSheetBody[1]], &twice[kBoundSheetBody[0]], 4);
    const struct {
        Bytes stream;
        std::string name, reason;
    } cases[] = {
        {makeStream({}, {{}}), "WordDocument",
         "the file holds no Excel workbook (it may be another kind of Office document)"},
        {globalsCut, "Workbook", "the file is damaged: its workbook globals are cut short"},
        {cut, "Workbook", "the file is damaged: a worksheet is cut short"},
        {twice, "Workbook", "the file is damaged: two sheets point at the same data"},
        {makeStream({rec(kSst, Body().u32(1).u32(1).str("a"))},
                    {{rec(kLabelSst, cell(0, 0).u32(1))}}),
         "Workbook", "the file is damaged: a cell refers to a missing shared string"},
        {makeStream({rec(kSst, Body().u32(1).u32(1).u16(50).u8(0).raw("ab"))}, {}), "Workbook",
         "the file is damaged: a shared string runs past its table"},
        // Thousands of tiny sheets each reaching the last row exceed the row budget.
        {makeStream({}, std::vector<std::vector<Rec>>(2000, {rec(0x0201, cell(65535, 0))})),
         "Workbook", "the file is damaged: its worksheets hold more rows than it can"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(loadError(c.stream, c.name), c.reason);
}

TEST(XlsRecords, AnAbsurdStringCountIsNotTrusted) {
    // A table announcing four billion strings holds the one it has.
    auto book = loadBook(makeStream({rec(kSst, Body().u32(0xFFFFFFFF).u32(0xFFFFFFFF).str("one"))},
                                    {{rec(kLabelSst, cell(0, 0).u32(0))}}));
    EXPECT_STREQ(book->getSheet(0)->readStr(0, 0), "one");
}

} // namespace
} // namespace frusta
