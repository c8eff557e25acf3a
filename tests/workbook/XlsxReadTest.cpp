// Reading .xlsx packages assembled part by part: cell types and values, positions, the
// 1904 date system, relationships, and the kinds of files refused with a reason.
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

using frusta::Book;
using frusta::CellType;
using frusta::Sheet;
using namespace frusta::wbtest;

namespace {

TEST(XlsxRead, EveryCellTypeWithItsValue) {
    TempDir dir;
    const auto loaded = load(
        Package::workbook(
            {"<row r=\"1\">"
             "<c r=\"A1\"><v>3.5</v></c>"
             "<c r=\"B1\" t=\"n\"><v> 1e-3 </v></c>"
             "<c r=\"C1\" t=\"s\"><v>1</v></c>"
             "<c r=\"D1\" t=\"str\"><f>A1</f><v>x_x0041_y</v></c>"
             "<c r=\"E1\" t=\"inlineStr\"><is><r><t>a</t></r><r><rPr/><t xml:space=\"preserve\">"
             " b</t></r><rPh><t>PH</t></rPh></is></c>"
             "<c r=\"F1\" t=\"b\"><f>TRUE()</f><v>1</v></c>"
             "<c r=\"G1\" t=\"e\"><v>#DIV/0!</v></c>"
             "<c r=\"H1\" t=\"e\"><v>#SPILL!</v></c>"
             "<c r=\"I1\" t=\"d\"><v>2020-01-02T12:00:00</v></c>"
             "<c r=\"J1\" t=\"str\"><f>\"\"</f><v></v></c>"
             "<c r=\"K1\" t=\"b\"><v>false</v></c>"
             "<c r=\"L1\" t=\"s\"><v>2</v></c>"
             "</row>"
             "<row r=\"2\">"
             "<c r=\"A2\" s=\"1\"/>"
             "<c r=\"B2\"><f>1+1</f></c>"
             "<c r=\"C2\" t=\"s\"><v></v></c>"
             "<c r=\"D2\" t=\"inlineStr\"><is><t></t></is></c>"
             "<c r=\"E2\" t=\"b\"><f>TRUE()</f></c>"
             "<c r=\"F2\" t=\"e\"><f>1/0</f></c>"
             "</row>"},
            "<si><t>zero</t></si><si><r><t>ri</t></r><r><t>ch</t></r><rPh sb=\"0\" eb=\"1\">"
            "<t>PHONETIC</t></rPh><phoneticPr fontId=\"1\"/></si><si><t>a_x000D__x000A_b</t></si>"),
        dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_STREQ(loaded.book->errorMessage(), "");
    const Sheet& s = *loaded.book->getSheet(0);
    EXPECT_EQ(s.cellType(0, 0), CellType::Number);
    EXPECT_EQ(s.readNum(0, 0), 3.5);
    EXPECT_EQ(s.readNum(0, 1), 0.001);
    EXPECT_STREQ(s.readStr(0, 2), "rich");
    EXPECT_STREQ(s.readStr(0, 3), "xAy");
    EXPECT_STREQ(s.readStr(0, 4), "a b");
    EXPECT_EQ(s.cellType(0, 5), CellType::Boolean);
    EXPECT_TRUE(s.readBool(0, 5));
    EXPECT_EQ(s.cellType(0, 6), CellType::Error);
    EXPECT_EQ(s.readError(0, 6), 0x07);
    EXPECT_EQ(s.readError(0, 7), 0x2A); // error kinds newer than the binary format
    EXPECT_EQ(s.readNum(0, 8), 43832.5);
    EXPECT_EQ(s.cellType(0, 9), CellType::String);
    EXPECT_STREQ(s.readStr(0, 9), "");
    EXPECT_EQ(s.cellType(0, 10), CellType::Boolean);
    EXPECT_FALSE(s.readBool(0, 10));
    EXPECT_STREQ(s.readStr(0, 11), "a\r\nb");
    // Cells without a value: formatted empty cells, formulas never calculated, padding.
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(s.cellType(1, col), CellType::Blank) << "column " << col;
    EXPECT_EQ(s.cellType(1, 6), CellType::Empty);
    EXPECT_EQ(s.readStr(0, 0), nullptr);
}

TEST(XlsxRead, NumbersAreExactToTheLastBit) {
    const std::pair<const char*, double> numbers[] = {
        {"0.30000000000000004", 0.1 + 0.2},
        {"2.2250738585072014E-308", 2.2250738585072014e-308},
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"4.9406564584124654e-324", 4.9406564584124654e-324},
        {"-123456789.12345679", -123456789.12345679},
        {"+7", 7},
        {"1E+15", 1e15}};
    std::string row;
    for (const auto& [text, value] : numbers)
        row += std::string("<c><v>") + text + "</v></c>";
    TempDir dir;
    const auto loaded = load(Package::workbook({"<row>" + row + "</row>"}), dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(loaded.book->getSheet(0)->readNum(0, i), numbers[i].second) << numbers[i].first;
}

TEST(XlsxRead, PositionsFollowReferencesOrThePreviousCell) {
    TempDir dir;
    // The dimension element (A1) is not trusted; rows and cells without references follow
    // the previous ones; cells out of order are sorted.
    const auto loaded = load(Package::workbook({"<row><c><v>1</v></c><c><v>2</v></c></row>"
                                                "<row r=\"5\"><c r=\"C5\"><v>3</v></c>"
                                                "<c><v>4</v></c><c r=\"a5\"><v>5</v></c></row>"
                                                "<row><c r=\"B6\"><v>6</v></c></row>"
                                                "<row><c><v>7</v></c></row>"
                                                "<row r=\"9\"/>"}),
                             dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    const Sheet& s = *loaded.book->getSheet(0);
    EXPECT_EQ(s.readNum(0, 1), 2);
    EXPECT_EQ(s.readNum(4, 2), 3);
    EXPECT_EQ(s.readNum(4, 3), 4);
    EXPECT_EQ(s.readNum(4, 0), 5);
    EXPECT_EQ(s.readNum(5, 1), 6);
    EXPECT_EQ(s.readNum(6, 0), 7);
    EXPECT_EQ(s.lastRow(), 7); // an empty row element adds nothing
    EXPECT_EQ(s.lastCol(), 4);
}

TEST(XlsxRead, Dates1904MoveToThe1900SystemInDateFormattedCellsOnly) {
    const std::string styles =
        std::string("<styleSheet xmlns=\"") + kMainNs +
        "\"><numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/>"
        "<numFmt numFmtId=\"165\" formatCode=\"0.00&quot;d&quot;\"/></numFmts>"
        "<cellStyleXfs><xf numFmtId=\"14\"/><xf numFmtId=\"14\"/><xf numFmtId=\"14\"/>"
        "<xf numFmtId=\"14\"/></cellStyleXfs>"
        "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
        "<xf numFmtId=\"165\"/></cellXfs></styleSheet>";
    const std::string row = "<row><c s=\"0\"><v>100</v></c><c s=\"1\"><v>100</v></c>"
                            "<c s=\"2\"><v>100.5</v></c><c s=\"3\"><v>100</v></c>"
                            "<c s=\"9\"><v>100</v></c><c s=\"1\" t=\"d\"><v>1904-01-01</v></c>"
                            "</row>";
    for (const bool is1904 : {true, false}) {
        auto package =
            Package::workbook({row}, "", is1904 ? "<workbookPr date1904=\"1\"/>" : "<workbookPr/>");
        package.parts["xl/styles.xml"] = styles;
        package.parts["xl/_rels/workbook.xml.rels"] =
            relationships(relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                          relationship("rId2", "styles", "styles.xml"));
        TempDir dir;
        const auto loaded = load(package, dir);
        ASSERT_TRUE(loaded.ok) << loaded.error;
        const Sheet& s = *loaded.book->getSheet(0);
        const double shift = is1904 ? 1462 : 0;
        EXPECT_EQ(s.readNum(0, 0), 100);
        EXPECT_EQ(s.readNum(0, 1), 100 + shift);
        EXPECT_EQ(s.readNum(0, 2), 100.5 + shift);
        EXPECT_EQ(s.readNum(0, 3), 100);
        EXPECT_EQ(s.readNum(0, 4), 100);  // unknown format index
        EXPECT_EQ(s.readNum(0, 5), 1462); // ISO dates are already absolute
    }
}

TEST(XlsxRead, RelationshipTargetsAsWritersStoreThem) {
    // The main part in another folder, an absolute target, a relative one climbing out
    // of the folder, zip names in another case, percent-escapes and backslashes.
    Package p;
    p.parts["_rels/.rels"] = relationships(relationship("r1", "officeDocument", "/Book/Main.xml"));
    p.parts["Book/Main.xml"] = std::string("<x:workbook xmlns:x=\"") + kMainNs + "\" xmlns:r=\"" +
                               kRelNs +
                               "\"><x:sheets><x:sheet name=\"Third\" r:id=\"c\"/>"
                               "<x:sheet name=\"Chart\" r:id=\"d\"/>"
                               "<x:sheet name=\"First\" r:id=\"a\"/>"
                               "<x:sheet name=\"Second\" r:id=\"b\"/></x:sheets></x:workbook>";
    p.parts["Book/_rels/Main.xml.rels"] =
        relationships(relationship("a", "worksheet", "/Sheets/One.xml") +
                      relationship("b", "worksheet", "../Sheets/Sheet%20Two.xml") +
                      relationship("c", "worksheet", "./three.xml") +
                      relationship("d", "chartsheet", "charts/chart1.xml"));
    const std::string cell = "<row><c t=\"inlineStr\"><is><t>@</t></is></c></row>";
    auto sheetNamed = [&](const std::string& text) {
        std::string xml = worksheet(cell);
        xml.replace(xml.find('@'), 1, text);
        return xml;
    };
    p.parts["SHEETS/ONE.XML"] = sheetNamed("one");
    p.parts["Sheets/Sheet Two.xml"] = sheetNamed("two");
    p.parts["Book\\three.xml"] = sheetNamed("three");
    TempDir dir;
    const auto loaded = load(p, dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    ASSERT_EQ(loaded.book->sheetCount(), 3); // the chart sheet is left out
    const char* names[] = {"Third", "First", "Second"};
    const char* texts[] = {"three", "one", "two"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.book->getSheet(i)->name(), names[i]);
        EXPECT_STREQ(loaded.book->getSheet(i)->readStr(0, 0), texts[i]);
    }
    // Without package relationships and content types, the workbook is found at the usual
    // place.
    auto bare = Package::workbook({"<row><c><v>1</v></c></row>"});
    bare.parts.erase("_rels/.rels");
    bare.parts.erase("[Content_Types].xml");
    const auto found = load(bare, dir);
    ASSERT_TRUE(found.ok) << found.error;
    EXPECT_EQ(found.book->getSheet(0)->readNum(0, 0), 1);
}

TEST(XlsxRead, OtherFilesAreRefusedWithAReason) {
    TempDir dir;
    struct Case {
        const char* what;
        Package package;
        const char* reason;
    };
    std::vector<Case> cases;

    auto word = Package::workbook({""});
    word.parts["[Content_Types].xml"] =
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
    cases.push_back({"Word", word, "the file is a Word document, not a workbook"});

    Package other;
    other.parts["readme.txt"] = "hello";
    cases.push_back({"plain zip", other, "not an Excel workbook (it has no workbook part)"});

    auto noRels = Package::workbook({""});
    noRels.parts.erase("xl/_rels/workbook.xml.rels");
    cases.push_back({"no workbook rels", noRels,
                     "the part 'xl/_rels/workbook.xml.rels' that locates the sheets is missing"});

    auto nowhere = Package::workbook({""});
    nowhere.parts["_rels/.rels"] = "<Relationships";
    nowhere.parts.erase("xl/workbook.xml");
    cases.push_back({"damaged package relationships, no workbook part", nowhere, "_rels/.rels"});

    auto notWorkbook = Package::workbook({""});
    notWorkbook.parts["xl/workbook.xml"] = worksheet("");
    cases.push_back({"root", notWorkbook, "the main part of the package is not an Excel workbook"});

    for (const auto& c : cases) {
        const auto loaded = load(c.package, dir);
        EXPECT_FALSE(loaded.ok) << c.what;
        EXPECT_NE(loaded.error.find(c.reason), std::string::npos) << c.what << ": " << loaded.error;
        EXPECT_EQ(loaded.book->sheetCount(), 0);
    }
}

TEST(XlsxRead, ASheetWhosePartIsMissingIsListedAndRefusedAlone) {
    TempDir dir;
    auto p = Package::workbook({"<row><c><v>1</v></c></row>", "", "<row><c><v>3</v></c></row>"});
    p.parts.erase("xl/worksheets/sheet2.xml");
    // The third sheet's relationship is gone too.
    p.parts["xl/_rels/workbook.xml.rels"] =
        relationships(relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
                      relationship("rId2", "worksheet", "worksheets/sheet2.xml"));
    const auto loaded = load(p, dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    ASSERT_EQ(loaded.book->sheetCount(), 3);
    const Sheet& first = *loaded.book->getSheet(0);
    EXPECT_EQ(first.unreadable(), "");
    EXPECT_EQ(first.readNum(0, 0), 1);
    const Sheet& second = *loaded.book->getSheet(1);
    EXPECT_EQ(second.name(), "S2");
    EXPECT_EQ(second.unreadable(), "the part 'xl/worksheets/sheet2.xml' of sheet 'S2' is missing");
    EXPECT_EQ(second.lastRow(), 0);
    const Sheet& third = *loaded.book->getSheet(2);
    EXPECT_EQ(third.unreadable(), "the part of sheet 'S3' is not in the package");
    EXPECT_EQ(third.cellType(0, 0), CellType::Empty);
}

TEST(XlsxRead, DamagedOrMissingPackageRelationshipsFallBackToTheWorkbookPart) {
    TempDir dir;
    const std::string types =
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/Book/Main.xml\" ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/></Types>";
    // The workbook part elsewhere than at the usual place, named by the content types.
    auto moved = [&](const std::string& rels) {
        Package p;
        p.parts["[Content_Types].xml"] = types;
        if (!rels.empty())
            p.parts["_rels/.rels"] = rels;
        p.parts["Book/Main.xml"] = std::string("<workbook xmlns=\"") + kMainNs + "\" xmlns:r=\"" +
                                   kRelNs +
                                   "\"><sheets><sheet name=\"Moved\" r:id=\"a\"/>"
                                   "</sheets></workbook>";
        p.parts["Book/_rels/Main.xml.rels"] =
            relationships(relationship("a", "worksheet", "s.xml"));
        p.parts["Book/s.xml"] = worksheet("<row><c><v>7</v></c></row>");
        return p;
    };
    auto damaged = Package::workbook({"<row><c><v>5</v></c></row>"});
    damaged.parts["_rels/.rels"] = "<Relationships xmlns=\"x\"><Relationship";
    auto missing = Package::workbook({"<row><c><v>5</v></c></row>"});
    missing.parts.erase("_rels/.rels");
    auto leadsNowhere = Package::workbook({"<row><c><v>5</v></c></row>"});
    leadsNowhere.parts["_rels/.rels"] =
        relationships(relationship("rId1", "officeDocument", "xl/gone.xml"));
    const struct {
        const char* what;
        Package package;
        const char* sheet;
        double value;
    } cases[] = {
        {"damaged", damaged, "S1", 5},
        {"missing", missing, "S1", 5},
        {"leads nowhere", leadsNowhere, "S1", 5},
        {"damaged, content types", moved("<Relationships"), "Moved", 7},
        {"missing, content types", moved(""), "Moved", 7},
        {"empty, content types", moved(relationships("")), "Moved", 7},
    };
    for (const auto& c : cases) {
        const auto loaded = load(c.package, dir);
        ASSERT_TRUE(loaded.ok) << c.what << ": " << loaded.error;
        ASSERT_EQ(loaded.book->sheetCount(), 1) << c.what;
        EXPECT_EQ(loaded.book->getSheet(0)->name(), c.sheet) << c.what;
        EXPECT_EQ(loaded.book->getSheet(0)->readNum(0, 0), c.value) << c.what;
    }
}

// The package's SpreadsheetML moved to the namespace that pre-releases of Excel 2007 wrote.
void inPreReleaseNamespace(Package& p) {
    const std::string ns = "http://schemas.microsoft.com/office/excel/2006/2";
    for (auto& [name, xml] : p.parts)
        for (std::size_t at; (at = xml.find(kMainNs)) != std::string::npos;)
            xml.replace(at, std::strlen(kMainNs), ns);
}

TEST(XlsxRead, PreReleasesOfExcel2007AndSharedStringsOfUnknownKinds) {
    // Pre-release versions of Excel 2007 wrote SpreadsheetML in another namespace, and the
    // string items as <sstItem>.
    auto p = Package::workbook({"<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                                "<c r=\"B1\"><v>2.5</v></c><c r=\"C1\" t=\"b\"><v>1</v></c>"
                                "<c r=\"D1\" t=\"s\"><v>1</v></c></row>"},
                               "<sstItem><t>Achnanthes</t></sstItem>"
                               "<sstItem><r><t>ri</t></r><r><t>ch</t></r></sstItem>",
                               "<workbookPr date1904=\"1\"/>");
    inPreReleaseNamespace(p);
    TempDir dir;
    const auto loaded = load(p, dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    const Sheet& s = *loaded.book->getSheet(0);
    EXPECT_STREQ(s.readStr(0, 0), "Achnanthes");
    EXPECT_EQ(s.readNum(0, 1), 2.5);
    EXPECT_TRUE(s.readBool(0, 2));
    EXPECT_STREQ(s.readStr(0, 3), "rich");

    // A table of entries of another kind: the refusal says what it found.
    struct Case {
        const char* sst;
        const char* reason;
    };
    const Case cases[] = {
        {"<si><t>a</t></si>", "shared string 1 does not exist (the table holds 1)"},
        {"<item><t>a</t></item><item><t>b</t></item>",
         "shared string 1 does not exist (the table holds 0 strings and 2 entries <item> of a "
         "kind this program does not read)"},
        {"<si><t>a</t></si><string>b</string>",
         "shared string 1 does not exist (the table holds 1 string and 1 entry <string> of a "
         "kind this program does not read)"},
        {"<si><t>a</t></si><extLst/>", "shared string 1 does not exist (the table holds 1)"},
    };
    for (const Case& c : cases) {
        const auto p =
            Package::workbook({"<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c></row>"}, c.sst);
        const auto refused = load(p, dir);
        EXPECT_FALSE(refused.ok);
        EXPECT_EQ(refused.error, std::string("sheet 'S1', cell A1: ") + c.reason);
    }
}

} // namespace
