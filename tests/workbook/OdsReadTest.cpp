// OpenDocument spreadsheets, as packages (.ods) and as flat files (.fods): every kind of cell
// as the reader takes it, repeated rows and cells, and the files that are refused.
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

namespace frusta {
namespace {

using namespace wbtest;

Loaded loadOds(const Package& package, const TempDir& dir) {
    package.write(dir.file("t.ods"));
    return load(dir.file("t.ods"));
}

Loaded loadFods(const std::string& xml, const TempDir& dir) {
    writeFile(dir.file("t.fods"), xml);
    return load(dir.file("t.fods"));
}

// Every non-empty cell of a sheet as "B3 number 12", in row order.
std::vector<std::string> describe(const Sheet& sheet) {
    std::vector<std::string> out;
    for (int r = 0; r < sheet.lastRow(); ++r)
        for (int c = 0; c < sheet.lastCol(); ++c) {
            std::string name = std::string(1, static_cast<char>('A' + c % 26)) +
                               (c >= 26 ? std::to_string(c) + ":" : "") + std::to_string(r + 1);
            switch (sheet.cellType(r, c)) {
            case CellType::Empty:
                continue;
            case CellType::Number: {
                char digits[40];
                std::snprintf(digits, sizeof digits, "%.17g", sheet.readNum(r, c));
                out.push_back(name + " number " + digits);
                break;
            }
            case CellType::String:
                out.push_back(name + " text " + sheet.readStr(r, c));
                break;
            case CellType::Boolean:
                out.push_back(name + " boolean " + (sheet.readBool(r, c) ? "TRUE" : "FALSE"));
                break;
            case CellType::Blank:
                out.push_back(name + " blank");
                break;
            case CellType::Error:
                out.push_back(name + " error " + errorText(sheet.readError(r, c)));
                break;
            }
        }
    return out;
}

std::string row(const std::string& cells, const std::string& attrs = "") {
    return "<table:table-row" + attrs + ">" + cells + "</table:table-row>";
}

std::string cell(const std::string& attrs, const std::string& content = "") {
    return "<table:table-cell " + attrs + ">" + content + "</table:table-cell>";
}

std::string p(const std::string& content) {
    return "<text:p>" + content + "</text:p>";
}

// One table of every kind of cell, written as LibreOffice writes them.
const std::string kEveryKind = odsTable(
    "Kinds",
    row(cell("office:value-type=\"float\" office:value=\"12\"", p("12")) +
        cell("office:value-type=\"percentage\" office:value=\"0.125\"", p("12.50%")) +
        cell("office:value-type=\"currency\" office:currency=\"EUR\" office:value=\"-3.5\"",
             p("-3,50 €"))) +
        row(cell("office:value-type=\"date\" office:date-value=\"2010-01-01\"", p("01/01/10")) +
            cell("office:value-type=\"date\" office:date-value=\"2009-01-30T18:00:00\"") +
            cell("office:value-type=\"time\" office:time-value=\"PT06H00M00S\"", p("06:00")) +
            cell("office:value-type=\"time\" office:time-value=\"PT36H30M00S\"")) +
        row(cell("office:value-type=\"boolean\" office:boolean-value=\"true\"", p("TRUE")) +
            cell("office:value-type=\"boolean\" office:boolean-value=\"false\"", p("FALSE")) +
            cell("office:value-type=\"string\"", p("Navicula") + p("cryptocephala")) +
            cell("office:value-type=\"string\"",
                 p("a<text:s text:c=\"3\"/>b<text:tab/>c<text:line-break/>d") +
                     "<office:annotation><text:p>a note</text:p></office:annotation>")) +
        row(cell("office:value-type=\"string\"",
                 p("  <text:span text:style-name=\"T1\">Achnanthidium</text:span>\n"
                   "   minutissimum  ")) +
            cell("office:value-type=\"string\"",
                 p("<text:a xlink:href=\"x\">link</text:a><draw:frame><draw:text-box>" +
                   p("drawn") + "</draw:text-box></draw:frame>")) +
            cell("office:value-type=\"string\" office:string-value=\"stored\"", p("shown")) +
            cell("office:value-type=\"string\"", "")) +
        row(cell("table:formula=\"of:=1+1\" office:value-type=\"float\" office:value=\"2\"",
                 p("2")) +
            cell("table:formula=\"of:=1/0\" office:value-type=\"string\" "
                 "office:string-value=\"\" calcext:value-type=\"error\"",
                 p("#DIV/0!")) +
            cell("table:formula=\"of:=NA()\" office:value-type=\"string\"", p("#N/A")) +
            cell("table:formula=\"of:=SQRT(-1)\" office:value-type=\"string\"", p("Err:502")) +
            cell("office:value-type=\"string\"", p("#N/A")) +
            cell("table:formula=\"of:=&quot;x&quot;\" office:value-type=\"string\" "
                 "office:string-value=\"x\"",
                 p("x"))) +
        row(cell("table:style-name=\"ce1\"") +
            cell(
                "office:value-type=\"float\" office:value=\"1\" table:number-columns-spanned=\"2\"",
                p("1")) +
            "<table:covered-table-cell office:value-type=\"float\" office:value=\"9\">" + p("9") +
            "</table:covered-table-cell>" + cell("office:value-type=\"void\"") +
            cell("", p("no type"))));

const std::vector<std::string> kEveryKindCells = {
    "A1 number 12",
    "B1 number 0.125",
    "C1 number -3.5",
    "A2 number 40179",
    "B2 number 39843.75",
    "C2 number 0.25",
    "D2 number 1.5208333333333333",
    "A3 boolean TRUE",
    "B3 boolean FALSE",
    "C3 text Navicula\ncryptocephala",
    "D3 text a   b\tc\nd",
    "A4 text Achnanthidium minutissimum ",
    "B4 text link",
    "C4 text stored",
    "D4 text ",
    "A5 number 2",
    "B5 error #DIV/0!",
    "C5 error #N/A",
    "D5 error #N/A",
    "E5 text #N/A",
    "F5 text x",
    "B6 number 1",
    "E6 text no type",
};

TEST(OdsRead, EveryKindOfCellInAPackageAndInAFlatFile) {
    TempDir dir;
    const std::string tables = kEveryKind + odsTable("Second", row(cell("", p("2nd"))));
    auto package = odsPackage(tables);
    package.parts["content.xml"] = odsDocument(tables, "document-content", " xmlns:xlink=\"x\"");
    // Documents may bind the namespaces to other prefixes.
    auto prefixed = package;
    std::string& renamed = prefixed.parts["content.xml"];
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"<table:", "<t:"},
                                   {"</table:", "</t:"},
                                   {" table:", " t:"},
                                   {"xmlns:table=", "xmlns:t="}})
        for (auto at = renamed.find(from); at != std::string::npos; at = renamed.find(from, at))
            renamed.replace(at, from.size(), to);
    const std::string flat = odsDocument(
        tables, "document",
        " office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\" xmlns:xlink=\"x\"");

    const std::pair<const char*, Loaded> loads[] = {{"package", loadOds(package, dir)},
                                                    {"flat", loadFods(flat, dir)},
                                                    {"other prefixes", loadOds(prefixed, dir)}};
    for (const auto& [what, loaded] : loads) {
        ASSERT_TRUE(loaded.ok) << what << ": " << loaded.error;
        ASSERT_EQ(loaded.book->sheetCount(), 2) << what;
        EXPECT_EQ(loaded.book->getSheet(0)->name(), "Kinds");
        EXPECT_EQ(loaded.book->getSheet(1)->name(), "Second");
        EXPECT_EQ(describe(*loaded.book->getSheet(0)), kEveryKindCells) << what;
        EXPECT_EQ(describe(*loaded.book->getSheet(1)), std::vector<std::string>{"A1 text 2nd"});
    }
}

TEST(OdsRead, RepeatsAreExpandedWhereTheyHoldValues) {
    TempDir dir;
    const std::string zero = "office:value-type=\"float\" office:value=\"0\"";
    const std::string rows =
        "<table:table-column table:number-columns-repeated=\"16384\"/>" +
        row(cell("office:value-type=\"string\"", p("Code")) +
            cell("table:number-columns-repeated=\"2\"") +
            cell("office:value-type=\"string\" table:number-columns-repeated=\"3\"", p("S")) +
            cell("table:number-columns-repeated=\"16378\"")) +
        "<table:table-header-rows>" + row(cell("table:number-columns-repeated=\"1024\"")) +
        "</table:table-header-rows><table:table-row-group><table:table-row-group>" +
        row(cell("office:value-type=\"string\"", p("T1")) +
                cell(zero + " table:number-columns-repeated=\"4\"", p("0")) +
                cell("table:number-columns-repeated=\"16379\""),
            " table:number-rows-repeated=\"3\"") +
        "</table:table-row-group></table:table-row-group>" +
        row(cell("table:number-columns-repeated=\"16384\""),
            " table:number-rows-repeated=\"1048571\"");
    const auto loaded = loadOds(odsPackage(odsTable("R", rows)), dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    const Sheet& sheet = *loaded.book->getSheet(0);
    EXPECT_EQ(sheet.lastRow(), 5);
    EXPECT_EQ(sheet.lastCol(), 6);
    std::vector<std::string> want = {"A1 text Code", "D1 text S", "E1 text S", "F1 text S"};
    for (const char* r : {"3", "4", "5"}) {
        want.push_back(std::string("A") + r + " text T1");
        for (const char* c : {"B", "C", "D", "E"})
            want.push_back(c + std::string(r) + " number 0");
    }
    EXPECT_EQ(describe(sheet), want);
}

TEST(OdsRead, TheEndlessEmptyRepeatsOfLibreOfficeCostNothing) {
    TempDir dir;
    // Two million rows of a million empty cells each, then a value: read in no time, and
    // nothing is kept but the value.
    std::string rows;
    for (int i = 0; i < 2; ++i)
        rows += row(cell("table:style-name=\"ce1\" table:number-columns-repeated=\"1000000\""),
                    " table:number-rows-repeated=\"500000\"");
    rows += row(cell("office:value-type=\"float\" office:value=\"7\""));
    const auto loaded = loadOds(odsPackage(odsTable("R", rows)), dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(describe(*loaded.book->getSheet(0)), std::vector<std::string>{"A1000001 number 7"});
}

TEST(OdsRead, FilesThatCannotBeReadAreRefusedWithTheReason) {
    TempDir dir;
    const std::string one = "office:value-type=\"float\" office:value=\"1\"";
    struct Case {
        const char* what;
        Package package;
        std::string reason;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, const std::string& tables, std::string reason) {
        cases.push_back({what, odsPackage(tables), std::move(reason)});
    };
    add("repeated cells past the last column",
        odsTable("R", row(cell("table:number-columns-repeated=\"16000\"") +
                          cell(one + " table:number-columns-repeated=\"385\""))),
        "sheet 'R', cell WQK1: a value repeated 385 times reaches beyond the last column (XFD)");
    add("a value past the last column",
        odsTable("R", row(cell("table:number-columns-repeated=\"16384\"") + cell(one))),
        "sheet 'R', row 1: a cell with a value lies beyond the last column (XFD)");
    add("repeated rows past the last row",
        odsTable("R", row(cell(""), " table:number-rows-repeated=\"1048000\"") +
                          row(cell(one), " table:number-rows-repeated=\"577\"")),
        "sheet 'R', cell A1048001: a row with values repeated 577 times reaches beyond the last "
        "row (1048576)");
    add("a value past the last row",
        odsTable("R", row(cell(""), " table:number-rows-repeated=\"1048576\"") + row(cell(one))),
        "sheet 'R': a cell with a value lies beyond the last row (1048576)");
    add("more values than memory allows",
        odsTable("R", row(cell(one + " table:number-columns-repeated=\"16384\""),
                          " table:number-rows-repeated=\"1000000\"")),
        "the workbook's cells and texts need more than 1024 MB of memory");
    add("an invalid number",
        odsTable("R", row(cell("office:value-type=\"float\" office:value=\"1,5\""))),
        "sheet 'R', cell A1: invalid number '1,5'");
    add("an invalid repeat count", odsTable("R", row(cell("table:number-columns-repeated=\"-2\""))),
        "sheet 'R', cell A1: invalid repeat count '-2'");
    add("a text document", "", "the OpenDocument file holds no spreadsheet");
    cases.back().package.parts["content.xml"] =
        std::string("<office:document-content ") + kOdfNamespaces +
        "><office:body><office:text><text:p>x</text:p></office:text></office:body>"
        "</office:document-content>";
    add("not OpenDocument content", "",
        "the part 'content.xml' is not the content of an "
        "OpenDocument document");
    cases.back().package.parts["content.xml"] = "<x/>";
    add("entities", "",
        "the part 'content.xml' is refused: it contains a document type declaration, which "
        "workbooks never use");
    cases.back().package.parts["content.xml"] =
        "<!DOCTYPE x [<!ENTITY a \"aaaa\">]><office:document-content/>";
    add("no content", "",
        "the OpenDocument package has no content (the part 'content.xml' is "
        "missing)");
    cases.back().package.parts.erase("content.xml");
    add("encrypted", odsTable("R", ""),
        "the workbook is password-protected (encrypted); remove the password in LibreOffice and "
        "save it again");
    cases.back().package.parts["META-INF/manifest.xml"] =
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
        "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\">"
        "<manifest:encryption-data manifest:checksum-type=\"SHA1/1K\"/></manifest:file-entry>"
        "</manifest:manifest>";
    add("a text document by its type", odsTable("R", ""),
        "the file is an OpenDocument text document (.odt), not a spreadsheet");
    cases.back().package.parts["mimetype"] = "application/vnd.oasis.opendocument.text";
    add("OpenOffice.org 1", odsTable("R", ""),
        "OpenOffice.org 1 spreadsheets (.sxc) are not supported; save the workbook as .ods or "
        ".xlsx");
    cases.back().package.parts["mimetype"] = "application/vnd.sun.xml.calc";

    for (const auto& c : cases) {
        const auto loaded = loadOds(c.package, dir);
        EXPECT_FALSE(loaded.ok) << c.what;
        EXPECT_EQ(loaded.error, c.reason) << c.what;
        EXPECT_EQ(loaded.book->sheetCount(), 0) << c.what;
    }

    // A type written with a line end, or a template, is a spreadsheet all the same.
    for (const char* type : {"application/vnd.oasis.opendocument.spreadsheet\r\n",
                             "application/vnd.oasis.opendocument.spreadsheet-template"}) {
        auto package = odsPackage(odsTable("R", ""));
        package.parts["mimetype"] = type;
        EXPECT_TRUE(loadOds(package, dir).ok) << type;
    }

    // A flat file names its kind in an attribute.
    const auto odt = loadFods(odsDocument("", "document",
                                          " office:mimetype=\"application/"
                                          "vnd.oasis.opendocument.presentation\""),
                              dir);
    EXPECT_EQ(odt.error, "the file is an OpenDocument presentation (.odp), not a spreadsheet");
    const auto broken = loadFods(odsDocument(odsTable("R", "<table:table-row>"), "document"), dir);
    EXPECT_EQ(broken.error, "the file is not well-formed XML (line 1: mismatched tag)");
    writeFile(dir.file("t.xml"), "<?xml version=\"1.0\"?><Workbook xmlns=\"urn:schemas-microsoft-"
                                 "com:office:spreadsheet\"/>");
    EXPECT_EQ(load(dir.file("t.xml")).error, "the file is an XML or HTML document, not a workbook");
}

} // namespace
} // namespace frusta
