// The engine as a function of values, without a document.
#include "EngineFixture.h"

#include "engine/Assessment.h"
#include "engine/SiteAssessment.h"

using namespace frusta;
using namespace frusta::engine;

TEST(Assessment, ValuesInTypedRecordsOut) {
    const auto master = test::makeMasterList({{"NBN1", "AAAA", 1.0, {true, false, false, false}},
                                              {"NBN2", "BBBB", 0.0, {}},
                                              {"NBN3", "CCCC", 5.0, {}}});
    const auto bounds = test::makeBoundaries({{"", 0.0, {0.80, 0.60, 0.40, 0.20}}});
    const std::vector<double> s0 = {6, 0, 4, 3}, s1 = {0, 2, 0, 0};
    const std::vector<std::vector<std::string>> info = {
        {"S0", "S1"}, {"AB", "ab"}, {"40000", "40000"}, {"100", "100"}};
    SampleSet samples{{"AAAA", "bbbb", "CCCC", "ZZZZ"}, {s0.data(), s1.data()}, &info, {}};
    AnalysisSettings settings;
    settings.metric = kMetricTDI3;
    const Assessment a = assess(samples, {master.get(), bounds.get(), nullptr}, settings);

    ASSERT_FALSE(a.stopMessage);
    EXPECT_TRUE(a.messages.empty());
    ASSERT_EQ(a.taxa.size(), 4u);
    const MatchStatus statuses[] = {MatchStatus::Scored, MatchStatus::InListUnscored,
                                    MatchStatus::Scored, MatchStatus::NotInList};
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(a.taxa[k].status, statuses[k]) << k;
    EXPECT_EQ(a.taxa[1].matchRow, 1);
    EXPECT_EQ(a.taxa[1].scoredRow, -1);
    EXPECT_EQ((std::pair{a.matched, a.scored}), (std::pair{3, 2}));
    EXPECT_EQ(a.unscoredTaxa, 2);

    ASSERT_EQ(a.samples.size(), 2u);
    const SampleResult& r = a.samples[0];
    EXPECT_EQ(r.sampleSum, 13.0);
    EXPECT_EQ(r.scoredSum, 10.0);
    EXPECT_EQ(r.metric, 25.0 * (26.0 / 10.0) - 25.0); // mean score 2.6: 40
    EXPECT_NEAR(*r.expected, 39.67, 1e-9);            // July: autumn
    EXPECT_NEAR(*r.eqr, 60.0 / 60.33, 1e-12);
    EXPECT_EQ(r.classCode, 1);
    EXPECT_NEAR(*r.groups[kPlanktic], 600.0 / 13.0, 1e-12);
    EXPECT_EQ(r.groups[kMotile], 0.0);
    EXPECT_EQ(r.comment, "");
    // Only an unscored taxon: no metric, expected value, EQR or class.
    const SampleResult& none = a.samples[1];
    EXPECT_FALSE(none.metric || none.expected || none.eqr || none.classCode);
    EXPECT_EQ(none.comment, "No matching taxa found");

    // The two samples are one site (codes compared without regard to case).
    const SiteAssessment sites = assessSites(samples, {r.eqr, none.eqr},
                                             {master.get(), bounds.get(), nullptr}, kFamilyRivers);
    ASSERT_EQ(sites.sites.size(), 1u);
    EXPECT_EQ(sites.sites[0].code, "AB");
    EXPECT_EQ((std::pair{sites.sites[0].withEqr, sites.sites[0].withoutEqr}), (std::pair{1, 1}));
    EXPECT_EQ(sites.sites[0].meanEqr, r.eqr);
    EXPECT_EQ(sites.sites[0].classCode, 1);
    EXPECT_FALSE(sites.sites[0].confidence[kCocHigh]); // no coefficients
    EXPECT_EQ(assessSites(samples, {r.eqr}, {}, kFamilyRivers).stopMessage,
              std::string(kSampleNumbersMessage));
}
