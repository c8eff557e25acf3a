// What the charts show, from documents built in memory and the engine's own site table:
// positions grouped by site, class bands per sample (per lake type for lakes), samples
// without an EQR, site bars with the worked confidence of class, sites without figures,
// the class colours.
#include "output/ChartSeries.h"
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "doc/ResultsView.h"
#include "engine/ClassBoundaries.h"
#include "support/ReferenceTables.h"

#include <gtest/gtest.h>

#include <numeric>
#include <optional>

using namespace frusta;
using namespace frusta::charts;

namespace {

struct Sample {
    std::string name, site, type;
    std::optional<double> eqr;
    std::string comment;
};

const BandLimits kRiver{0.8, 0.6, 0.4, 0.2};

// A document whose results hold the given EQRs, classed as the analysis does.
class ChartDoc : public ::testing::Test {
protected:
    CPbtApp app;
    ScriptedPort port;
    CPbtDoc doc{app, port};

    void make(int family, int metric, const std::vector<test::BoundaryRow>& rows,
              const std::vector<Sample>& samples) {
        doc.m_nFamily = family;
        doc.m_nMetric = metric;
        doc.m_boundaryTable = test::makeBoundaries(rows);
        doc.m_cocTable = test::makeCoc({0.1, 0.0, 0.0, 1.0});
        const int n = static_cast<int>(samples.size());
        doc.m_nSamples = n;
        doc.m_infoValues.assign(4, std::vector<std::string>(samples.size()));
        doc.m_pResults = std::make_unique<dMat>(n, kResultColumnCount, 0.0);
        doc.m_resultLabels = resultLabels(metric);
        const engine::ClassBoundaries bounds(doc.m_boundaryTable.get());
        for (int s = 0; s < n; ++s) {
            const Sample& x = samples[static_cast<std::size_t>(s)];
            doc.m_infoValues[0][s] = x.name;
            doc.m_infoValues[1][s] = x.site;
            doc.m_infoValues[3][s] = x.type;
            doc.m_comments.push_back(x.comment);
            const int row = family == kFamilyLakes ? bounds.lakeTypeRow(x.type) : 0;
            const auto b = bounds.boundaries(row);
            dMat& r = *doc.m_pResults;
            r(s, col(ResultColumn::Eqr)) = x.eqr && b ? *x.eqr : r.missingValue();
            r(s, col(ResultColumn::Class)) =
                x.eqr && b ? engine::classForEqr(*x.eqr, *b) : r.missingValue();
        }
        doc.m_bAnalysed = true;
        if (family != kFamilyAcid) {
            ASSERT_TRUE(doc.RunUncertainty());
        }
    }
};

} // namespace

TEST_F(ChartDoc, RiverSamplesAreGroupedBySiteInWorksheetOrderWithOneGapBetweenSites) {
    make(kFamilyRivers, kMetricTDI4, {{"", 50.0, kRiver}},
         {{"A-1", "SITE01", "", 0.7, ""},
          {"B-1", "SITE02", "", 0.85, ""},
          {"A-2", "site01", "", std::nullopt, "No matching taxa found"},
          {"X-1", "x", "", -0.25, ""},
          {"B-2", "SITE02", "", 0.8, ""}});
    const EqrSeries e = eqrSeries(doc);
    EXPECT_EQ(e.title, "EQR TDI4");
    ASSERT_EQ(e.samples.size(), 5u);
    const std::vector<std::pair<std::string, double>> expected = {
        {"A-1", 0}, {"A-2", 1}, {"B-1", 3}, {"B-2", 4}, {"X-1", 6}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(e.samples[i].name, expected[i].first);
        EXPECT_EQ(e.samples[i].position, expected[i].second);
    }
    EXPECT_EQ(e.samples[0].sample, 0);
    EXPECT_EQ(e.samples[1].sample, 2);
    ASSERT_EQ(e.sites.size(), 3u);
    EXPECT_EQ(e.sites[0].site, "SITE01");
    EXPECT_EQ(e.sites[0].first, 0);
    EXPECT_EQ(e.sites[0].last, 1);
    EXPECT_EQ(e.sites[1].site, "SITE02");
    EXPECT_EQ(e.sites[1].first, 3);
    EXPECT_EQ(e.sites[1].last, 4);
    EXPECT_EQ(e.sites[2].site, kNoSiteLabel);
    EXPECT_EQ(e.positionMin, -0.5);
    EXPECT_EQ(e.positionMax, 6.5);

    // The class of each mark; an EQR equal to a boundary takes the better class.
    EXPECT_EQ(e.samples[0].classCode, 2);
    EXPECT_EQ(e.samples[2].classCode, 1);
    EXPECT_EQ(e.samples[3].classCode, 1);
    EXPECT_EQ(e.samples[4].classCode, 5);
    // Every river sample has the metric's one row of boundaries.
    for (const SampleMark& m : e.samples)
        EXPECT_EQ(m.bands, kRiver);
    // The axis reaches the lowest EQR when it is below 0.
    EXPECT_DOUBLE_EQ(e.axisMin, -0.25);
    EXPECT_EQ(e.axisMax, 1.0);

    // A sample without an EQR: no value, no class, the reason from its comment.
    const SampleMark& none = e.samples[1];
    EXPECT_FALSE(none.eqr.has_value());
    EXPECT_EQ(none.classCode, 0);
    EXPECT_EQ(none.note, "No matching taxa found");
    EXPECT_EQ(ResultsView(doc).classCode(2), 0);
    EXPECT_EQ(ResultsView(doc).classCode(1), 1);
}

TEST_F(ChartDoc, AxisStartsAtZeroWhenNoEqrIsNegative) {
    make(kFamilyRivers, kMetricTDI3, {{"", 50.0, kRiver}}, {{"A-1", "SITE01", "", 0.35, ""}});
    EXPECT_EQ(eqrSeries(doc).axisMin, 0.0);
}

TEST_F(ChartDoc, RiverSiteBarsCarryTheWorkedConfidenceOfClass) {
    make(kFamilyRivers, kMetricTDI4, {{"", 50.0, kRiver}},
         {{"A-1", "SITE01", "", 0.7, ""},
          {"A-2", "SITE01", "", 0.7, ""},
          {"A-3", "SITE01", "", 0.7, ""},
          {"A-4", "SITE01", "", 0.7, ""},
          {"A-5", "SITE01", "", std::nullopt, "No matching taxa found"},
          {"B-1", "SITE02", "", std::nullopt, "No matching taxa found"}});
    const auto c = confidenceSeries(doc, defaultClassNames());
    ASSERT_TRUE(c);
    ASSERT_EQ(c->bars.size(), 1u);
    const SiteBar& a = c->bars[0];
    EXPECT_EQ(a.code, "SITE01");
    EXPECT_EQ(a.samples, 4);
    EXPECT_EQ(a.missing, 1);
    EXPECT_EQ(a.classCode, 2);
    EXPECT_EQ(ResultsView(doc).siteClass(0), 2);
    const double expected[] = {1.18, 95.65, 3.17, 0.0, 0.0};
    for (int k = 0; k < 5; ++k)
        EXPECT_NEAR(a.coc[static_cast<std::size_t>(k)], expected[k], 0.005) << k;
    EXPECT_NEAR(std::accumulate(a.coc.begin(), a.coc.end(), 0.0), 100.0, 1e-9);
    ASSERT_TRUE(a.rom && a.romGoodModerate);
    EXPECT_NEAR(*a.rom, 4.35, 0.005);
    EXPECT_NEAR(*a.romGoodModerate, 3.17, 0.005);
    EXPECT_EQ(a.label, "SITE01, 4 samples (1 without EQR), mean 0.70, Good");
    EXPECT_TRUE(a.reason.empty());

    // A site none of whose samples has an EQR is listed apart, with the reason.
    ASSERT_EQ(c->without.size(), 1u);
    EXPECT_EQ(c->without[0].code, "SITE02");
    EXPECT_EQ(c->without[0].site, 1);
    EXPECT_EQ(c->without[0].label, "SITE02, 0 samples (1 without EQR)");
    EXPECT_EQ(c->without[0].reason, "no sample of the site has an EQR");
    EXPECT_EQ(ResultsView(doc).siteClass(1), 0);
}

TEST_F(ChartDoc, LakeBandsFollowEachSamplesLakeType) {
    const BandLimits high{0.9, 0.7, 0.45, 0.2}, low{0.75, 0.5, 0.3, 0.1};
    make(kFamilyLakes, kMetricLTDI2, {{"HA", 50.0, high}, {"LA", 50.0, low}},
         {{"L01-1", "LAKE01", "HA", 0.76, ""},
          {"L01-2", "LAKE01", "HA", 0.72, ""},
          {"L02-1", "LAKE02", "la", 0.8, ""},
          {"L03-1", "LAKE03", "ZZ", std::nullopt, "Invalid type"},
          {"L03-2", "LAKE03", "HA", 0.5, ""}});
    const EqrSeries e = eqrSeries(doc);
    EXPECT_EQ(e.title, "EQR LTDI2");
    ASSERT_EQ(e.samples.size(), 5u);
    EXPECT_EQ(e.samples[0].bands, high);
    EXPECT_EQ(e.samples[2].bands, low); // the type is matched without regard to case
    EXPECT_FALSE(e.samples[3].bands.has_value());
    EXPECT_EQ(e.samples[4].bands, high);
    // Each EQR is classed against its own lake type's boundaries.
    EXPECT_EQ(e.samples[0].classCode, 2);
    EXPECT_EQ(e.samples[2].classCode, 1);
    EXPECT_EQ(e.samples[3].note, "Invalid type");
    EXPECT_EQ(e.samples[4].position, 6.0);

    const auto c = confidenceSeries(doc, defaultClassNames());
    ASSERT_TRUE(c);
    ASSERT_EQ(c->bars.size(), 2u);
    EXPECT_EQ(c->bars[0].label, "LAKE01, 2 samples, mean 0.74, Good");
    EXPECT_EQ(c->bars[1].label, "LAKE02, 1 sample, mean 0.80, High");
    // The site's boundaries are those of its first sample's lake type, which has none.
    ASSERT_EQ(c->without.size(), 1u);
    EXPECT_EQ(c->without[0].code, "LAKE03");
    EXPECT_EQ(c->without[0].reason, "lake type \"ZZ\" has no class boundaries");
}

TEST_F(ChartDoc, AcidificationHasTheEqrChartOnly) {
    make(kFamilyAcid, kMetricDAM, {{"", 50.0, {0.85, 0.7, 0.5, 0.3}}},
         {{"A01-1", "SITE01", "", 1.0, ""}, {"A01-2", "SITE01", "", 0.4, ""}});
    EXPECT_FALSE(confidenceSeries(doc, defaultClassNames()).has_value());
    const EqrSeries e = eqrSeries(doc);
    EXPECT_EQ(e.title, "EQR DAM");
    ASSERT_EQ(e.samples.size(), 2u);
    EXPECT_EQ(e.samples[0].classCode, 1);
    EXPECT_EQ(e.samples[1].classCode, 4);
    EXPECT_EQ(e.samples[1].bands, (BandLimits{0.85, 0.7, 0.5, 0.3}));
}

TEST(ChartSeries, DocumentsWithoutResultsGiveEmptySeries) {
    CPbtApp app;
    ScriptedPort port;
    CPbtDoc doc(app, port);
    const EqrSeries e = eqrSeries(doc);
    EXPECT_TRUE(e.samples.empty());
    EXPECT_TRUE(e.sites.empty());
    EXPECT_EQ(e.axisMin, 0.0);
    EXPECT_FALSE(confidenceSeries(doc, defaultClassNames()).has_value());
    EXPECT_EQ(ResultsView(doc).classCode(0), 0);
    EXPECT_EQ(ResultsView(doc).siteClass(0), 0);
}

TEST(ChartSeries, ClassColoursAndTheirTints) {
    EXPECT_EQ(classColour(1), (Rgb{0, 114, 206})); // High: blue
    EXPECT_EQ(classColour(2), (Rgb{0, 158, 73}));  // Good: green
    EXPECT_EQ(classColour(3), (Rgb{255, 209, 0})); // Moderate: yellow
    EXPECT_EQ(classColour(4), (Rgb{255, 128, 0})); // Poor: orange
    EXPECT_EQ(classColour(5), (Rgb{218, 30, 40})); // Bad: red
    EXPECT_EQ(classColour(0), (Rgb{150, 150, 150}));
    EXPECT_EQ(classColour(6), classColour(0));

    EXPECT_EQ(mixWithWhite({10, 20, 30}, 0.0), (Rgb{255, 255, 255}));
    EXPECT_EQ(mixWithWhite({10, 20, 30}, 1.0), (Rgb{10, 20, 30}));
    EXPECT_EQ(mixWithWhite({10, 20, 30}, 2.0), (Rgb{10, 20, 30}));
    EXPECT_EQ(classTint(3), (Rgb{255, 239, 166}));
    // The tints stay light enough for black text (luminance) and differ from each other.
    for (int a = 1; a <= 5; ++a) {
        const Rgb t = classTint(a);
        EXPECT_GT(0.299 * t.r + 0.587 * t.g + 0.114 * t.b, 160.0) << a;
        for (int b = a + 1; b <= 5; ++b)
            EXPECT_NE(classTint(a), classTint(b));
    }
    EXPECT_EQ(twoDecimals(0.4949), "0.49");
    EXPECT_EQ(twoDecimals(0.7), "0.70");
}
