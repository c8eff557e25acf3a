// The texts of the grid windows' cells, without any window.
#include "output/GridText.h"
#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "refdb/dbTable.h"
#include "support/ScriptedPort.h"
#include "workbook/Book.h"

#include <gtest/gtest.h>

#include <clocale>

namespace frusta {
namespace {

const std::vector<std::string> kClasses = {"High", "Good", "Moderate", "Poor", "Bad"};

// A document of two samples with three information rows (names, sites, dates) and results.
struct GridDoc : ::testing::Test {
    CPbtApp app;
    test::ScriptedPort port;
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
        doc.m_pResults = std::make_unique<dMat>(2, 12);
        doc.m_resultLabels = {"Type",     "Sample sum",         "Sum TDI4",   "TDI4",
                              "eTDI4",    "EQR TDI4",           "Class TDI4", "% Planktic",
                              "% Motile", "% Organic tolerant", "% Saline",   "Comment TDI4",
                              ""};
        dMat& r = *doc.m_pResults;
        r(0, 5) = 0.8;
        r(0, 6) = 2.7;
        r(0, 7) = 12.345;
        r(1, 5) = -99.9;
        r(1, 6) = 7.0;
        r(1, 7) = -1.5;
        doc.m_comments = {"", "no scored taxa"};
        doc.m_pUncertainty = std::make_unique<dMat>(1, 13, -99.9);
        doc.m_uncLabels = {"Site code", "No. Samples"};
        doc.m_siteCodes = {"A"};
        (*doc.m_pUncertainty)(0, 0) = 3.0;
        (*doc.m_pUncertainty)(0, 2) = -1.5;
        (*doc.m_pUncertainty)(0, 3) = 4.9;
    }
};

TEST_F(GridDoc, SampleResultsTexts) {
    using cells::results;
    EXPECT_EQ(cells::resultsColumnCount(doc), 3 + 11);
    EXPECT_EQ(results(doc, kClasses, 0, 0), "");
    EXPECT_EQ(results(doc, kClasses, 0, 2), "Site code");
    EXPECT_EQ(results(doc, kClasses, 0, 4), "Sample sum");
    EXPECT_EQ(results(doc, kClasses, 2, 0), "2");
    EXPECT_EQ(results(doc, kClasses, 1, 3), "01-Jan-2010"); // the date row from its text
    EXPECT_EQ(results(doc, kClasses, 2, 3), "0");           // no leading digits: the number 0
    EXPECT_EQ(results(doc, kClasses, 1, 3 + 5), "0.80");    // EQR with 2 decimals
    EXPECT_EQ(results(doc, kClasses, 1, 3 + 6), "Good");    // 2.7 truncated to 2
    EXPECT_EQ(results(doc, kClasses, 1, 3 + 7), "12.3");
    EXPECT_EQ(results(doc, kClasses, 2, 3 + 5), "..."); // missing
    EXPECT_EQ(results(doc, kClasses, 2, 3 + 7), "..."); // negative
    EXPECT_EQ(results(doc, kClasses, 2, 3 + 11), "no scored taxa");
    EXPECT_NE(results(doc, kClasses, 2, 3 + 6), "Bad"); // class code 7 names no class
    EXPECT_NO_THROW(results(doc, {}, 1, 3 + 6));        // no class names loaded
}

TEST_F(GridDoc, SiteResultsShowNegativesAndTwoDecimals) {
    using cells::uncertainty;
    EXPECT_EQ(uncertainty(doc, kClasses, 0, 1), "Site code");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, 0), "");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, 1), "A");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, 2), "3.00");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, 3), "...");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, 4), "-1.50");
    EXPECT_EQ(uncertainty(doc, kClasses, 1, 5), "Poor"); // 4.9 truncated to 4
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
// shows the number strtol read from the text, the data grid the text unchanged.
TEST_F(GridDoc, DateRowBoundsAndFallbacks) {
    doc.m_infoValues[2] = {"20000", "20001"};
    EXPECT_EQ(cells::results(doc, kClasses, 1, 3), "20000");
    EXPECT_EQ(cells::results(doc, kClasses, 2, 3), "04-Oct-1954");
    EXPECT_EQ(cells::data(doc, 3, 3), "20000");
    EXPECT_EQ(cells::data(doc, 3, 4), "04-Oct-1954");
    doc.m_infoValues[2] = {"59999", "60000"};
    EXPECT_EQ(cells::results(doc, kClasses, 1, 3), "07-Apr-2064");
    EXPECT_EQ(cells::results(doc, kClasses, 2, 3), "60000");
    EXPECT_EQ(cells::data(doc, 3, 3), "07-Apr-2064");
    EXPECT_EQ(cells::data(doc, 3, 4), "60000");
    // strtol reads the leading digits; what follows them is ignored.
    doc.m_infoValues[2] = {" 40179.75", "1e5 days"};
    EXPECT_EQ(cells::results(doc, kClasses, 1, 3), "01-Jan-2010");
    EXPECT_EQ(cells::results(doc, kClasses, 2, 3), "1");
    EXPECT_EQ(cells::data(doc, 3, 3), "01-Jan-2010");
    EXPECT_EQ(cells::data(doc, 3, 4), "1e5 days");
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

    using cells::taxonList;
    EXPECT_EQ(taxonList(t, 0, 0), "");
    EXPECT_EQ(taxonList(t, 0, 1), "TaxonId");
    EXPECT_EQ(taxonList(t, 0, 5), "Planktic");
    EXPECT_EQ(taxonList(t, 0, 6), ""); // past the last field
    EXPECT_EQ(taxonList(t, 1, 0), "1");
    EXPECT_EQ(taxonList(t, 3, 0), "3");

    EXPECT_EQ(taxonList(t, 1, 1), "17");
    EXPECT_EQ(taxonList(t, 2, 1), "");
    EXPECT_EQ(taxonList(t, 3, 1), "");
    EXPECT_EQ(taxonList(t, 1, 2), "0");
    EXPECT_EQ(taxonList(t, 2, 2), "-4");
    EXPECT_EQ(taxonList(t, 3, 2), "2147483647");
    EXPECT_EQ(taxonList(t, 1, 3), "0.3");
    EXPECT_EQ(taxonList(t, 2, 3), "0.3333333333333");
    EXPECT_EQ(taxonList(t, 3, 3), "1e+20");
    EXPECT_EQ(taxonList(t, 1, 4), "Achnanthidium minutissimum");
    EXPECT_EQ(taxonList(t, 2, 4), ""); // Null text
    EXPECT_EQ(taxonList(t, 1, 5), "Yes");
    EXPECT_EQ(taxonList(t, 2, 5), "");
    EXPECT_EQ(taxonList(t, 3, 5), ""); // Null is false
    EXPECT_EQ(taxonList(t, 4, 1), ""); // past the last record
    EXPECT_EQ(taxonList(dbTable{}, 1, 1), "");
}

TEST(GridText, DatesAndDecimalsIgnoreTheProcessLocale) {
    EXPECT_EQ(cells::serialDateText(40179), "01-Jan-2010");
    EXPECT_EQ(cells::serialDateText(60), "29-Feb-1900");
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        CPbtApp app;
        test::ScriptedPort port;
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
