// Damaged and crafted .xlsx files end in a failed load with a reason, in bounded time and
// memory (the sanitizer build checks that nothing crashes or leaks on the way).
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

using frusta::CellType;
using namespace frusta::wbtest;

namespace {

void expectRefused(const Package& package, const std::string& reason) {
    TempDir dir;
    const auto loaded = load(package, dir);
    EXPECT_FALSE(loaded.ok) << reason;
    EXPECT_NE(loaded.error.find(reason), std::string::npos) << loaded.error;
    EXPECT_EQ(loaded.book->sheetCount(), 0);
}

TEST(XlsxHostile, DocumentTypeDeclarationsAndEntitiesAreRefused) {
    const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">"
                               "<!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
                               "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">]>";
    auto sheet = Package::workbook({""});
    sheet.parts["xl/worksheets/sheet1.xml"] =
        laughs + "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>&lol3;</t></is></c>"
                 "</row></sheetData></worksheet>";
    expectRefused(sheet, "the part 'xl/worksheets/sheet1.xml' is refused: it contains a "
                         "document type declaration");
    auto strings = Package::workbook({""}, "<si><t>x</t></si>");
    strings.parts["xl/sharedStrings.xml"] = laughs + "<sst><si><t>&lol3;</t></si></sst>";
    expectRefused(strings, "document type declaration");
    auto external = Package::workbook({""});
    external.parts["xl/workbook.xml"] =
        "<!DOCTYPE workbook SYSTEM \"file:///etc/passwd\"><workbook/>";
    expectRefused(external, "document type declaration");
}

TEST(XlsxHostile, ZipBombIsRefusedBeforeInflating) {
    // 20 MB of blanks deflate to about 20 kB.
    auto bomb = Package::workbook({std::string(20 << 20, ' ')});
    expectRefused(bomb, "expands more than 200 times its compressed size");
    // The same data stored uncompressed is only large, and read.
    bomb.store = true;
    TempDir dir;
    EXPECT_TRUE(load(bomb, dir).ok);
}

TEST(XlsxHostile, RowsAndColumnsBeyondTheLimits) {
    TempDir dir;
    auto ok =
        load(Package::workbook({"<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>"}), dir);
    ASSERT_TRUE(ok.ok) << ok.error;
    EXPECT_EQ(ok.book->getSheet(0)->lastRow(), 1048576);
    EXPECT_EQ(ok.book->getSheet(0)->lastCol(), 16384);

    expectRefused(Package::workbook({"<row r=\"1048577\"/>"}),
                  "sheet 'S1': row number '1048577' lies beyond the last row (1048576)");
    expectRefused(Package::workbook({"<row r=\"" + std::string(100, '9') + "\"/>"}),
                  "row number '" + std::string(40, '9') + "...' lies beyond");
    expectRefused(Package::workbook({"<row><c r=\"XFE1\"/></row>"}),
                  "cell 'XFE1' lies beyond the last row (1048576) or column (XFD)");
    expectRefused(Package::workbook({"<row><c r=\"A1048577\"/></row>"}), "cell 'A1048577' lies");
    expectRefused(Package::workbook({"<row r=\"1048576\"/><row/>"}), "more than 1048576 rows");
    expectRefused(Package::workbook({"<row><c r=\"XFD1\"/><c/></row>"}),
                  "row 1 has more than 16384 columns");
    expectRefused(Package::workbook({"<row r=\"0\"/>"}), "invalid row number '0'");
    expectRefused(Package::workbook({"<row><c r=\"1A\"/></row>"}), "invalid cell reference '1A'");
    expectRefused(Package::workbook({"<row><c r=\"A0\"/></row>"}), "invalid cell reference 'A0'");
}

TEST(XlsxHostile, BadValuesNameTheirCell) {
    expectRefused(Package::workbook({"<row><c r=\"B3\"><v>12abc</v></c></row>"}),
                  "sheet 'S1', cell B3: invalid number '12abc'");
    expectRefused(Package::workbook({"<row><c r=\"C1\"><v>nan</v></c></row>"}),
                  "cell C1: invalid number 'nan'");
    expectRefused(Package::workbook({"<row><c r=\"A1\" t=\"b\"><v>yes</v></c></row>"}),
                  "cell A1: invalid boolean 'yes'");
    expectRefused(Package::workbook({"<row><c r=\"A1\" t=\"d\"><v>2021-02-29</v></c></row>"}),
                  "cell A1: invalid date '2021-02-29'");
    expectRefused(Package::workbook({"<row><c r=\"A1\" t=\"zz\"><v>1</v></c></row>"}),
                  "unknown cell type 'zz'");
    // A huge count attribute costs nothing; an index beyond the table is refused.
    expectRefused(Package::workbook({"<row><c r=\"A1\" t=\"s\"><v>4294967295</v></c></row>"},
                                    "<si><t>a</t></si>"),
                  "cell A1: shared string 4294967295 does not exist (the table holds 1)");
    expectRefused(Package::workbook({"<row><c r=\"A1\" t=\"s\"><v>-1</v></c></row>"}),
                  "invalid shared string index '-1'");
}

TEST(XlsxHostile, DeepNestingAndBrokenXml) {
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<x>";
    expectRefused(Package::workbook({deep}), "elements are nested more than 256 deep");
    expectRefused(Package::workbook({"<row><c>"}),
                  "the part 'xl/worksheets/sheet1.xml' is not well-formed XML (line 1: "
                  "mismatched tag)");
    auto latin = Package::workbook({""});
    latin.parts["xl/workbook.xml"] = "<?xml version=\"1.0\" encoding=\"x-unknown\"?><workbook/>";
    expectRefused(latin, "not well-formed XML");
    auto text = Package::workbook({"<row><c t=\"inlineStr\"><is><t>" +
                                   std::string((1 << 20) + 1, 'a') + "</t></is></c></row>"});
    expectRefused(text, "cell A1: a text longer than 1 MB");
}

TEST(XlsxHostile, EveryTruncationFailsWithAReason) {
    TempDir dir;
    Package::workbook({"<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\"><v>2.5</v></c>"
                       "</row><row r=\"2\"><c r=\"A2\" t=\"b\"><v>1</v></c></row>"},
                      "<si><t>text</t></si>")
        .write(dir.file("good.xlsx"));
    const std::string good = readFile(dir.file("good.xlsx"));
    ASSERT_TRUE(load(dir.file("good.xlsx")).ok);
    const std::string path = dir.file("bad.xlsx");
    for (std::size_t size = 0; size < good.size(); size += 7) {
        writeFile(path, good.substr(0, size));
        const auto loaded = load(path);
        EXPECT_FALSE(loaded.ok) << size;
        EXPECT_GT(loaded.error.size(), 10u);
    }
}

} // namespace
