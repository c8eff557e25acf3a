// CSV and TSV files as workbooks of one worksheet: the field values in the file's
// convention, the delimiter, quotes and line ends, the encodings, and the hostile files that
// are refused.
#include "WorkbookTestSupport.h"
#include "workbook/csv/Dialect.h"
#include "workbook/csv/FieldValue.h"

#include <gtest/gtest.h>

#include <cmath>

namespace frusta {
namespace {

using namespace wbtest;

Loaded loadText(const std::string& name, const std::string& content, const TempDir& dir) {
    writeFile(dir.file(name), content);
    return load(dir.file(name));
}

// The non-empty cells of the first sheet as "row,col type value" (0-based).
std::vector<std::string> cells(const Book& book) {
    std::vector<std::string> out;
    const Sheet& sheet = *book.getSheet(0);
    for (int r = 0; r < sheet.lastRow(); ++r)
        for (int c = 0; c < sheet.lastCol(); ++c) {
            const std::string at = std::to_string(r) + "," + std::to_string(c) + " ";
            if (sheet.cellType(r, c) == CellType::Number) {
                char digits[40];
                std::snprintf(digits, sizeof digits, "%.17g", sheet.readNum(r, c));
                out.push_back(at + "number " + digits);
            } else if (const char* s = sheet.readStr(r, c)) {
                out.push_back(at + "text " + s);
            }
        }
    return out;
}

TEST(CsvFields, NumbersInTheConventionOfTheDelimiter) {
    struct Case {
        const char* field;
        bool decimalComma;
        double value; // NAN: stays text
    };
    const Case cases[] = {
        {"0", false, 0},
        {"153", false, 153},
        {"-2.5", false, -2.5},
        {"+4", false, 4},
        {" 12 ", false, 12},
        {".5", false, 0.5},
        {"5.", false, 5},
        {"1e3", false, 1000},
        {"2.5E-2", false, 0.025},
        {"0.1", false, 0.1},
        {"12,5", false, NAN},
        {"12,5", true, 12.5},
        {"12.5", true, 12.5},
        {"-0,25", true, -0.25},
        {"1,234.5", true, NAN},
        {"1.234,5", true, NAN},
        {"1 234", false, NAN},
        {"007", false, NAN},
        {"00.5", false, NAN},
        {"12%", false, NAN},
        {"1e999", false, NAN},
        {"nan", false, NAN},
        {"inf", false, NAN},
        {"0x1A", false, NAN},
        {"-", false, NAN},
        {".", false, NAN},
        {"1e", false, NAN},
        {"", false, NAN},
        {"123456789012345678", false, 123456789012345678.0},
    };
    for (const auto& c : cases) {
        const auto value = csv::parseNumber(c.field, c.decimalComma);
        if (std::isnan(c.value))
            EXPECT_FALSE(value) << c.field << " read as " << *value;
        else
            EXPECT_EQ(value, std::optional<double>(c.value)) << c.field;
    }
}

TEST(CsvFields, IsoDatesAreDayNumbersAndOtherDatesAreAmbiguous) {
    const std::pair<const char*, double> dates[] = {
        {"2010-01-01", 40179},   {"2009-01-30", 39843},          {"1900-03-01", 61},
        {"1900-02-28", 59},      {"2009-01-30 18:00", 39843.75}, {"2009-01-30T06:00:00", 39843.25},
        {" 2012-02-29 ", 40968},
    };
    for (const auto& [text, serial] : dates)
        EXPECT_EQ(csv::parseDate(text), std::optional<double>(serial)) << text;
    for (const char* text : {"2011-02-29", "2009-13-01", "2009-1-30", "12:00:00", "20090130",
                             "30/01/2009", "2009/01/30"})
        EXPECT_FALSE(csv::parseDate(text)) << text;
    for (const char* text :
         {"30/01/2009", "01/30/2009", "1/2/09", "30.01.2009", "30-01-2009", "01/30/2009 12:00"})
        EXPECT_TRUE(csv::isAmbiguousDate(text)) << text;
    for (const char* text :
         {"2009-01-30", "30/01", "Jan 30 2009", "R01-1", "1/2/009", "12/3/4/5", "30/01-2009"})
        EXPECT_FALSE(csv::isAmbiguousDate(text)) << text;
}

TEST(CsvFields, TheDelimiterIsFoundFromTheFirstLines) {
    const std::tuple<const char*, std::string, char> cases[] = {
        {"commas", "Sample,,R1,R2\nSite,,S1,S2\n", ','},
        {"semicolons and decimal commas", "Sample;;R1;R2\nAlk;;2,5;102,75\n", ';'},
        {"tabs", "Sample\t\tR1,a\tR2\nSite\t\tS1\tS2\n", '\t'},
        {"quoted delimiters", "\"a;b\",c,d\n\"e;f;g\",h,i\n", ','},
        {"the last line cut off", "a;b;c\nd;e;f\ng,h,i,j,k,l", ';'},
        {"ragged lines: the most often", "a,b,c\nd,e\nf;g\n", ','},
        {"one column", "Sample\nR1\n", '?'},
        {"empty", "", '?'},
    };
    for (const auto& [what, head, want] : cases)
        EXPECT_EQ(csv::detectDelimiter(head, '?'), want) << what;
}

TEST(CsvRead, FieldsQuotesAndLineEndsAsSpreadsheetsReadThem) {
    TempDir dir;
    const std::string content = "\xEF\xBB\xBFSample name,,R01-1,\"R01,2\"\r\n"
                                "Site code,,\"SITE \"\"A\"\"\",\"line\nbreak\"\r\n"
                                "Sampling date,,2009-01-30,30/01/2009\r\n"
                                "\r\n"
                                "1234,\"Navicula\",\"12\",  7 \rX\n"
                                "\"stray\"text,,,,\n"
                                "last,,,-1.5";
    const auto loaded = loadText("Survey 2009.csv", content, dir);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    ASSERT_EQ(loaded.book->sheetCount(), 1);
    EXPECT_EQ(loaded.book->getSheet(0)->name(), "Survey 2009");
    EXPECT_EQ(loaded.book->fileFormat(), FileFormat::Csv);
    EXPECT_TRUE(loaded.book->notes().empty());
    const std::vector<std::string> want = {
        "0,0 text Sample name",   "0,2 text R01-1",      "0,3 text R01,2",
        "1,0 text Site code",     "1,2 text SITE \"A\"", "1,3 text line\nbreak",
        "2,0 text Sampling date", "2,2 number 39843",    "2,3 text 30/01/2009",
        "4,0 number 1234",        "4,1 text Navicula",   "4,2 number 12",
        "4,3 number 7",           "5,0 text X",          "6,0 text straytext",
        "7,0 text last",          "7,3 number -1.5",
    };
    EXPECT_EQ(cells(*loaded.book), want);

    // Semicolons: decimal commas; tabs: points only.
    const auto semicolons = loadText("eu.csv", "Alk;;2,5;102,75;1.5\n", dir);
    ASSERT_TRUE(semicolons.ok) << semicolons.error;
    EXPECT_EQ(cells(*semicolons.book),
              (std::vector<std::string>{"0,0 text Alk", "0,2 number 2.5", "0,3 number 102.75",
                                        "0,4 number 1.5"}));
    const auto tabs = loadText("counts.tsv", "Alk\t2,5\t3.5\n", dir);
    ASSERT_TRUE(tabs.ok) << tabs.error;
    EXPECT_EQ(cells(*tabs.book),
              (std::vector<std::string>{"0,0 text Alk", "0,1 text 2,5", "0,2 number 3.5"}));
}

TEST(CsvRead, TextThatIsNotUtf8IsReadAsWindows1252AndSaidSo) {
    TempDir dir;
    const std::string note =
        "the file is not UTF-8 text; it was read as Windows-1252 (Western European)";
    struct Case {
        const char* what;
        const char* name;
        std::string content;
        std::vector<std::string> cells;
        bool noted;
    };
    const Case cases[] = {
        {"UTF-8",
         "a.csv",
         "Caf\xC3\xA9,\xE2\x82\xAC\n",
         {"0,0 text Caf\u00E9", "0,1 text \u20AC"},
         false},
        {"Windows-1252",
         "a.csv",
         "Caf\xE9,\x80,\x81\n",
         {"0,0 text Caf\u00E9", "0,1 text \u20AC", "0,2 text \u0081"},
         true},
        // Texts read as UTF-8 before the first byte that is not are read again.
        {"UTF-8 look-alike first",
         "a.txt",
         "\xC3\xA9t\xC3\xA9\n\xE9t\xE9\n",
         {"0,0 text \u00C3\u00A9t\u00C3\u00A9", "1,0 text \u00E9t\u00E9"},
         true},
        {"a mark says UTF-8",
         "a.csv",
         "\xEF\xBB\xBF"
         "Caf\xE9\n",
         {"0,0 text Caf\uFFFD"},
         false},
        {"any name, UTF-8",
         "counts.dat",
         "Sample\tR1\n",
         {"0,0 text Sample", "0,1 text R1"},
         false},
    };
    for (const auto& c : cases) {
        const auto loaded = loadText(c.name, c.content, dir);
        ASSERT_TRUE(loaded.ok) << c.what << ": " << loaded.error;
        EXPECT_EQ(cells(*loaded.book), c.cells) << c.what;
        EXPECT_EQ(loaded.book->notes(),
                  c.noted ? std::vector<std::string>{note} : std::vector<std::string>{})
            << c.what;
    }
    // Only a name that says text lets a file that is not UTF-8 be read as Windows-1252,
    // whether its first bytes show it or a later one does.
    std::string rows;
    for (int i = 0; i < 20000; ++i)
        rows += "1\t2\n";
    const auto early = loadText("counts.dat", "Sample\tR1\nCaf\xE9\n", dir);
    EXPECT_EQ(early.error,
              "the file is neither a workbook (.xls, .xlsx, .ods, .fods) nor CSV or TSV text");
    const auto late = loadText("counts.dat", "Sample\tR1\n" + rows + "Caf\xE9\n", dir);
    EXPECT_EQ(late.error, "the file is text, but not UTF-8 (row 20002); give it the extension "
                          ".csv, .tsv or .txt to read it as Windows-1252 text");
}

TEST(CsvRead, HostileFilesAreRefusedWithTheReasonBeforeTheyAreRead) {
    TempDir dir;
    // A file of 4 GB whose first bytes show what it is: refused without reading the rest.
    auto huge = [&](const std::string& name, const std::string& start) {
        const std::string path = dir.file(name);
        writeFile(path, start);
        fs::resize_file(path, std::uintmax_t{4} << 30); // a sparse tail of NUL bytes
        return load(path);
    };
    const std::string longField(1024 * 1024 + 1, 'x');
    std::string manyRows;
    for (int i = 0; i <= kXlsxMaxRows; ++i)
        manyRows += "1\n";
    std::string manyFields(kXlsxMaxCols, ',');
    manyFields += "1\n";
    const std::pair<Loaded, std::string> cases[] = {
        {huge("nul.csv", "a,b\n"), "the file holds a NUL byte (row 2), which text files never do"},
        {huge("long.csv", "a,b\n" + longField + "\n"),
         "row 2 is longer than 1 MB, which no table of counts is (is the file CSV text?)"},
        {huge("quote.csv", "a,\"" + longField),
         "row 1 is longer than 1 MB, which no table of counts is (is the file CSV text?)"},
        {loadText("open.csv", "a,b\n\"c,d\ne\n", dir),
         "the quoted field that starts in row 2 is not closed before the end of the file"},
        {loadText("quoted-nul.csv", std::string("\"a\0b\"\n", 6), dir),
         "the file holds a NUL byte (row 1), which text files never do"},
        {loadText("rows.csv", manyRows, dir),
         "the file has more than 1048576 rows, more than a worksheet holds"},
        {loadText("fields.csv", manyFields, dir),
         "row 1 has more than 16384 fields, more than a worksheet has columns"},
    };
    for (const auto& [loaded, reason] : cases) {
        EXPECT_FALSE(loaded.ok) << reason;
        EXPECT_EQ(loaded.error, reason);
        EXPECT_EQ(loaded.book->sheetCount(), 0);
    }
    // Empty rows past the last are no reason to refuse; nor are as many rows and columns as
    // a worksheet holds.
    std::string full = manyRows.substr(4) + std::string(kXlsxMaxCols - 1, ',') + "2\n\n\n";
    const auto fits = loadText("full.csv", full, dir);
    ASSERT_TRUE(fits.ok) << fits.error;
    EXPECT_EQ(fits.book->getSheet(0)->lastRow(), kXlsxMaxRows);
    EXPECT_EQ(fits.book->getSheet(0)->lastCol(), kXlsxMaxCols);
}

} // namespace
} // namespace frusta
