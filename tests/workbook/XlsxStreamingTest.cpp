// Namespace prefixes as the XML declares and scopes them, and parts large enough to be
// inflated on a second thread: read whole, their damage reported, and a reader that stops
// early not left waiting.
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

using frusta::CellType;
using namespace frusta::wbtest;

namespace {

// A worksheet of `rows` rows of ten cells, cell (r, c) holding r * 10 + c: several MB of
// XML for 20,000 rows.
std::string numberedRows(int rows) {
    std::string xml;
    xml.reserve(static_cast<std::size_t>(rows) * 200);
    for (int r = 0; r < rows; ++r) {
        xml += "<row r=\"" + std::to_string(r + 1) + "\">";
        for (int c = 0; c < 10; ++c)
            xml += "<c r=\"" + std::string(1, static_cast<char>('A' + c)) + std::to_string(r + 1) +
                   "\"><v>" + std::to_string(r * 10 + c) + "</v></c>";
        xml += "</row>";
    }
    return xml;
}

TEST(XlsxNamespaces, PrefixesFollowTheirDeclarationsAndScope) {
    // Main-namespace cells under the default namespace, a prefix bound deeper down, a
    // foreign default namespace for one cell, and the outer default again after it.
    auto p = Package::workbook({""});
    p.parts["xl/worksheets/sheet1.xml"] = std::string("<worksheet xmlns=\"") + kMainNs +
                                          "\"><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c>"
                                          "<c xmlns=\"urn:example:other\" r=\"B1\"><v>2</v></c>"
                                          "<m:c xmlns:m=\"" +
                                          kMainNs +
                                          "\" r=\"C1\"><m:v>3</m:v></m:c>"
                                          "<c r=\"D1\"><v>4</v></c></row></sheetData></worksheet>";
    // The relationships namespace under another prefix; an "id" of some other namespace
    // is not a sheet's relationship.
    p.parts["xl/workbook.xml"] =
        std::string("<workbook xmlns=\"") + kMainNs + "\" xmlns:rel=\"" + kRelNs +
        "\" xmlns:o=\"urn:example:other\"><sheets><sheet name=\"Mine\" o:id=\"nothing\" "
        "rel:id=\"rId1\"/></sheets></workbook>";
    TempDir dir;
    const auto loaded = load(p, dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    const auto& s = *loaded.book->getSheet(0);
    EXPECT_EQ(s.name(), "Mine");
    EXPECT_EQ(s.readNum(0, 0), 1);
    EXPECT_EQ(s.cellType(0, 1), CellType::Empty);
    EXPECT_EQ(s.readNum(0, 2), 3);
    EXPECT_EQ(s.readNum(0, 3), 4);
}

TEST(XlsxNamespaces, UndeclaredPrefixesAndDeclarationFloodsAreRefused) {
    TempDir dir;
    auto unbound = Package::workbook({""});
    unbound.parts["xl/worksheets/sheet1.xml"] = std::string("<worksheet xmlns=\"") + kMainNs +
                                                "\">\n<sheetData><x:row/></sheetData></worksheet>";
    auto loaded = load(unbound, dir);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(
        loaded.error,
        "the part 'xl/worksheets/sheet1.xml' is not well-formed XML (line 2: unbound prefix)");

    auto relless = Package::workbook({""});
    relless.parts["xl/workbook.xml"] = std::string("<workbook xmlns=\"") + kMainNs +
                                       "\"><sheets><sheet name=\"S\" r:id=\"rId1\"/></sheets>"
                                       "</workbook>";
    loaded = load(relless, dir);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.error, "the workbook part lists a sheet without a name or a part");

    std::string flood = "<sheetData";
    for (int i = 0; i < 1025; ++i)
        flood += " xmlns:p" + std::to_string(i) + "=\"urn:p\"";
    auto many = Package::workbook({""});
    many.parts["xl/worksheets/sheet1.xml"] =
        std::string("<worksheet xmlns=\"") + kMainNs + "\">" + flood + "/></worksheet>";
    loaded = load(many, dir);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.error, "the part 'xl/worksheets/sheet1.xml' is refused: it declares more "
                            "than 1024 namespace prefixes");
}

TEST(XlsxLargePart, IsReadWholeCompressedOrStored) {
    for (const bool store : {false, true}) {
        auto p = Package::workbook({numberedRows(20000)});
        ASSERT_GT(p.parts["xl/worksheets/sheet1.xml"].size(), 4u << 20);
        p.store = store;
        TempDir dir;
        const auto loaded = load(p, dir);
        ASSERT_TRUE(loaded.ok) << loaded.error;
        const auto& s = *loaded.book->getSheet(0);
        ASSERT_EQ(s.lastRow(), 20000);
        EXPECT_EQ(s.lastCol(), 10);
        for (const int row : {0, 6553, 13107, 19999})
            for (int col = 0; col < 10; ++col)
                ASSERT_EQ(s.readNum(row, col), row * 10 + col) << row << ", " << col;
    }
}

TEST(XlsxLargePart, DamageIsReportedWhereverItLies) {
    // Near its start, the rest of the part not waited for.
    auto p = Package::workbook({"<row><c r=\"A1\"><v>oops</v></c></row>" + numberedRows(20000)});
    p.store = true;
    TempDir dir;
    auto loaded = load(p, dir);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.error, "sheet 'S1', cell A1: invalid number 'oops'");
    // After its last byte: a stored part whose data no longer matches its checksum is
    // well-formed XML to the end, and only the check after the last byte finds the damage.
    p = Package::workbook({numberedRows(20000)});
    p.store = true;
    p.write(dir.file("good.xlsx"));
    std::string bytes = readFile(dir.file("good.xlsx"));
    const auto at = bytes.find("<v>199990</v>");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 3] = '2';
    writeFile(dir.file("bad.xlsx"), bytes);
    loaded = load(dir.file("bad.xlsx"));
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.error, "the part 'xl/worksheets/sheet1.xml' is damaged (checksum error)");
}

} // namespace
