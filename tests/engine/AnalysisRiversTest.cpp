#include "EngineFixture.h"

#include "engine/ScoreWarning.h"

#include <cmath>

using namespace frusta;
using namespace frusta::test;

namespace {

// Scores 1 (planktic), 5 (motile), 0 (organic tolerant: matched, unscored), 3 (saline).
std::vector<MasterTaxon> riverTaxa() {
    return {{"NBNSYS0001", "AAAA", 1.0, {true, false, false, false}},
            {"NBNSYS0002", "BBBB", 5.0, {false, true, false, false}},
            {"NBNSYS0003", "CCCC", 0.0, {false, false, true, false}},
            {"NBNSYS0004", "DDDD", 3.0, {false, false, false, true}}};
}

class RiverAnalysis : public EngineTest {
protected:
    void SetUp() override {
        app.taxonTable = makeMasterList(riverTaxa());
        doc.m_boundaryTable = makeBoundaries({{"", 0.0, {0.80, 0.60, 0.40, 0.20}}});
    }
};

// 6 of AAAA and 4 of BBBB: mean score 2.6, metric value 40.
const std::vector<double> kMetric40 = {6, 4, 0, 0};

} // namespace

TEST_F(RiverAnalysis, Tdi3SummaryCommentsExpectedValuesAndEqr) {
    useMetric(kFamilyRivers, kMetricTDI3);
    std::vector<std::vector<double>> counts(8, kMetric40);
    counts[2] = {0, 0, 5, 0}; // only an unscored taxon
    setCounts({"AAAA", "BBBB", "CCCC", "DDDD"}, counts);
    setInfo(2, {"40000", "39994", "10", "", "60001", "19999", "20000", "60000"});
    setInfo(3, {"100", "", "2", "0.05", "300", "100", "50", "100"});
    doc.m_strSummary = "Start";

    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_strSummary,
              "Start"
              "\r\n\r\nAlkalinity data missing for 2 samples.\r\nMissing values have been "
              "replaced by 100 mg/l."
              "\r\n\r\n2 alkalinity values out of range for TDI3 calculations.\r\nThese values "
              "have been set to 6 or 150 mg/l."
              "\r\n\r\nSampling date missing for 4 samples.\r\nMissing values will be set to "
              "Spring for TDI3 calculations."
              "\r\n"
              "\r\nWarning: 1 taxa lack TDI3 scores in database.\r\nUse View Data to identify "
              "unmatched taxa\r\nA list of these will be saved in the results file.");
    const std::vector<std::string> comments = {
        "",
        "Missing Alkalinity, value set to 100 mg/l",
        "Alkalinity < 6, value set to 6 mg/l; Missing or bad dateNo matching taxa found",
        "Alkalinity < 6, value set to 6 mg/l; Missing or bad date",
        "Alkalinity > 150, value set to 150 mg/l; Missing or bad date",
        "Missing or bad date",
        "",
        ""};
    EXPECT_EQ(doc.m_comments, comments);

    EXPECT_NEAR(cell(0, R::Expected), 39.67, 1e-9); // July: autumn
    EXPECT_NEAR(cell(1, R::Expected), 36.46, 1e-9); // June, default alkalinity 100
    EXPECT_NEAR(cell(5, R::Expected), 36.46, 1e-9); // bad date: spring
    EXPECT_NEAR(cell(7, R::Expected), 36.46, 1e-9); // 60000 is valid: April 2064, spring
    EXPECT_DOUBLE_EQ(cell(1, R::Metric), 40.0);
    EXPECT_NEAR(cell(1, R::Eqr), 0.9443, 0.00005);
    EXPECT_EQ(cell(1, R::Class), 1.0);
    EXPECT_DOUBLE_EQ(cell(1, R::Planktic), 60.0);
    EXPECT_DOUBLE_EQ(cell(1, R::Motile), 40.0);
    for (R c : {R::Metric, R::Expected, R::Eqr, R::Class})
        EXPECT_TRUE(missing(2, c)) << col(c);
    EXPECT_EQ(cell(2, R::SampleSum), 5.0);
    EXPECT_EQ(cell(2, R::ScoredSum), 0.0);
    EXPECT_EQ(cell(2, R::OrganicTolerant), 100.0); // organic tolerant share of an unscored taxon
    EXPECT_EQ(doc.m_resultLabels[col(R::Comment)], "Comment TDI3");
    EXPECT_TRUE(doc.m_bAnalysed);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(port.waitDepth, 0);
    EXPECT_EQ(port.waitCount, 1);
    EXPECT_TRUE(port.shown.empty());
}

TEST_F(RiverAnalysis, Tdi4ClampsAlkalinityAndIgnoresDates) {
    useMetric(kFamilyRivers, kMetricTDI4);
    setCounts({"AAAA", "BBBB", "CCCC", "DDDD"}, {kMetric40, kMetric40, kMetric40});
    setInfo(2, {"", "1", "x"});
    setInfo(3, {"10", "300", "4"});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_strSummary,
              "\r\n\r\n2 alkalinity values out of range for TDI4 calculations.\r\nThese values "
              "have been set to 5 or 250 mg/l.\r\n"
              "\r\nWarning: 1 taxa lack TDI4 scores in database.\r\nUse View Data to identify "
              "unmatched taxa\r\nA list of these will be saved in the results file.");
    EXPECT_EQ(doc.m_comments,
              (std::vector<std::string>{"", "Alkalinity > 250, value set to 250 mg/l",
                                        "Alkalinity < 5, value set to 5 mg/l"}));
    EXPECT_NEAR(cell(0, R::Expected), 22.33, 0.005);
    EXPECT_NEAR(cell(0, R::Eqr), 0.6180, 0.00005);
    EXPECT_EQ(cell(0, R::Class), 2.0);
    EXPECT_NEAR(cell(1, R::Expected), 9.933 * std::exp(0.81 * std::log10(250.0)), 1e-9);
    EXPECT_EQ(doc.m_resultLabels[col(R::ScoredSum)], "Sum TDI4");
    EXPECT_EQ(doc.m_resultLabels[col(R::Comment)], "Comment TD14");
    EXPECT_EQ(doc.m_resultLabels.back(), "");
}

TEST_F(RiverAnalysis, MetricValuesSumsAndPercentages) {
    useMetric(kFamilyRivers, kMetricTDI4);
    setCounts({"AAAA", "BBBB", "bbbb", "ZZZZ", "DDDD"}, {{5, 5, 0, 0, 0},       // mean 3: 50
                                                         {2, 0, 0, 0, 0},       // all 1: 0
                                                         {0, 3, 4, 0, 0},       // all 5: 100
                                                         {0, 0, 0, 7, 0},       // unmatched only
                                                         {0, 0, 0, 0, 0},       // nothing counted
                                                         {0, 0, 0, 0, 0.5},     // below 1.0
                                                         {0.005, 0, 0, 0, 0}}); // tiny sum
    setInfo(3, std::vector<std::string>(7, "100"));
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(cell(0, R::Metric), 50.0);
    EXPECT_EQ(cell(1, R::Metric), 0.0);
    EXPECT_EQ(cell(2, R::Metric), 100.0);
    EXPECT_EQ(cell(2, R::ScoredSum), 7.0); // both taxa with code bbbb match the same master row
    EXPECT_EQ(cell(2, R::Motile), 100.0);
    EXPECT_EQ(cell(3, R::SampleSum), 7.0);
    EXPECT_EQ(cell(3, R::ScoredSum), 0.0);
    for (R c : {R::Planktic, R::Motile, R::OrganicTolerant, R::Saline}) {
        EXPECT_EQ(cell(3, c), 0.0);
        EXPECT_EQ(cell(4, c), 0.0);
    }
    EXPECT_EQ(cell(4, R::SampleSum), 0.0);
    // Scored taxa summing to less than one count: no metric, EQR or class.
    EXPECT_EQ(cell(5, R::ScoredSum), 0.5);
    for (int s : {3, 4, 5}) {
        for (R c : {R::Metric, R::Expected, R::Eqr, R::Class})
            EXPECT_TRUE(missing(s, c)) << s << "," << col(c);
        EXPECT_EQ(doc.m_comments[s], "No matching taxa found");
    }
    EXPECT_EQ(cell(5, R::Saline), 100.0);
    EXPECT_EQ(cell(6, R::Planktic), 0.005); // a sum of 0.01 or less is not turned into percentages
    EXPECT_EQ(cell(0, R::Type), 0.0);
    EXPECT_EQ(cell(0, R::Comment), 0.0);
    EXPECT_EQ(doc.m_nMatched, 4);
    EXPECT_EQ(doc.m_nScored, 4);
    EXPECT_EQ(doc.m_pTaxonMatch, (std::vector<int32_t>{0, 1, 1, -1, 3}));
    EXPECT_EQ(doc.m_pTaxonScored, (std::vector<int32_t>{0, 1, 1, -1, 3}));
    EXPECT_EQ(doc.m_nNoScoreTaxa, 1);
}

TEST_F(RiverAnalysis, NbnPrefixChoosesTheFirstCodeColumn) {
    useMetric(kFamilyRivers, kMetricTDI4);
    setCounts({"AAAA", "NBNSYS0002"}, {{1, 1}});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_pTaxonMatch, (std::vector<int32_t>{-1, 1}));

    setCounts({"AAAA", "nbnsys0002"}, {{1, 1}}); // lower case: second column
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_pTaxonMatch, (std::vector<int32_t>{0, -1}));
    EXPECT_EQ(doc.m_nMatched, 1); // the earlier results were reset
}

TEST_F(RiverAnalysis, ScoreWarningsNameTheMetric) {
    useMetric(kFamilyRivers, kMetricTDI4);
    std::vector<std::string> codes = {"AAAA", "BBBB", "DDDD", "AAAA", "BBBB",
                                      "DDDD", "AAAA", "BBBB", "CCCC", "QQQQ"};
    setCounts(codes, {std::vector<double>(10, 1.0)});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_nNoScoreTaxa, 2);
    EXPECT_EQ(doc.m_strSummary,
              "\r\n\r\nAlkalinity data missing for 1 samples.\r\nMissing values have been "
              "replaced by 100 mg/l.\r\n"
              "\r\nWarning: 2 taxa lack TDI4 scores in database.\r\nUse View Data to identify "
              "unmatched taxa\r\nA list of these will be saved in the results file.");
    const std::string tail = " scores in database.\r\nUse View Data to identify unmatched "
                             "taxa\r\nA list of these will be saved in the results file.";
    EXPECT_EQ(engine::scoreWarning(0, 3, 4), "\r\nWarning: 4 taxa lack TDI3" + tail);
    EXPECT_EQ(engine::scoreWarning(1, 5, 4), "\r\nWarning: 4 taxa lack LTDI1" + tail);
    EXPECT_EQ(engine::scoreWarning(1, 6, 4), "\r\nWarning: 4 taxa lack LTDI2" + tail);
    EXPECT_EQ(engine::scoreWarning(2, 2, 4), "\r\nWarning: 4 taxa lack DAM" + tail);

    // Every taxon scored: nothing appended and the count keeps its value.
    setCounts({"AAAA", "BBBB"}, {{1, 1}});
    setInfo(3, {"100"});
    doc.m_strSummary.clear();
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_strSummary, "\r\n");
    EXPECT_EQ(doc.m_nNoScoreTaxa, 2);
}

TEST_F(RiverAnalysis, NoTaxaStopsWithoutAMessage) {
    setCounts({}, {{}});
    doc.m_bAnalysed = true;
    doc.m_pResults = std::make_unique<dMat>(1, kResultColumnCount);
    EXPECT_FALSE(doc.RunAnalysis());
    EXPECT_FALSE(doc.m_pResults);
    EXPECT_FALSE(doc.m_bAnalysed);
    EXPECT_TRUE(port.shown.empty());
}

TEST_F(RiverAnalysis, WithoutAMasterListNothingIsMatchedAndTheUserIsTold) {
    app.taxonTable.reset();
    useMetric(kFamilyRivers, kMetricTDI4);
    setCounts({"AAAA", "BBBB"}, {kMetric40, kMetric40});
    setInfo(3, {"100", "100"});
    ASSERT_TRUE(doc.RunAnalysis());
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_EQ(port.shown[0].text,
              "The master taxon list is not available, so no taxa can be matched or scored.\n"
              "Check the reference database beside the program and start the program again.");
    EXPECT_EQ(doc.m_strSummary,
              "\r\n\r\nWarning: master taxon list not available; no taxa matched or scored."
              "\r\nWarning: 2 taxa lack TDI4 scores in database.\r\nUse View Data to identify "
              "unmatched taxa\r\nA list of these will be saved in the results file.");
    EXPECT_EQ(doc.m_nMatched, 0);
    for (int s = 0; s < 2; ++s) {
        EXPECT_EQ(cell(s, R::SampleSum), 10.0);
        for (R c : {R::Metric, R::Expected, R::Eqr, R::Class})
            EXPECT_TRUE(missing(s, c));
        EXPECT_EQ(doc.m_comments[s], "No matching taxa found");
    }
}

TEST_F(RiverAnalysis, MissingColumnsAreNotedOnceAndNotRead) {
    useMetric(kFamilyRivers, kMetricTDI3);
    app.taxonTable = makeMasterList(riverTaxa(), "TDI3");
    setCounts({"AAAA", "BBBB"}, {kMetric40, kMetric40, kMetric40});
    setInfo(2, {"40000", "40000", "40000"});
    setInfo(3, {"100", "100", "100"});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_strSummary,
              "\r\n\r\nWarning: the master taxon list has no TDI3 score column; all taxa treated "
              "as unscored."
              "\r\nWarning: 2 taxa lack TDI3 scores in database.\r\nUse View Data to identify "
              "unmatched taxa\r\nA list of these will be saved in the results file.");
    EXPECT_EQ(doc.m_nMatched, 2);
    EXPECT_EQ(doc.m_nScored, 0);
    EXPECT_EQ(cell(0, R::Planktic), 60.0);

    app.taxonTable = makeMasterList(riverTaxa(), "Motile");
    doc.m_strSummary.clear();
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_strSummary, "\r\n\r\nWarning: the master taxon list has no Motile column; "
                                "taxa treated as outside that group.");
    EXPECT_EQ(cell(0, R::Motile), 0.0);
    EXPECT_DOUBLE_EQ(cell(0, R::Metric), 40.0);
}

TEST_F(RiverAnalysis, WithoutBoundariesNoClassIsInvented) {
    useMetric(kFamilyRivers, kMetricTDI4);
    doc.m_boundaryTable = std::make_shared<dbTable>(); // a key without rows
    setCounts({"AAAA", "BBBB"}, {kMetric40});
    setInfo(3, {"10"});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_strSummary, "\r\n\r\nWarning: class boundaries for TDI4 not available; no "
                                "status classes assigned.");
    EXPECT_NEAR(cell(0, R::Eqr), 0.6180, 0.00005);
    EXPECT_TRUE(missing(0, R::Class));

    doc.m_boundaryTable.reset();
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_TRUE(missing(0, R::Class));
}
