// The texts of the grid windows' cells, without any window.
#include "output/GridText.h"
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "output/DateText.h"
#include "refdb/dbTable.h"
#include "workbook/Book.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <tuple>

namespace frusta {
namespace {

using R = ResultColumn;
using S = SiteColumn;

const std::vector<std::string> kClasses = {"High", "Good", "Moderate", "Poor", "Bad"};

// A document of two samples with three information rows (names, sites, dates) and results.
struct GridDoc : ::testing::Test {
    CPbtApp app;
    ScriptedPort port;
    CPbtDoc doc{app, port};

    void SetUp() override {
        doc.m_nInfoRows = 3;
        doc.m_infoLabels = {"Sample name", "Site code", "Sampling date"};
        doc.m_infoValues = {{"S1", "S2"}, {"A", "B"}, {"40179", "x7"}};
        doc.m_nSamples = 2;
        doc.m_nTaxa = 1;
        doc.m_taxa = {{"AC001A", "Achnanthes", ""}};
        doc.m_pCounts = std::make_unique<dMat>(2, 1);
        (*doc.m_pCounts)(0, 0) = 3.0;
        doc.m_pResults = std::make_unique<dMat>(2, kResultColumnCount);
        doc.m_resultLabels = resultLabels(kMetricTDI4);
        dMat& r = *doc.m_pResults;
        r(0, col(R::Eqr)) = 0.8;
        r(0, col(R::Class)) = 2.7;
        r(0, col(R::Planktic)) = 12.345;
        r(1, col(R::Eqr)) = -99.9;
        r(1, col(R::Class)) = 7.0;
        r(1, col(R::Planktic)) = -1.5;
        doc.m_comments = {"", "no scored taxa"};
        doc.m_pUncertainty = std::make_unique<dMat>(1, kSiteColumnCount, -99.9);
        doc.m_uncLabels = {"Site code", "No. Samples"};
        doc.m_siteCodes = {"A"};
        (*doc.m_pUncertainty)(0, col(S::Samples)) = 3.0;
        (*doc.m_pUncertainty)(0, col(S::MeanEqr)) = -1.5;
        (*doc.m_pUncertainty)(0, col(S::Class)) = 4.9;
    }
};

TEST_F(GridDoc, SampleResultsTexts) {
    using cells::results;
    using cells::resultsGridColumn;
    EXPECT_EQ(cells::resultsColumnCount(doc), 3 + 11);
    EXPECT_EQ(results(doc, kClasses, 0, 0), "");
    EXPECT_EQ(results(doc, kClasses, 0, 2), "Site code");
    EXPECT_EQ(results(doc, kClasses, 0, 4), "Sample sum");
    EXPECT_EQ(results(doc, kClasses, 2, 0), "2");
    EXPECT_EQ(results(doc, kClasses, 1, 3), "01-Jan-2010"); // the date row from its text
    EXPECT_EQ(results(doc, kClasses, 2, 3), "0");           // no leading digits: the number 0
    EXPECT_EQ(results(doc, kClasses, 1, resultsGridColumn(doc, R::Eqr)),
              "0.80"); // EQR with 2 decimals
    EXPECT_EQ(results(doc, kClasses, 1, resultsGridColumn(doc, R::Class)),
              "Good"); // 2.7 truncated to 2
    EXPECT_EQ(results(doc, kClasses, 1, resultsGridColumn(doc, R::Planktic)), "12.3");
    EXPECT_EQ(results(doc, kClasses, 2, resultsGridColumn(doc, R::Eqr)), "...");      // missing
    EXPECT_EQ(results(doc, kClasses, 2, resultsGridColumn(doc, R::Planktic)), "..."); // negative
    EXPECT_EQ(results(doc, kClasses, 2, resultsGridColumn(doc, R::Comment)), "no scored taxa");
    EXPECT_NE(results(doc, kClasses, 2, resultsGridColumn(doc, R::Class)),
              "Bad"); // class code 7 names no class
    EXPECT_NO_THROW(results(doc, {}, 1, resultsGridColumn(doc, R::Class))); // no class names loaded
}

TEST_F(GridDoc, SiteResultsShowNegativesAndTwoDecimals) {
    using cells::uncertainty;
    using cells::uncertaintyGridColumn;
    EXPECT_EQ(uncertainty(doc, kClasses, 0, 1), "Site code");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, 0), "");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, 1), "A");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, uncertaintyGridColumn(S::Samples)), "3.00");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, uncertaintyGridColumn(S::Missing)), "...");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, uncertaintyGridColumn(S::MeanEqr)), "-1.50");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, uncertaintyGridColumn(S::Class)),
              "Poor"); // 4.9 truncated to 4
}

TEST_F(GridDoc, DataTextsAndColumnNames) {
    using cells::data;
    EXPECT_EQ(data(doc, 0, 1), "A");
    EXPECT_EQ(data(doc, 1, 1), "Sample name");
    EXPECT_EQ(data(doc, 1, 2), "");
    EXPECT_EQ(data(doc, 3, 3), "01-Jan-2010");
    EXPECT_EQ(data(doc, 3, 4), "x7"); // not a day number: the text unchanged
    EXPECT_EQ(data(doc, 4, 1), "AC001A");
    EXPECT_EQ(data(doc, 4, 3), "3.00");
    EXPECT_EQ(data(doc, 4, 4), "0.00");
    EXPECT_FALSE(cells::dataRowUnscored(doc, 4)); // before the first analysis
    doc.m_pTaxonScored = {-1};
    EXPECT_TRUE(cells::dataRowUnscored(doc, 4));
    EXPECT_FALSE(cells::dataRowUnscored(doc, 1)); // information rows never
    for (auto [c, name] : std::vector<std::pair<int, std::string>>{{1, "A"},
                                                                   {26, "Z"},
                                                                   {27, "AA"},
                                                                   {52, "AZ"},
                                                                   {702, "ZZ"},
                                                                   {703, "AAA"},
                                                                   {704, "AAB"},
                                                                   {728, "AAZ"},
                                                                   {729, "ABA"},
                                                                   {2002, "BXZ"},
                                                                   {18278, "ZZZ"}})
        EXPECT_EQ(cells::columnName(c), name) << c;
}

// Day numbers become dates only strictly between 20000 and 60000. Outside, the results grid
// shows the number strtol read from the text (the leading digits), the data grid the text.
TEST_F(GridDoc, DateRowBoundsAndFallbacks) {
    const std::array<std::string, 3> cases[] = {{"20000", "20000", "20000"},
                                                {"20001", "04-Oct-1954", "04-Oct-1954"},
                                                {"59999", "07-Apr-2064", "07-Apr-2064"},
                                                {"60000", "60000", "60000"},
                                                {" 40179.75", "01-Jan-2010", "01-Jan-2010"},
                                                {"1e5 days", "1", "1e5 days"}};
    for (const auto& [text, result, data] : cases) {
        doc.m_infoValues[2][0] = text;
        EXPECT_EQ(cells::results(doc, kClasses, 1, 3), result) << text;
        EXPECT_EQ(cells::data(doc, 3, 3), data) << text;
    }
}

TEST(GridText, PreviewDatesOnlyInRowThreeFromColumnThree) {
    auto book = Book::createBinary();
    Sheet* sheet = book->addSheet("Counts");
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 4; ++r)
            sheet->setNumber(r, c, c < 4 ? 20000 + c : 59998 + (c - 3));
    EXPECT_EQ(cells::preview(*sheet, 3, 2), "20001");       // column 2 is never a date
    EXPECT_EQ(cells::preview(*sheet, 3, 3), "05-Oct-1954"); // 20002
    EXPECT_EQ(cells::preview(*sheet, 2, 3), "20002");       // row 2 is never a date
    EXPECT_EQ(cells::preview(*sheet, 3, 1), "20000");
    EXPECT_EQ(cells::preview(*sheet, 3, 5), "07-Apr-2064"); // 59999
    EXPECT_EQ(cells::preview(*sheet, 3, 6), "60000");
    EXPECT_EQ(cells::preview(*sheet, 5, 1), ""); // below the used rows
}

// The master list shows Int as empty when zero or less, Long as it is, Double with 13
// significant digits, Bool as "Yes" or nothing, and nothing for fields it cannot read.
TEST(GridText, MasterListRenderingsByFieldType) {
    dbTable t;
    t.addColumn("TaxonId", ColumnType::Int);
    t.addColumn("Count", ColumnType::Long);
    t.addColumn("TDI4", ColumnType::Double);
    t.addColumn("TaxonName", ColumnType::Text);
    t.addColumn("Planktic", ColumnType::Bool);
    t.setRowCount(3);
    t.setInt(0, 0, 17);
    t.setInt(1, 0, 0);
    t.setInt(2, 0, -4);
    t.setLong(0, 1, 0);
    t.setLong(1, 1, -4);
    t.setLong(2, 1, 2147483647);
    t.setDouble(0, 2, 0.1 + 0.2);
    t.setDouble(1, 2, 1.0 / 3.0);
    t.setDouble(2, 2, 1e20);
    t.setText(0, 3, "Achnanthidium minutissimum");
    t.setBool(0, 4, true);
    t.setBool(1, 4, false);

    // Grid rows and columns: the header row, the row numbers, then one per record and field;
    // a Null text and a Null Bool show nothing, and so do cells past the last field or record.
    const std::vector<std::tuple<int, int, std::string>> expected = {
        {0, 0, ""},         {0, 1, "TaxonId"},
        {0, 5, "Planktic"}, {0, 6, ""},
        {1, 0, "1"},        {3, 0, "3"},
        {1, 1, "17"},       {2, 1, ""},
        {3, 1, ""},         {1, 2, "0"},
        {2, 2, "-4"},       {3, 2, "2147483647"},
        {1, 3, "0.3"},      {2, 3, "0.3333333333333"},
        {3, 3, "1e+20"},    {1, 4, "Achnanthidium minutissimum"},
        {2, 4, ""},         {1, 5, "Yes"},
        {2, 5, ""},         {3, 5, ""},
        {4, 1, ""}};
    for (const auto& [r, c, text] : expected)
        EXPECT_EQ(cells::taxonList(t, r, c), text) << r << "," << c;
    EXPECT_EQ(cells::taxonList(dbTable{}, 1, 1), "");
}

TEST(GridText, DatesAndDecimalsIgnoreTheProcessLocale) {
    EXPECT_EQ(dateText(40179), "01-Jan-2010");
    EXPECT_EQ(dateText(60), "29-Feb-1900");
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        CPbtApp app;
        ScriptedPort port;
        CPbtDoc doc(app, port);
        doc.m_nSamples = 1;
        doc.m_nTaxa = 1;
        doc.m_taxa = {{"T", "N", ""}};
        doc.m_pCounts = std::make_unique<dMat>(1, 1, 2.5);
        EXPECT_EQ(cells::data(doc, 1, 3), "2.50");
        std::setlocale(LC_ALL, "C");
    }
}

} // namespace
} // namespace frusta
