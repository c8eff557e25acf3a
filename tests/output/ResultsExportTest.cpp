// The results tables and their CSV and JSON forms: the values a workbook shows with two
// decimals come out at full precision, missing values empty or null, texts quoted as RFC 4180
// requires.
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "output/CsvWriter.h"
#include "output/JsonWriter.h"
#include "output/ResultsTables.h"
#include "support/FilledResults.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <sstream>

using namespace frusta;

namespace {

// Two samples, one of them without scored taxa, two sites, one unscored taxon.
class ResultsExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.m_nFamily = kFamilyRivers;
        doc.m_nMetric = kMetricTDI4;
        doc.m_strMetric = "TDI4";
        doc.m_strSummary = "File:\tx.xls\r\nMetric:\tTDI4\r\n";
        doc.m_taxa = {{"AC001A", "Achnanthes", ""}, {"XX999", "Unknown, \"new\"", ""}};
        doc.m_pCounts = std::make_unique<dMat>(2, 2);
        (*doc.m_pCounts)(0, 0) = 10;
        (*doc.m_pCounts)(1, 1) = 3;
        doc.m_pTaxonScored = {0, -1};
        doc.m_nNoScoreTaxa = 1;
        doc.m_infoLabels = {"Sample", "Site", "Date", ""};
        doc.m_infoValues = {{"S1", "S2"}, {"A1", "B2"}, {"40179", "7"}, {"50", "60"}};
        test::fillTwoSamples(
            doc, kMetricTDI4, [](int k) { return k / 3.0; }, 2.9); // class 2
        doc.m_comments = {"", "Missing Alkalinity, value set to 100 mg/l\nNo matching taxa found"};
        using S = SiteColumn;
        test::fillTwoSites(
            doc, {{S::Samples, 1}, {S::Missing, 0}, {S::MeanEqr, 0.123456789}, {S::Class, 5}},
            {{S::Samples, 0}, {S::Missing, 1}, {S::Class, 0}});
    }
    ResultsTables tables() const { return buildResultsTables(doc, defaultClassNames()); }

    CPbtApp app;
    ScriptedPort port;
    CPbtDoc doc{app, port};
};

} // namespace

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(csvField("plain text"), "plain text");
    EXPECT_EQ(csvField(""), "");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(csvField("cr\r"), "\"cr\r\"");
    EXPECT_EQ(csvField("Ärger"), "Ärger");
}

TEST(CellText, NumbersAtFullPrecisionThatReadBackExactly) {
    for (double v : {1.0 / 3, 0.1, 23.0, -0.0625, 1e-7, 123456789.125, 5e300}) {
        const std::string t = cellText(TableCell::num(v, CellFormat::TwoDecimals));
        EXPECT_EQ(std::stod(t), v) << t;
    }
    EXPECT_EQ(cellText(TableCell::num(23.0)), "23");
    EXPECT_EQ(cellText(TableCell::num(1.0 / 3)), "0.3333333333333333");
    EXPECT_EQ(cellText(TableCell::empty()), "");
    EXPECT_EQ(cellText(TableCell::str("x")), "x");
}

TEST(ClassCode, TruncatedTowardsZeroAndOnlyOneToFive) {
    EXPECT_EQ(classCodeOf(1.0), 1);
    EXPECT_EQ(classCodeOf(5.99), 5);
    EXPECT_EQ(classCodeOf(0.99), 0);
    EXPECT_EQ(classCodeOf(6.0), 0);
    EXPECT_EQ(classCodeOf(-99.9), 0);
}

TEST(InfoKey, EmptyAndRepeatedLabelsGetTheirRow) {
    EXPECT_EQ(infoKey("Site code", 1, false), "Site code");
    EXPECT_EQ(infoKey("", 3, false), "row 4");
    EXPECT_EQ(infoKey("Site code", 6, true), "Site code (row 7)");
}

TEST_F(ResultsExportTest, TablesHoldTheWorkbookValuesAtFullPrecision) {
    const ResultsTables t = tables();
    ASSERT_EQ(t.samples.header.size(), 15u);
    EXPECT_EQ(t.samples.header[4], "Sample sum");
    EXPECT_EQ(t.samples.header[14], "Comment TD14");
    EXPECT_EQ((std::pair{t.classColumn, t.commentColumn}), (std::pair{9, 14}));
    const TableRow& s1 = t.samples.rows[0];
    EXPECT_EQ(s1[2].number, 40179.0);
    EXPECT_EQ(s1[2].format, CellFormat::Date);
    EXPECT_EQ(t.samples.rows[1][2].format, CellFormat::None); // 7 is no day number
    EXPECT_EQ(s1[4].number, 1.0 / 3);
    EXPECT_EQ(s1[4].format, CellFormat::TwoDecimals);
    EXPECT_EQ(s1[9].text, "Good");
    EXPECT_EQ(t.sampleClass, (std::vector<int>{2, 0}));
    for (int c : {6, 7, 8, 9})
        EXPECT_TRUE(t.samples.rows[1][c].isEmpty()) << c;

    ASSERT_TRUE(t.hasUnmatched);
    EXPECT_EQ(t.unmatched.header.size(), 7u);
    ASSERT_EQ(t.unmatched.rows.size(), 1u);
    EXPECT_EQ(t.unmatched.rows[0].size(), 7u); // padded to the header
    EXPECT_EQ(t.unmatched.rows[0][0].text, "XX999");

    ASSERT_TRUE(t.hasSites);
    EXPECT_EQ(t.sitesSheetName, "Uncertainty TDI4");
    EXPECT_EQ(t.sites.rows[0][3].number, 0.123456789);
    EXPECT_EQ(t.sites.rows[0][4].text, "Bad");
    EXPECT_EQ(t.sites.rows[1][4].number, 0.0); // class code 0 keeps its number
    EXPECT_TRUE(t.sites.rows[1][3].isEmpty());
    EXPECT_EQ(t.siteClass, (std::vector<int>{5, 0}));
}

TEST_F(ResultsExportTest, CsvOfSamplesAndUnmatchedTaxa) {
    const ResultsTables t = tables();
    std::ostringstream samples;
    writeCsv(t.samples, samples);
    const std::string text = samples.str();
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "Sample,Site,Date,,Sample sum,Sum TDI4,TDI4,eTDI4,EQR TDI4,Class TDI4,% Planktic,"
              "% Motile,% Organic tolerant,% Saline,Comment TD14");
    EXPECT_NE(text.find("\r\nS1,A1,40179,50,0.3333333333333333,0.6666666666666666,1,"
                        "1.3333333333333333,1.6666666666666667,Good,"),
              std::string::npos);
    EXPECT_NE(text.find("\r\nS2,B2,7,60,0,0,,,,,0,0,0,0,\"Missing Alkalinity, value set to 100 "
                        "mg/l\nNo matching taxa found\"\r\n"),
              std::string::npos)
        << text;

    std::ostringstream unmatched;
    writeCsv(t.unmatched, unmatched);
    EXPECT_EQ(unmatched.str(),
              "Code,Name,N,N2,Max,TDI3,TDI4\r\nXX999,\"Unknown, \"\"new\"\"\",1,1,3,,\r\n");
}

TEST_F(ResultsExportTest, JsonDocument) {
    std::ostringstream out;
    writeJson(tables(), {"in/x.xls", "Rivers"}, out);
    const auto j = nlohmann::json::parse(out.str());
    EXPECT_EQ(j["input"], "in/x.xls");
    EXPECT_EQ(j["worksheet"], "Rivers");
    EXPECT_EQ(j["metric"], "TDI4");
    EXPECT_EQ(j["summary"], (nlohmann::json{"File: x.xls", "Metric: TDI4"}));
    ASSERT_EQ(j["samples"].size(), 2u);
    const auto& s1 = j["samples"][0];
    EXPECT_EQ(
        s1["info"],
        (nlohmann::json{{"Sample", "S1"}, {"Site", "A1"}, {"Date", 40179.0}, {"row 4", "50"}}));
    EXPECT_EQ(s1["results"]["Sample sum"].get<double>(), 1.0 / 3);
    EXPECT_FALSE(s1["results"].contains("Class TDI4"));
    EXPECT_EQ(s1["results"].size(), 9u);
    EXPECT_EQ(s1["class"], "Good");
    EXPECT_EQ(s1["classCode"], 2);
    EXPECT_EQ(s1["comment"], "");
    const auto& s2 = j["samples"][1];
    EXPECT_TRUE(s2["results"]["EQR TDI4"].is_null());
    EXPECT_EQ(s2["results"]["Sample sum"], 0.0); // a real zero is no missing value
    EXPECT_TRUE(s2["class"].is_null());
    EXPECT_TRUE(s2["classCode"].is_null());
    ASSERT_EQ(j["sites"].size(), 2u);
    EXPECT_EQ(j["sites"][0]["Site code"], "A1");
    EXPECT_EQ(j["sites"][0]["Mean EQR"], 0.123456789);
    EXPECT_EQ(j["sites"][0]["Class"], "Bad");
    EXPECT_EQ(j["sites"][0]["classCode"], 5);
    EXPECT_TRUE(j["sites"][1]["Mean EQR"].is_null());
    EXPECT_EQ(j["sites"][1]["Class"], 0.0);
    EXPECT_EQ(j["unmatched"], (nlohmann::json::parse(R"([{"Code": "XX999",
        "Name": "Unknown, \"new\"", "N": 1.0, "N2": 1.0, "Max": 3.0}])")));
}

TEST_F(ResultsExportTest, JsonWithoutSitesOrUnmatchedTaxaAndWithBadBytes) {
    doc.m_bUncertaintyDone = false;
    doc.m_nNoScoreTaxa = 0;
    doc.m_comments[0] = "bad \xff byte";
    std::ostringstream out;
    writeJson(tables(), {"x.xls", "S"}, out);
    const auto j = nlohmann::json::parse(out.str());
    EXPECT_EQ(j["sites"], nlohmann::json::array());
    EXPECT_EQ(j["unmatched"], nlohmann::json::array());
    EXPECT_EQ(j["samples"][0]["comment"], "bad \xef\xbf\xbd byte"); // U+FFFD
}
