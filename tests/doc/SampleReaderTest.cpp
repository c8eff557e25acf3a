#include "doc/SampleReader.h"
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "doc/WorksheetProposal.h"
#include "support/TestDatabase.h"
#include "workbook/Book.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace frusta;

namespace {

// A sample worksheet held in memory: information rows 1-6, taxa from row 7, counts from
// column C.
struct SampleSheet {
    std::unique_ptr<Book> book = Book::createXml();
    Sheet* sheet = book->addSheet("Counts");

    SampleSheet& text(int row1, int col1, const std::string& s) {
        sheet->writeStr(row1 - 1, col1 - 1, s);
        return *this;
    }
    SampleSheet& num(int row1, int col1, double v) {
        sheet->writeNum(row1 - 1, col1 - 1, v);
        return *this;
    }
    // Three samples, rivers layout, two taxa.
    static SampleSheet rivers() {
        SampleSheet s;
        s.text(1, 1, "Sample").text(1, 3, "S1").text(1, 4, "S2").text(1, 5, "S3");
        s.text(2, 1, "Site").text(2, 3, "AB1").text(2, 4, "AB1").text(2, 5, "CD2");
        s.text(3, 1, "Date").num(3, 3, 40179).num(3, 4, 40300).text(3, 5, "none");
        s.text(4, 1, "Alkalinity (mg/l)").num(4, 3, 123.4567).num(4, 4, 50).text(4, 5, "");
        s.text(5, 1, "Calcium").text(6, 1, "DOC");
        s.text(7, 1, "AC001A").text(7, 2, "Achnanthes").num(7, 3, 10).num(7, 4, 0).num(7, 5, 3);
        s.num(8, 1, 1234).text(8, 2, "Numeric code").num(8, 3, 5);
        s.sheet->setBlank(7, 3); // a blank count cell gives 0
        return s;
    }
};

class SampleReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.addStandardTables();
        app.connectionString = db.connectionString();
        port.worksheet = WorksheetChoice{0, 0, true, 7, 3};
    }
    bool read(SampleSheet& s) {
        doc.SetTitle("DATA.XLS");
        return readSampleWorkbook(doc, *s.book).ok();
    }
    std::vector<std::string> messages() const { return port.texts(); }

    test::TestDatabase db;
    CPbtApp app;
    ScriptedPort port;
    CPbtDoc doc{app, port};
};

} // namespace

TEST_F(SampleReaderTest, ReadsRiversWorkbook) {
    auto s = SampleSheet::rivers();
    ASSERT_TRUE(read(s)) << ::testing::PrintToString(messages());
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(doc.m_nSamples, 3);
    EXPECT_EQ(doc.m_nTaxa, 2);
    EXPECT_EQ(doc.m_nInfoRows, 6);
    EXPECT_EQ(doc.m_nMetric, 4);
    EXPECT_EQ(doc.m_strMetric, "TDI4");
    EXPECT_EQ(doc.m_infoLabels[3], "Alkalinity (mg/l)");
    EXPECT_EQ(doc.m_infoValues[2], (std::vector<std::string>{"40179", "40300", "none"}));
    EXPECT_EQ(doc.m_infoValues[3], (std::vector<std::string>{"123.457", "50", ""}));
    EXPECT_EQ(doc.m_taxa[1].code, "1234");
    EXPECT_EQ(doc.m_taxa[0].third, ""); // FC is column C: no third text
    const dMat& c = *doc.m_pCounts;
    EXPECT_EQ(c.nrow(), 3);
    EXPECT_EQ(c.ncol(), 2);
    EXPECT_EQ(c(0, 0), 10.0);
    EXPECT_EQ(c(1, 0), 0.0);
    EXPECT_EQ(c(2, 0), 3.0);
    EXPECT_EQ(c(1, 1), 0.0);
    EXPECT_TRUE(doc.m_bDoUncertainty);
    ASSERT_TRUE(doc.m_boundaryTable);
    EXPECT_EQ(doc.m_boundaryTable->rowCount, 1);
    ASSERT_TRUE(doc.m_cocTable);
    EXPECT_EQ(doc.m_cocTable->rowCount, 4);
    EXPECT_EQ(doc.m_strSummary, "File:\tDATA.XLS\r\nWorksheet:\tCounts\r\n\r\nMetric:\tTDI4\r\n\r\n"
                                "Number of taxa:\t2\r\nNumber of samples:\t3");
}

TEST_F(SampleReaderTest, DocumentsKeepTheirOwnTables) {
    auto rivers = SampleSheet::rivers();
    ASSERT_TRUE(read(rivers));
    const auto riverBoundaries = doc.m_boundaryTable;

    CPbtDoc lake(app, port);
    port.worksheet = WorksheetChoice{0, 1, true, 7, 3};
    auto s = SampleSheet::rivers();
    s.text(4, 1, "Lake type");
    ASSERT_TRUE(readSampleWorkbook(lake, *s.book));
    EXPECT_EQ(lake.m_boundaryTable->rowCount, 2); // LTDI2: HA and MA
    EXPECT_EQ(doc.m_boundaryTable, riverBoundaries);
    EXPECT_EQ(doc.m_boundaryTable->rowCount, 1);
}

TEST_F(SampleReaderTest, ScansEndAtEmptyCells) {
    auto s = SampleSheet::rivers();
    s.sheet->setError(0, 3, 0x2A); // an error value in row 1 ends the samples
    s.text(9, 2, "after the gap"); // taxa end at the empty code in row 9
    s.text(10, 1, "LATE");
    ASSERT_TRUE(read(s));
    EXPECT_EQ(doc.m_nSamples, 1);
    EXPECT_EQ(doc.m_nTaxa, 2);
}

TEST_F(SampleReaderTest, DamWithSevenInfoRowsSkipsRowFourAndTheUncertainty) {
    port.worksheet = WorksheetChoice{0, 2, false, 8, 3};
    auto s = SampleSheet::rivers();
    s.text(4, 1, "anything");
    s.text(8, 1, "TAXON8");
    ASSERT_TRUE(read(s)) << ::testing::PrintToString(messages());
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(doc.m_nTaxa, 1);
    EXPECT_EQ(doc.m_nMetric, 2);
    EXPECT_FALSE(doc.m_bDoUncertainty);
    EXPECT_NE(doc.m_strSummary.find("\r\n\r\nConfidence of class parameters not found for DAM, "
                                    "uncertainty estimates will not be calculated."),
              std::string::npos);
}

TEST_F(SampleReaderTest, ThirdTextIsReadWhenCountsStartAtColumnD) {
    port.worksheet = WorksheetChoice{0, 0, false, 7, 4};
    auto s = SampleSheet::rivers();
    s.text(7, 3, "third");
    s.text(1, 3, "notes"); // column C heading is not a sample any more
    ASSERT_TRUE(read(s));
    EXPECT_EQ(doc.m_strMetric, "TDI3");
    EXPECT_EQ(doc.m_nSamples, 2);
    EXPECT_EQ(doc.m_taxa[0].third, "third");
}

TEST_F(SampleReaderTest, FailuresShowTheirMessage) {
    struct Case {
        const char* message;
        WorksheetChoice choice;
        std::function<void(SampleSheet&)> change;
    };
    // The other messages are provoked end to end by workbooks of other programs.
    const std::vector<Case> cases = {
        {"Insufficient data to calculate EQR.\nSampling date, calcium and DOC values must be in "
         "rows 3, 5 and 6.",
         {0, 2, true, 6, 3}, // five information rows are enough for rivers, not for DAM
         [](SampleSheet& s) { s.text(4, 1, "nothing"); }},
        {"Error: Lake Type must be in row 4 for LTDI1 or LTDI2 calculations.",
         {0, 1, true, 7, 3},
         [](SampleSheet&) {}},
        {"Error: indeterminate data in row 8, col 4",
         {0, 0, true, 7, 3},
         [](SampleSheet& s) { s.text(8, 4, "<1"); }},
        {"Error: indeterminate data in row 7, col 5",
         {0, 0, true, 7, 3},
         [](SampleSheet& s) { s.sheet->setError(6, 4, 0x07); }},
    };
    for (const Case& c : cases) {
        ScriptedPort p;
        p.worksheet = c.choice;
        CPbtDoc d(app, p);
        auto s = SampleSheet::rivers();
        c.change(s);
        const Outcome read = readSampleWorkbook(d, *s.book);
        EXPECT_FALSE(read) << c.message;
        ASSERT_FALSE(p.shown.empty()) << c.message;
        EXPECT_EQ(p.shown.back().text, c.message);
        ASSERT_EQ(read.notices().size(), 1u) << c.message;
        EXPECT_EQ(read.notices()[0].text, c.message);
        EXPECT_EQ(p.shown.back().buttons, Buttons::Ok);
    }
}

TEST_F(SampleReaderTest, AFileThatIsNoWorkbookIsRefusedWithItsReason) {
    const std::string path = ::testing::TempDir() + "not-a-workbook.xlsx";
    std::ofstream(path) << "Site,Date\nA,1\n";
    EXPECT_FALSE(doc.OnOpenDocument(path));
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_EQ(port.shown[0].text, "Error reading file");
    EXPECT_EQ(port.shown[0].detail,
              "the file is neither an Excel 97-2003 (.xls) nor an Excel 2007 (.xlsx) workbook");
    std::remove(path.c_str());
}

TEST_F(SampleReaderTest, CancelShowsNothing) {
    port.worksheet.reset();
    auto s = SampleSheet::rivers();
    EXPECT_FALSE(read(s));
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(port.worksheetRequests.size(), 1u);
    EXPECT_EQ(port.worksheetRequests[0].sheetNames, (std::vector<std::string>{"Counts"}));
}

// The reading of the file and the reading of the counts are long work that the user may
// stop: the open then ends without a message, and the book is released.
TEST_F(SampleReaderTest, StoppedReadingShowsNothing) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("frusta-stop-" + std::to_string(getpid()) + ".xlsx");
    auto sheet = SampleSheet::rivers();
    ASSERT_TRUE(sheet.book->save(file.string()));
    const std::string name = file.filename().string();
    const std::vector<std::string> both = {"Reading " + name, "Reading the counts of " + name};
    for (const int stop : {0, 1, -1}) {
        ScriptedPort p;
        p.worksheet = WorksheetChoice{0, 0, true, 7, 3};
        p.cancelLongWork = stop;
        CPbtDoc d(app, p);
        const Outcome opened = d.OnOpenDocument(file.string());
        EXPECT_EQ(opened.ok(), stop < 0) << stop;
        EXPECT_TRUE(opened.notices().empty()) << stop;
        EXPECT_TRUE(p.texts().empty()) << stop;
        EXPECT_EQ(p.worksheetRequests.size(), stop == 0 ? 0u : 1u);
        EXPECT_EQ(p.longWork, stop == 0 ? std::vector<std::string>{both[0]} : both);
        if (stop < 0) {
            EXPECT_EQ((*d.m_pCounts)(2, 0), 3.0);
        }
    }
    std::filesystem::remove(file);
}

TEST_F(SampleReaderTest, TooManyTaxaEndTheOpenWithAMessage) {
    auto s = SampleSheet::rivers();
    for (int r = 9; r <= 7 + 20000; ++r)
        s.num(r, 1, r);
    EXPECT_FALSE(read(s));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].rfind("The worksheet has 20001 taxa", 0), 0u);
}

// Dates that a CSV file writes as 30/01/2009 stay texts, which the analysis takes for
// missing dates: the open tells so once the file is read, and only for such dates in CSV.
TEST_F(SampleReaderTest, AmbiguousCsvDatesAreWarnedAboutOnceTheFileIsRead) {
    const std::string head = "Sample,,S1,S2,S3\nSite,,A,A,B\nDate,,";
    const std::string tail = "\nAlkalinity,,10,20,30\nCa\nDOC\nAC001A,Achnanthes,1,2,";
    const std::string many =
        "The sampling dates of 2 samples are written as 01/30/2009 (row 3, column D) and the "
        "like, which may be day/month or month/day; they are read as missing dates.\nWrite "
        "dates in CSV files as year-month-day, for example 2009-01-30.";
    const std::string one =
        "The sampling date of 1 sample is written as 30.01.09 (row 3, column E), which may be "
        "day/month or month/day; it is read as a missing date.\nWrite dates in CSV files as "
        "year-month-day, for example 2009-01-30.";
    const std::string indeterminate = "Error: indeterminate data in row 7, col 5";
    struct Case {
        const char* what;
        std::string dates;
        std::string lastCount;
        bool opened;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"two ambiguous", "2009-01-30,01/30/2009,1/31/2009", "3", true, {many}},
        {"one ambiguous", "2009-01-30,none,30.01.09", "3", true, {one}},
        {"ISO dates", "2009-01-30,2009-01-31 12:00,2010-05-21", "3", true, {}},
        {"a failed open says only why", "01/30/2009,,", "<1", false, {indeterminate}},
    };
    const std::string path = ::testing::TempDir() + "/dates.csv";
    for (const auto& c : cases) {
        { std::ofstream(path) << head << c.dates << tail << c.lastCount << "\n"; }
        port.shown.clear();
        CPbtDoc csvDoc{app, port};
        EXPECT_EQ(csvDoc.OnOpenDocument(path).ok(), c.opened) << c.what;
        EXPECT_EQ(port.texts(), c.messages) << c.what;
    }
}

TEST(WorksheetProposal, FirstRowFromColumnB) {
    auto book = Book::createXml();
    Sheet& s = *book->addSheet("x");
    s.writeStr(0, 0, "Sample");
    EXPECT_EQ(proposeFirstRow(s, 1), 1);
    EXPECT_EQ(proposeFirstRow(s, 5), 5);
    s.writeStr(2, 1, "");
    s.writeNum(3, 1, 12);
    s.writeStr(6, 1, "Achnanthes");
    EXPECT_EQ(proposeFirstRow(s, 1), 7);
    auto late = Book::createXml();
    late->addSheet("y")->writeStr(20, 1, "too late"); // row 21 is outside the first 20
    EXPECT_EQ(proposeFirstRow(*late->getSheet(0), 3), 3);
}

TEST(WorksheetProposal, ColumnLetters) {
    EXPECT_EQ(columnLetters(1), "A");
    EXPECT_EQ(columnLetters(26), "Z");
    EXPECT_EQ(columnLetters(27), "AA");
    EXPECT_EQ(columnLetters(52), "AZ");
    EXPECT_EQ(columnLetters(702), "ZZ");
    EXPECT_EQ(columnLetters(703), "AAA");
    EXPECT_EQ(parseColumn("c"), 3);
    EXPECT_EQ(parseColumn("AA"), 27);
    EXPECT_EQ(parseColumn("20"), 20);
    EXPECT_EQ(parseColumn("0"), 0);
    EXPECT_EQ(parseColumn("C3"), 0);
    EXPECT_EQ(parseColumn(""), 0);
}
