#include "EngineFixture.h"

#include <cmath>

using namespace frusta;
using namespace frusta::test;

namespace {

class LakeDamAnalysis : public EngineTest {
protected:
    void SetUp() override {
        app.taxonTable = makeMasterList({{"N1", "AAAA", 1.0, {}}, {"N2", "BBBB", 5.0, {}}});
    }
};

const std::vector<double> kMetric40 = {6, 4}; // mean score 2.6
const std::vector<double> kMetric70 = {3, 7}; // mean score 3.8

} // namespace

TEST_F(LakeDamAnalysis, LakeTypesOfOtherLengthsStopTheAnalysis) {
    useMetric(kFamilyLakes, kMetricLTDI2);
    setCounts({"AAAA", "BBBB"}, std::vector<std::vector<double>>(5, kMetric40));
    setInfo(3, {"L1", "B", "C33", "", "l2"});
    doc.m_bAnalysed = true;
    doc.m_pResults = std::make_unique<dMat>(5, kResultColumnCount);
    doc.m_strSummary = "Start";
    EXPECT_FALSE(doc.RunAnalysis());
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_EQ(port.shown[0].text, "Lake typology information missing for 3 samples with no "
                                  "default.\nCorrect the error and try again.");
    EXPECT_EQ(port.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(doc.m_strSummary, "Start");
    EXPECT_FALSE(doc.m_pResults);
    EXPECT_FALSE(doc.m_bAnalysed);
    EXPECT_EQ(port.waitDepth, 0);
}

TEST_F(LakeDamAnalysis, LakeTypesSelectTheirBoundaryRow) {
    useMetric(kFamilyLakes, kMetricLTDI1);
    doc.m_boundaryTable =
        makeBoundaries({{"L1", 50.0, {0.9, 0.7, 0.5, 0.3}}, {"l2", 20.0, {0.95, 0.8, 0.6, 0.4}}});
    setCounts({"AAAA", "BBBB"}, {kMetric40, kMetric40, kMetric40, {0, 0}});
    setInfo(3, {"l1", "L2", "ZZ", "L1"});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_comments,
              (std::vector<std::string>{"", "", "Invalid type", "No matching taxa found"}));
    EXPECT_EQ(cell(0, R::Expected), 50.0);
    EXPECT_EQ(cell(0, R::Eqr), 1.0); // 60 / 50 capped
    EXPECT_EQ(cell(0, R::Class), 1.0);
    EXPECT_EQ(cell(1, R::Expected), 20.0);
    EXPECT_DOUBLE_EQ(cell(1, R::Eqr), 0.75);
    EXPECT_EQ(cell(1, R::Class), 3.0); // below 0.8 of its own row
    // An invalid type has no expected value, EQR or class (not zeros).
    EXPECT_DOUBLE_EQ(cell(2, R::Metric), 40.0);
    for (R c : {R::Expected, R::Eqr, R::Class})
        EXPECT_TRUE(missing(2, c)) << col(c);
    EXPECT_EQ(doc.m_strSummary, "\r\n");
    EXPECT_EQ(doc.m_resultLabels[col(R::Class)], "Class LTDI1");
    EXPECT_EQ(doc.m_resultLabels[col(R::Comment)], "Comment LTDI1");
}

TEST_F(LakeDamAnalysis, ScoredSumBelowOneIsNotAssessedWhateverTheThreshold) {
    for (int metric : {kMetricLTDI1, kMetricTDI3}) {
        useMetric(metric == kMetricLTDI1 ? kFamilyLakes : kFamilyRivers, metric);
        doc.m_boundaryTable = makeBoundaries({{"L1", 50.0}});
        setCounts({"AAAA", "BBBB"}, {{0.00005, 0}});
        setInfo(2, {"40000"});
        setInfo(3, {metric == kMetricLTDI1 ? "L1" : "100"});
        ASSERT_TRUE(doc.RunAnalysis());
        for (R c : {R::Metric, R::Expected, R::Eqr, R::Class})
            EXPECT_TRUE(missing(0, c)) << metric << "," << col(c);
        EXPECT_EQ(doc.m_comments[0], "No matching taxa found");
        doc.m_comments.clear();
    }
}

TEST_F(LakeDamAnalysis, LakesWithoutBoundaryRows) {
    useMetric(kFamilyLakes, kMetricLTDI2);
    doc.m_boundaryTable = std::make_shared<dbTable>();
    setCounts({"AAAA", "BBBB"}, {kMetric40});
    setInfo(3, {"L1"});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_comments[0], "Invalid type");
    EXPECT_EQ(doc.m_strSummary, "\r\n\r\nWarning: class boundaries for LTDI2 not available; no "
                                "status classes assigned.");
    for (R c : {R::Expected, R::Eqr, R::Class})
        EXPECT_TRUE(missing(0, c));
    EXPECT_EQ(doc.m_resultLabels[col(R::Comment)], "Comment LTD12");
}

TEST_F(LakeDamAnalysis, DamChemistryNotesAndExpectedValue) {
    useMetric(kFamilyAcid, kMetricDAM);
    doc.m_boundaryTable = makeBoundaries({{"", 0.0, {0.80, 0.60, 0.40, 0.20}}});
    setCounts({"AAAA", "BBBB"}, std::vector<std::vector<double>>(5, kMetric70));
    setInfo(4, {"100", "", "-1", "600", "3"});
    setInfo(5, {"1", "0", "-2", "60", "1"});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_strSummary,
              "\r\n\r\nCalcium data missing for 1 samples.\r\nMissing values have been replaced "
              "by 100 ueq/l."
              "\r\n\r\n3 calcium values out of range.\r\nThese values have been set to 5 or 500 "
              "ueq/l."
              "\r\n\r\nDOC data missing for 1 samples.\r\nMissing values have been replaced by 1 "
              "mg/l."
              "\r\n\r\n1 DOC values out of range.\r\nThese values have been set to 0 or 50 mg/l."
              "\r\n");
    const std::vector<std::string> comments = {
        "", "Missing Calcium, value set to 100 ueq/lMissing DOC, value set to 1 mg/l",
        "Missing Calcium, value set to 100 ueq/lMissing DOC, value set to 1 mg/l",
        "Calcium > 500, value set to 500 ueq/lDOC > 50, value set to 50 mg/l; No EQR: "
        "expected value -11.434 is below 0",
        "Calcium < 5, value set to 5 ueq/l"};
    EXPECT_EQ(doc.m_comments, comments);
    EXPECT_NEAR(cell(0, R::Expected), 58.6, 1e-9);
    EXPECT_NEAR(cell(1, R::Expected), 58.6, 1e-9);
    EXPECT_DOUBLE_EQ(cell(0, R::Metric), 70.0);
    EXPECT_EQ(cell(0, R::Eqr), 1.0); // 70 / 58.6 = 1.1945, capped
    EXPECT_EQ(cell(0, R::Class), 1.0);
    // A negative expected value stays in the results; EQR and class are empty, and the
    // comment says why after the chemistry notes.
    EXPECT_NEAR(cell(3, R::Expected), 33.0 * std::log10(500.0) - 5.5 - 1.9 * 50.0, 1e-9);
    EXPECT_TRUE(missing(3, R::Eqr));
    EXPECT_TRUE(missing(3, R::Class));
    EXPECT_EQ(doc.m_resultLabels[col(R::Expected)], "eDAM");
    EXPECT_EQ(doc.m_resultLabels[col(R::Comment)], "Comment DAM");
}

TEST_F(LakeDamAnalysis, DamDefaultsOutsideTheRangeAreClampedToo) {
    useMetric(kFamilyAcid, kMetricDAM);
    doc.m_defCa = 2.0;
    doc.m_defDoc = 0.0;
    setCounts({"AAAA", "BBBB"}, {{0, 0}});
    setInfo(4, {"0"});
    setInfo(5, {""});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(doc.m_comments[0], "Missing Calcium, value set to 2 ueq/lCalcium < 5, value set to "
                                 "5 ueq/lMissing DOC, value set to 0 mg/lNo matching taxa found");
}

TEST_F(LakeDamAnalysis, AnUndefinedEqrIsNotedInTheComment) {
    // An expected value of 100 (lakes) or 0 (DAM) leaves the EQR undefined: EQR and class
    // are empty, and the comment says why.
    useMetric(kFamilyLakes, kMetricLTDI1);
    doc.m_boundaryTable = makeBoundaries({{"L1", 100.0}, {"L2", 50.0}});
    setCounts({"AAAA", "BBBB"}, {kMetric40, kMetric40});
    setInfo(3, {"L1", "L2"});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(cell(0, R::Expected), 100.0);
    EXPECT_TRUE(missing(0, R::Eqr));
    EXPECT_TRUE(missing(0, R::Class));
    EXPECT_EQ(doc.m_comments, (std::vector<std::string>{"No EQR: expected value is 100", ""}));
    EXPECT_EQ(cell(1, R::Eqr), 1.0);

    // 33 x log10(100) - 5.5 - 1.9 x 31.842105263157897 is exactly 0.
    useMetric(kFamilyAcid, kMetricDAM);
    doc.m_boundaryTable = makeBoundaries({{"", 0.0, {0.80, 0.60, 0.40, 0.20}}});
    doc.m_comments.clear();
    setCounts({"AAAA", "BBBB"}, {kMetric70, kMetric70, kMetric70});
    setInfo(4, {"100", "", "100"});
    setInfo(5, {"31.842105263157897", "31.842105263157897", "1"});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(cell(0, R::Expected), 0.0);
    EXPECT_TRUE(missing(0, R::Eqr));
    EXPECT_TRUE(missing(0, R::Class));
    EXPECT_EQ(doc.m_comments,
              (std::vector<std::string>{
                  "No EQR: expected value is 0",
                  "Missing Calcium, value set to 100 ueq/l; No EQR: expected value is 0", ""}));
    EXPECT_FALSE(missing(2, R::Eqr));
}
