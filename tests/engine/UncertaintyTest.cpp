#include "EngineFixture.h"

#include "engine/NormalLowerTail.h"

#include <cmath>

using namespace frusta;
using namespace frusta::test;

namespace {

// The confidence figures in the order of the site table, and the class before them.
const std::array<S, 9> kFigures = {S::CocHigh, S::CocGood, S::CocModerate, S::CocPoor, S::CocBad,
                                   S::Rom,     S::CocHG,   S::CocMPB,      S::RomGM};
const std::array<S, 10> kClassAndFigures = {S::Class,   S::CocHigh, S::CocGood, S::CocModerate,
                                            S::CocPoor, S::CocBad,  S::Rom,     S::CocHG,
                                            S::CocMPB,  S::RomGM};

class SiteUncertainty : public EngineTest {
protected:
    void SetUp() override {
        useMetric(kFamilyRivers, kMetricTDI4);
        doc.m_boundaryTable = makeBoundaries({{"", 0.0, {0.8, 0.6, 0.4, 0.2}}});
        doc.m_cocTable = makeCoc({0.1, 0.0, 0.0, 1.0});
    }

    // Samples with site codes, EQRs (NAN for none) and, for lakes, types.
    void setSamples(const std::vector<std::string>& sites, const std::vector<double>& eqrs,
                    const std::vector<std::string>& types = {}) {
        const int n = static_cast<int>(sites.size());
        doc.m_infoValues.assign(6, std::vector<std::string>(n));
        doc.m_infoValues[1] = sites;
        if (!types.empty())
            doc.m_infoValues[3] = types;
        doc.m_pResults = std::make_unique<dMat>(n, kResultColumnCount, 0.0);
        for (int i = 0; i < n; ++i)
            (*doc.m_pResults)(i, col(R::Eqr)) = std::isnan(eqrs[i]) ? -99.9 : eqrs[i];
    }

    void expectAllFinite() const {
        for (int r = 0; r < doc.m_pUncertainty->nrow(); ++r)
            for (S c : allSiteColumns())
                EXPECT_TRUE(std::isfinite(site(r, c))) << r << "," << col(c);
    }

    // Expected CoC High for mean m, n samples and logit standard error s, boundary 0.8.
    static double highAt(double m, double s) {
        return 100.0 * (1.0 - NormalLowerTail((std::log(0.8 / 0.2) - std::log(m / (1 - m))) / s));
    }
};

} // namespace

TEST_F(SiteUncertainty, RiverWorkedExample) {
    setSamples({"S1", "S1", "S1", "S1"}, {0.6, 0.8, 0.7, 0.7});
    ASSERT_TRUE(doc.RunUncertainty());
    ASSERT_EQ(doc.m_pUncertainty->nrow(), 1);
    EXPECT_EQ(site(0, S::Samples), 4.0);
    EXPECT_EQ(site(0, S::Missing), 0.0);
    EXPECT_NEAR(site(0, S::MeanEqr), 0.7, 1e-12);
    EXPECT_EQ(site(0, S::Class), 2.0);
    const double expected[] = {1.18, 95.65, 3.17, 0.00, 0.00, 4.35, 96.83, 3.17, 3.17};
    for (std::size_t k = 0; k < kFigures.size(); ++k)
        EXPECT_NEAR(site(0, kFigures[k]), expected[k], 0.005) << "column " << col(kFigures[k]);
    EXPECT_TRUE(doc.m_bUncertaintyDone);
    EXPECT_EQ(doc.m_siteCodes, (std::vector<std::string>{"S1"}));
    ASSERT_EQ(doc.m_uncLabels.size(), 21u);
    EXPECT_EQ(doc.m_uncLabels.front(), "Site code");
    EXPECT_EQ(doc.m_uncLabels[col(S::RomGM) + 1], "RoM-G/M");
    EXPECT_EQ(doc.m_uncLabels[kSiteColumnCount + 1], "");
}

TEST_F(SiteUncertainty, GroupingBySiteCode) {
    setSamples({"A1", "a1", "B2", "C3", "c3", "X", "D4", "d4", "D4"},
               {0.6, 0.8, 0.5, 0.7, NAN, 0.9, NAN, 0.4, 0.6});
    ASSERT_TRUE(doc.RunUncertainty());
    EXPECT_EQ(doc.m_siteCodes, (std::vector<std::string>{"A1", "B2", "C3", "D4"}));
    const double counts[][3] = {{2, 0, 0.7}, {1, 0, 0.5}, {1, 1, 0.7}, {2, 1, 0.5}};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(site(r, S::Samples), counts[r][0]) << r;
        EXPECT_EQ(site(r, S::Missing), counts[r][1]) << r;
        EXPECT_NEAR(site(r, S::MeanEqr), counts[r][2], 1e-12) << r;
    }
    EXPECT_EQ(site(1, S::Class), 3.0); // 0.5: Moderate
}

TEST_F(SiteUncertainty, TiesAndTheCapAtPoint999) {
    setSamples({"GM", "TOP", "NEAR"}, {0.6, 1.0, 0.999});
    ASSERT_TRUE(doc.RunUncertainty());
    // The mean on the Good/Moderate boundary is Good, but its risks count it as Moderate.
    EXPECT_EQ(site(0, S::Class), 2.0);
    EXPECT_DOUBLE_EQ(site(0, S::RomGM), 100.0 - site(0, S::CocMPB));
    EXPECT_DOUBLE_EQ(site(0, S::Rom), 100.0 - site(0, S::CocModerate));
    // A mean of 1 keeps its value but is evaluated as 0.999.
    EXPECT_EQ(site(1, S::MeanEqr), 1.0);
    for (S c : kFigures)
        EXPECT_EQ(site(1, c), site(2, c)) << col(c);
    expectAllFinite();
}

TEST_F(SiteUncertainty, LogitStandardErrorCapByFamily) {
    doc.m_cocTable = makeCoc({0.3, 0.0, 0.0, 1.0}); // s = 0.3 / 0.25 = 1.2 at a mean of 0.5
    setSamples({"R1"}, {0.5});
    ASSERT_TRUE(doc.RunUncertainty());
    EXPECT_NEAR(site(0, S::CocHigh), highAt(0.5, 1.0), 1e-9);

    useMetric(kFamilyLakes, kMetricLTDI2);
    doc.m_boundaryTable = makeBoundaries({{"L1", 40.0, {0.8, 0.6, 0.4, 0.2}}});
    setSamples({"R1"}, {0.5}, {"l1"});
    ASSERT_TRUE(doc.RunUncertainty());
    EXPECT_NEAR(site(0, S::CocHigh), highAt(0.5, 1.2), 1e-9);
}

TEST_F(SiteUncertainty, SitesWithoutFiguresDoNotStopTheOthers) {
    useMetric(kFamilyLakes, kMetricLTDI1);
    doc.m_boundaryTable = makeBoundaries({{"L1", 40.0, {0.8, 0.6, 0.4, 0.2}}});
    setSamples({"S1", "S2", "S3", "S4"}, {0.7, 0.7, NAN, -0.2}, {"ZZ", "L1", "L1", "L1"});
    ASSERT_TRUE(doc.RunUncertainty());
    for (S c : kClassAndFigures) {
        EXPECT_TRUE(siteMissing(0, c)) << col(c); // lake type in no boundary row
        EXPECT_TRUE(siteMissing(2, c)) << col(c); // no sample with an EQR
        EXPECT_FALSE(siteMissing(1, c)) << col(c);
    }
    EXPECT_TRUE(siteMissing(2, S::MeanEqr));
    EXPECT_EQ(site(2, S::Missing), 1.0);
    // A negative mean has a class but no logit, so no confidence of class.
    EXPECT_EQ(site(3, S::Class), 5.0);
    for (S c : kFigures)
        EXPECT_TRUE(siteMissing(3, c)) << col(c);
}

TEST_F(SiteUncertainty, FailuresAreReported) {
    setSamples({"A", "B", ""}, {0.5, 0.5, 0.5});
    EXPECT_FALSE(doc.RunUncertainty());
    doc.m_infoValues[1].pop_back();
    EXPECT_FALSE(doc.RunUncertainty());
    EXPECT_EQ(port.texts(),
              (std::vector<std::string>{
                  "Site information is missing, uncertainty analysis cannot be performed",
                  "Error in sample numbers - uncertainty results not available"}));
    EXPECT_FALSE(doc.m_pUncertainty);
    EXPECT_FALSE(doc.m_bUncertaintyDone);
}

TEST_F(SiteUncertainty, AfterAnAnalysisOfSamples) {
    app.taxonTable = makeMasterList({{"N1", "AAAA", 1.0, {}}, {"N2", "BBBB", 5.0, {}}});
    setCounts({"AAAA", "BBBB"}, {{6, 4}, {6, 4}, {0, 0}});
    setInfo(1, {"Up", "UP", "Down"});
    setInfo(3, {"10", "10", "10"});
    ASSERT_TRUE(doc.RunAnalysis());
    ASSERT_TRUE(doc.RunUncertainty());
    ASSERT_EQ(doc.m_siteCodes, (std::vector<std::string>{"Up", "Down"}));
    EXPECT_NEAR(site(0, S::MeanEqr), cell(0, R::Eqr), 1e-12);
    EXPECT_EQ(site(0, S::Class), 2.0);
    EXPECT_EQ(site(1, S::Samples), 0.0);
    EXPECT_EQ(site(1, S::Missing), 1.0);
    expectAllFinite();
}

TEST_F(SiteUncertainty, MeanEqrOfZeroHasFiguresAtTheBottomOfTheScale) {
    // Every sample at EQR 0: the logit mean is minus infinity, the logit standard error
    // takes its cap and every P(b) is 1, for rivers and lakes alike.
    const double bottom[] = {0.0, 0.0, 0.0, 0.0, 100.0, 0.0, 0.0, 100.0, 0.0};
    setSamples({"R1", "R1", "R2"}, {0.0, 0.0, 0.0});
    ASSERT_TRUE(doc.RunUncertainty());
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(site(r, S::MeanEqr), 0.0);
        EXPECT_EQ(site(r, S::Class), 5.0);
        for (std::size_t k = 0; k < kFigures.size(); ++k)
            EXPECT_EQ(site(r, kFigures[k]), bottom[k]) << "river site " << r << ", figure " << k;
    }
    EXPECT_EQ(site(0, S::Samples), 2.0);

    useMetric(kFamilyLakes, kMetricLTDI2);
    doc.m_boundaryTable = makeBoundaries({{"L1", 40.0, {0.8, 0.6, 0.4, 0.2}}});
    setSamples({"L0", "LA", "LA"}, {NAN, 0.0, 0.0}, {"L1", "L1", "L1"});
    ASSERT_TRUE(doc.RunUncertainty());
    EXPECT_TRUE(siteMissing(0, S::MeanEqr)); // no sample with an EQR: no figures
    for (S c : kClassAndFigures)
        EXPECT_TRUE(siteMissing(0, c)) << col(c);
    EXPECT_EQ(site(1, S::Class), 5.0);
    for (std::size_t k = 0; k < kFigures.size(); ++k)
        EXPECT_EQ(site(1, kFigures[k]), bottom[k]) << "lake, figure " << k;
}

TEST_F(SiteUncertainty, OnlyTheFiguresThatStayNonFiniteAreMissing) {
    // A Poor/Bad boundary of 0 has the logit minus infinity too: at a mean of 0 the
    // probability below it is undefined, and with it Bad, Poor, RoM, MPB and RoM-G/M; High,
    // Good, Mod and HG stay.
    doc.m_boundaryTable = makeBoundaries({{"", 0.0, {0.8, 0.6, 0.4, 0.0}}});
    setSamples({"Z1"}, {0.0});
    ASSERT_TRUE(doc.RunUncertainty());
    EXPECT_EQ(site(0, S::Class), 4.0);
    for (S c : {S::CocHigh, S::CocGood, S::CocModerate, S::CocHG})
        EXPECT_EQ(site(0, c), 0.0) << col(c);
    for (S c : {S::CocPoor, S::CocBad, S::Rom, S::CocMPB, S::RomGM})
        EXPECT_TRUE(siteMissing(0, c)) << col(c);

    // A standard error of 0 at a mean of 0 gives 0 / 0 on the logit scale: no figure at
    // all, the class stays.
    doc.m_boundaryTable = makeBoundaries({{"", 0.0, {0.8, 0.6, 0.4, 0.2}}});
    doc.m_cocTable = makeCoc({0.0, 0.0, 0.0, 1.0});
    setSamples({"Z1"}, {0.0});
    ASSERT_TRUE(doc.RunUncertainty());
    EXPECT_EQ(site(0, S::Class), 5.0);
    for (S c : kFigures)
        EXPECT_TRUE(siteMissing(0, c)) << col(c);
}

TEST_F(SiteUncertainty, MeanEqrOfZeroAfterAnAnalysis) {
    // Every scored taxon at the worst score: metric 100, EQR 0 for TDI4.
    app.taxonTable = makeMasterList({{"N1", "AAAA", 5.0, {}}, {"N2", "BBBB", 5.0, {}}});
    setCounts({"AAAA", "BBBB"}, {{6, 4}, {1, 9}});
    setInfo(1, {"Worst", "Worst"});
    setInfo(3, {"10", "100"});
    ASSERT_TRUE(doc.RunAnalysis());
    EXPECT_EQ(cell(0, R::Metric), 100.0);
    EXPECT_EQ(cell(0, R::Eqr), 0.0);
    EXPECT_EQ(cell(1, R::Eqr), 0.0);
    ASSERT_TRUE(doc.RunUncertainty());
    EXPECT_EQ(site(0, S::Samples), 2.0);
    EXPECT_EQ(site(0, S::MeanEqr), 0.0);
    EXPECT_EQ(site(0, S::CocBad), 100.0); // CoC Bad
    EXPECT_EQ(site(0, S::Rom), 0.0);      // RoM
    EXPECT_EQ(site(0, S::CocMPB), 100.0);
    EXPECT_EQ(site(0, S::RomGM), 0.0);
    expectAllFinite();
}
