#include "output/ResultsBook.h"
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "output/ResultsWriter.h"
#include "support/FilledResults.h"
#include "workbook/Book.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace frusta;

namespace {

// An analysed document of two samples and three taxa, filled by hand.
class ResultsBookTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.m_nFamily = 0;
        doc.m_nMetric = 4;
        doc.m_strMetric = "TDI4";
        doc.m_strSummary = "File:\tx.xls\r\nWorksheet:\tS\r\n\r\nMetric:\tTDI4";
        doc.m_taxa = {{"AC001A", "Achnanthes", ""}, {"XX999", "Unknown", ""}, {"ZZ1", "Other", ""}};
        doc.m_nTaxa = 3;
        doc.m_nSamples = 2;
        doc.m_pCounts = std::make_unique<dMat>(2, 3);
        dMat& c = *doc.m_pCounts;
        c(0, 0) = 10;
        c(0, 1) = 1;
        c(1, 1) = 3;
        c(1, 2) = 4;
        doc.m_pTaxonScored = {0, -1, -1};
        doc.m_nNoScoreTaxa = 2;
        doc.m_infoLabels = {"Sample", "Site", "Date", "Alkalinity"};
        doc.m_infoValues = {{"S1", "S2"}, {"A1", "A1"}, {"40179", "20000"}, {"50", ""}};
        test::fillTwoSamples(
            doc, kMetricTDI4, [](int k) { return k + 0.25; }, 2);
        doc.m_comments = {"", "No matching taxa found"};
    }
    Book& build() {
        buildResultsBook(doc, defaultClassNames(), *book);
        return *book;
    }
    static std::string str(const Sheet& s, int r, int c) {
        const char* t = s.readStr(r, c);
        return t ? t : "<none>";
    }

    CPbtApp app;
    ScriptedPort port;
    CPbtDoc doc{app, port};
    std::unique_ptr<Book> book = Book::createXml();
};

} // namespace

TEST(SummaryRows, SplitsAtCrLf) {
    EXPECT_EQ(summaryRows("a\r\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(summaryRows("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(summaryRows("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(summaryRows("Number of taxa:\t2"), (std::vector<std::string>{"Number of taxa: 2"}));
    EXPECT_EQ(summaryRows("x\ry\nz"), (std::vector<std::string>{"xyz"}));
}

TEST_F(ResultsBookTest, JobSummaryAndUnmatchedTaxa) {
    Book& b = build();
    ASSERT_EQ(b.sheetCount(), 4); // no uncertainty sheet
    EXPECT_EQ(b.getSheet(2)->name(), "Taxon matching");
    EXPECT_EQ(b.getSheet(3)->name(), "Run details");
    const Sheet& s = *b.getSheet(0);
    EXPECT_EQ(s.name(), "Job Summary");
    EXPECT_EQ(str(s, 0, 0), "File: x.xls");
    EXPECT_EQ(str(s, 2, 0), "");
    EXPECT_EQ(str(s, 3, 0), "Metric: TDI4");
    EXPECT_EQ(s.cellType(4, 0), CellType::Empty);
    EXPECT_EQ(str(s, 5, 0), "The following taxa do not have TDI4 scores in the FRUSTA database.");
    EXPECT_EQ(s.cellType(6, 0), CellType::Empty);
    const char* headers[] = {"Code", "Name", "N", "N2", "Max", "TDI3", "TDI4"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(str(s, 7, c), headers[c]);
    EXPECT_EQ(str(s, 8, 0), "XX999");
    EXPECT_EQ(s.readNum(8, 2), 2.0); // occurs in both samples
    EXPECT_EQ(s.cellFormat(8, 2), 0);
    EXPECT_DOUBLE_EQ(s.readNum(8, 3), 1.0 / (0.0625 + 0.5625)); // N2 of (1, 3)
    EXPECT_EQ(b.format(s.cellFormat(8, 3))->numFormat(), 2);
    EXPECT_EQ(s.readNum(8, 4), 3.0);
    EXPECT_EQ(str(s, 9, 0), "ZZ1");
    EXPECT_EQ(s.readNum(9, 3), 1.0);
    EXPECT_EQ(s.lastRow(), 10);
    EXPECT_EQ(s.cellType(8, 5), CellType::Empty);
}

TEST_F(ResultsBookTest, DamHeaderHasFiveColumnsAndNoTableWithoutUnscoredTaxa) {
    doc.m_nFamily = 2;
    doc.m_strMetric = "DAM";
    const Sheet& s = *build().getSheet(0);
    EXPECT_EQ(str(s, 7, 4), "Max");
    EXPECT_EQ(s.cellType(7, 5), CellType::Empty);

    doc.m_nNoScoreTaxa = 0;
    auto other = Book::createXml();
    buildResultsBook(doc, defaultClassNames(), *other);
    EXPECT_EQ(other->getSheet(0)->lastRow(), 4);
}

TEST_F(ResultsBookTest, SampleSummaryCells) {
    const Book& b = build();
    const Sheet& s = *b.getSheet(1);
    EXPECT_EQ(s.name(), "Sample Summary");
    EXPECT_EQ(str(s, 0, 0), "Sample");
    EXPECT_EQ(str(s, 1, 1), "A1");
    EXPECT_EQ(s.readNum(1, 2), 40179.0);
    EXPECT_EQ(b.format(s.cellFormat(1, 2))->numFormat(), 14);
    EXPECT_EQ(s.readNum(2, 2), 20000.0); // a bound is a plain number
    EXPECT_EQ(s.cellFormat(2, 2), 0);
    EXPECT_EQ(str(s, 1, 3), "50");
    EXPECT_EQ(str(s, 0, 4), "Sample sum");
    EXPECT_EQ(s.readNum(1, 4), 1.25);
    EXPECT_EQ(b.format(s.cellFormat(1, 4))->numFormat(), 2);
    EXPECT_EQ(str(s, 0, 9), "Class TDI4");
    EXPECT_EQ(str(s, 1, 9), "Good");
    EXPECT_EQ(s.cellType(2, 9), CellType::Empty); // missing class
    EXPECT_EQ(s.cellType(2, 6), CellType::Empty); // missing metric
    EXPECT_EQ(s.cellType(2, 8), CellType::Empty); // missing EQR
    EXPECT_EQ(s.readNum(2, 4), 0.0);              // a real zero stays
    EXPECT_EQ(s.cellType(2, 4), CellType::Number);
    EXPECT_EQ(str(s, 0, 13), "% Saline");
    EXPECT_EQ(str(s, 0, 14), "Comment TD14");
    EXPECT_EQ(str(s, 2, 14), "No matching taxa found");
    EXPECT_EQ(s.lastCol(), 15); // the "Type" column is never written
}

TEST_F(ResultsBookTest, UncertaintySheet) {
    using S = SiteColumn;
    // A class code outside 1..5 keeps its number.
    test::fillTwoSites(
        doc,
        {{S::Samples, 4}, {S::Missing, 0}, {S::MeanEqr, 0.7}, {S::Class, 2}, {S::CocHigh, 1.18}},
        {{S::Samples, 0}, {S::Missing, 2}, {S::Class, 0}});
    const Book& b = build();
    ASSERT_EQ(b.sheetCount(), 5);
    const Sheet& s = *b.getSheet(2);
    EXPECT_EQ(s.name(), "Uncertainty TDI4");
    EXPECT_EQ(str(s, 0, 13), "RoM-G/M");
    EXPECT_EQ(s.lastCol(), 14);
    EXPECT_EQ(str(s, 1, 0), "A1");
    EXPECT_EQ(s.readNum(1, 1), 4.0);
    EXPECT_EQ(s.cellFormat(1, 1), 0);
    EXPECT_EQ(str(s, 1, 4), "Good");
    EXPECT_EQ(b.format(s.cellFormat(1, 3))->numFormat(), 2);
    EXPECT_EQ(s.readNum(2, 4), 0.0);
    EXPECT_EQ(s.cellType(2, 4), CellType::Number);
    EXPECT_EQ(s.cellType(2, 3), CellType::Empty); // no mean EQR: left empty
    EXPECT_EQ(s.cellType(2, 5), CellType::Empty);
}

TEST(UncertaintySheetName, ByMetric) {
    EXPECT_EQ(uncertaintyTitle(3), "Uncertainty TDI3");
    EXPECT_EQ(uncertaintyTitle(6), "Uncertainty LTDI2");
    EXPECT_EQ(uncertaintyTitle(0), "Uncertainty DAM");
}

TEST(ResultsWriter, SaveBeforeAnalysisTellsTheUser) {
    CPbtApp app;
    ScriptedPort port;
    CPbtDoc doc(app, port);
    port.resultsFile = ResultsFileChoice{"/tmp/never-written.xlsx", ResultsFileType::Xlsx};
    EXPECT_FALSE(saveResultsWorkbook(doc));
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_EQ(port.shown[0].text.rfind("There are no results to save yet.", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists("/tmp/never-written.xlsx"));
}

TEST_F(ResultsBookTest, CancelledFileChoiceWritesNothing) {
    port.resultsFile.reset();
    doc.SetModifiedFlag();
    EXPECT_FALSE(saveResultsWorkbook(doc));
    EXPECT_TRUE(port.shown.empty());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ResultsBookTest, SaveFailureKeepsTheDocumentModified) {
    port.resultsFile = ResultsFileChoice{"/nonexistent-folder/Results.xlsx", ResultsFileType::Xlsx};
    doc.SetModifiedFlag();
    EXPECT_FALSE(saveResultsWorkbook(doc));
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_NE(port.shown[0].text.find("folder"), std::string::npos) << port.shown[0].text;
    EXPECT_TRUE(doc.IsModified());
}

// The question before the results are lost: none for an unmodified document; Cancel stops,
// No goes on unsaved, and Yes lets the window close only when the results were written.
TEST_F(ResultsBookTest, SaveResultsQuestion) {
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(saveModified(doc));
    EXPECT_TRUE(port.shown.empty());
    doc.SetModifiedFlag();
    const std::string missingFolder = "/nonexistent-folder/Results.xlsx";
    struct Case {
        Answer answer;
        std::optional<std::string> file; // the results file chosen after Yes
        bool goesOn;
    };
    for (const Case& c : {Case{Answer::Cancel, {}, false}, Case{Answer::No, {}, true},
                          Case{Answer::Yes, missingFolder, false}, Case{Answer::Yes, {}, false}}) {
        port.shown.clear();
        port.answers = {c.answer};
        port.resultsFile.reset();
        if (c.file)
            port.resultsFile = ResultsFileChoice{*c.file, ResultsFileType::Xlsx};
        EXPECT_EQ(saveModified(doc), c.goesOn) << static_cast<int>(c.answer);
        ASSERT_FALSE(port.shown.empty());
        EXPECT_EQ(port.shown[0].text, "Save Results?");
        EXPECT_EQ(port.shown[0].buttons, Buttons::YesNoCancel);
        EXPECT_TRUE(doc.IsModified());
    }
    const std::string written = ::testing::TempDir() + "saved-results.xlsx";
    port.answers = {Answer::Yes};
    port.resultsFile = ResultsFileChoice{written, ResultsFileType::Xlsx};
    EXPECT_TRUE(saveModified(doc));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(std::filesystem::exists(written));
    std::filesystem::remove(written);
}
