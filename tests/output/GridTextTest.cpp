// The texts of the grid windows' cells, without any window.
#include "output/GridText.h"
#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "support/ScriptedPort.h"

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
    for (auto [c, name] : std::vector<std::pair<int, std::string>>{
             {1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {702, "ZZ"}})
        EXPECT_EQ(cells::columnName(c), name) << c;
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
