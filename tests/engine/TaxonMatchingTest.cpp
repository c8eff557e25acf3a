#include "EngineFixture.h"

#include "doc/ResultsView.h"
#include "doc/TaxonMatchView.h"
#include "engine/MatchTexts.h"
#include "output/GridText.h"

using namespace frusta;
using namespace frusta::test;

namespace {

using engine::MatchStatus;

// Scores 2 and 4, one taxon scored 0 and one scored below 0.
class TaxonMatching : public EngineTest {
protected:
    void SetUp() override {
        app.taxonTable = makeMasterList({{"NBN01", "AAAA", 2.0, {true, false, false, false}},
                                         {"NBN02", "BBBB", 4.0, {}},
                                         {"NBN03", "ZERO", 0.0, {false, true, false, false}},
                                         {"NBN04", "NEGA", -1.0, {}}});
        doc.m_boundaryTable = makeBoundaries({{"", 0.0, {0.80, 0.60, 0.40, 0.20}}});
        useMetric(kFamilyRivers, kMetricTDI4);
    }
    void analyse(const std::vector<std::string>& codes,
                 const std::vector<std::vector<double>>& counts) {
        setCounts(codes, counts);
        setInfo(3, std::vector<std::string>(counts.size(), "100"));
        ASSERT_TRUE(doc.RunAnalysis());
    }
    void translate(std::vector<TranslationRow> rows) {
        auto t = std::make_shared<TranslationTable>(std::move(rows));
        app.translations = t;
    }
    std::vector<std::string> statuses() const {
        std::vector<std::string> out;
        for (const auto& t : doc.m_taxonMatches)
            out.push_back(engine::statusText(t, doc.m_strMetric));
        return out;
    }
};

TEST_F(TaxonMatching, EachStatusAndItsWords) {
    analyse({"aaaa", "ZERO", "NEGA", "QQQQ"}, {{1, 1, 1, 1}});
    EXPECT_EQ(statuses(),
              (std::vector<std::string>{"scored", "in the list, no TDI4 score",
                                        "in the list, no TDI4 score", "not in the list"}));
    const TaxonMatchView view(doc);
    ASSERT_EQ(view.taxonCount(), 4);
    EXPECT_EQ(view.text(0, TaxonColumn::ListCode), "AAAA"); // the list's own spelling
    EXPECT_EQ(view.text(0, TaxonColumn::Planktic), "Yes");
    EXPECT_EQ(view.text(1, TaxonColumn::Motile), "Yes"); // groups count without a score
    EXPECT_EQ(view.number(1, TaxonColumn::Score), 0.0);
    EXPECT_EQ(view.number(2, TaxonColumn::Score), -1.0);
    EXPECT_EQ(view.number(3, TaxonColumn::Score), std::nullopt);
    EXPECT_EQ(view.text(3, TaxonColumn::ListCode), "");
    EXPECT_EQ(view.explanation(0), "");
    EXPECT_EQ(view.explanation(3), "Not in the master list: it counts in the sample sum only.\n"
                                   "No similar entry in the list.");
    // The records agree with the arrays that the highlight and the unmatched table read.
    EXPECT_EQ(doc.m_pTaxonScored, (std::vector<int32_t>{0, -1, -1, -1}));
    EXPECT_EQ(doc.m_nNoScoreTaxa, 3);
}

TEST_F(TaxonMatching, OccurrencesAndShares) {
    analyse({"AAAA", "BBBB", "QQQQ"}, {{6, 1, 3}, {0, 0, 0}, {0, 7, 3}});
    const TaxonMatchView view(doc);
    EXPECT_EQ(view.number(0, TaxonColumn::Samples), 1.0);
    EXPECT_EQ(view.number(2, TaxonColumn::Samples), 2.0);
    EXPECT_EQ(view.number(2, TaxonColumn::TotalCount), 6.0);
    EXPECT_DOUBLE_EQ(*view.number(2, TaxonColumn::ShareOfAll), 6.0 / 20.0 * 100.0);
    const ResultsView results(doc);
    EXPECT_DOUBLE_EQ(*results.scoredShare(0), 70.0); // 7 of 10: not below 70%
    EXPECT_FALSE(results.belowScoredShare(0));
    EXPECT_EQ(results.scoredShare(1), std::nullopt); // nothing counted
    EXPECT_FALSE(results.belowScoredShare(1));
    EXPECT_DOUBLE_EQ(*results.scoredShare(2), 70.0);
    doc.m_minScoredShare = 70.5;
    EXPECT_TRUE(results.belowScoredShare(0));
}

TEST_F(TaxonMatching, TranslationsApplyBeforeMatching) {
    translate({{2, "old-a", "AAAA", "renamed"}, {3, "OLD-Z", "ZERO", ""}, {4, "BBBB", "NEGA", ""}});
    analyse({"OLD-A", "old-z", "BBBB", "CCCC"}, {{1, 1, 1, 1}});
    EXPECT_EQ(statuses(), (std::vector<std::string>{
                              "translated, scored", "translated, in the list, no TDI4 score",
                              "translated, in the list, no TDI4 score", "not in the list"}));
    const TaxonMatchView view(doc);
    EXPECT_EQ(view.text(0, TaxonColumn::Code), "OLD-A");
    EXPECT_EQ(view.text(0, TaxonColumn::ListCode), "AAAA");
    EXPECT_EQ(view.text(0, TaxonColumn::Note), "renamed");
    EXPECT_EQ(doc.m_taxonMatches[2].translationRow, 4);
    EXPECT_EQ(doc.m_nScored, 1);
}

TEST_F(TaxonMatching, TranslatedCodesChooseTheCodeColumn) {
    // A translation into an NBN code switches matching to the first code column, as an
    // NBN code in the worksheet would.
    translate({{2, "X1", "NBN02", ""}});
    analyse({"X1", "NBN01"}, {{1, 1}});
    EXPECT_EQ(doc.m_nMatchColumn, 0);
    EXPECT_EQ(doc.m_pTaxonScored, (std::vector<int32_t>{1, 0}));
}

TEST_F(TaxonMatching, ATableThatNoLongerFitsTheListStopsTheAnalysis) {
    auto t = std::make_shared<TranslationTable>(std::vector<TranslationRow>{{5, "X1", "GONE", ""}});
    t->path = "/data/lab codes.csv";
    app.translations = t;
    setCounts({"AAAA"}, {{1}});
    EXPECT_FALSE(doc.RunAnalysis());
    ASSERT_EQ(port.texts().size(), 1u);
    EXPECT_EQ(port.texts()[0], "The taxon translation table lab codes.csv cannot be used.\n"
                               "Row 5: the list code GONE is not in the master taxon list.");
    EXPECT_FALSE(doc.m_bAnalysed);
}

TEST_F(TaxonMatching, SuggestionsForTaxaNotInTheList) {
    analyse({"AAA A", "AAAB", "BBBBBBBB", "ZZZZ"}, {{1, 1, 1, 1}});
    const TaxonMatchView view(doc);
    ASSERT_EQ(view.suggestionCount(0), 1);
    EXPECT_EQ(view.suggestionCode(0, 0), "AAAA");
    EXPECT_EQ(view.suggestionReason(0, 0), "same code apart from case, spacing or punctuation");
    ASSERT_EQ(view.suggestionCount(1), 1);
    EXPECT_EQ(view.suggestionReason(1, 0), "code 1 typing slip away");
    EXPECT_EQ(view.text(1, TaxonColumn::Suggestion1Code), "AAAA");
    EXPECT_EQ(view.suggestionCount(2), 0); // four slips from BBBB
    EXPECT_EQ(view.explanation(1), "Not in the master list: it counts in the sample sum only.\n"
                                   "Perhaps:\nAAAA (code 1 typing slip away)");
}

} // namespace

namespace {

TEST_F(TaxonMatching, HoverTextsOfTheGrids) {
    analyse({"AAAA", "ZERO", "AAAB"}, {{6, 1, 3}, {0, 0, 0}});
    const int metricColumn = cells::resultsGridColumn(doc, ResultColumn::Metric);
    const int firstTaxonRow = doc.m_nInfoRows + 1;
    const struct {
        std::string tip;
        std::string expected;
    } cases[] = {
        {cells::resultsTip(doc, 1, metricColumn),
         "Scored share: 60.0% of the sample's count (6.00 of 10.00).\n"
         "Below the smallest scored share of 70%: the metric rests on too small a part of the "
         "sample; see View > Taxon matching."},
        {cells::resultsTip(doc, 2, metricColumn),
         "No counts in this sample, so no share of it was scored."},
        {cells::resultsTip(doc, 1, metricColumn + 1), ""},
        {cells::resultsTip(doc, 0, metricColumn), ""},
        {cells::dataTip(doc, firstTaxonRow, 1), ""}, // scored: not highlighted
        {cells::dataTip(doc, firstTaxonRow + 1, 2),
         "In the master list as ZERO, but without a TDI4 score: it counts in the sample sum "
         "and its groups only."},
        {cells::dataTip(doc, firstTaxonRow + 2, 3),
         "Not in the master list: it counts in the sample sum only.\nPerhaps:\nAAAA (code 1 "
         "typing slip away)\nRight-click the row and choose Use suggestion to translate the "
         "code."},
        {cells::dataTip(doc, firstTaxonRow + 2, 0), ""},
        {cells::dataTip(doc, 1, 3), ""}, // an information row
        {cells::matching(doc, 0, 3), "Status"},
        {cells::matching(doc, 3, 3), "not in the list"},
        {cells::matching(doc, 1, 6), "2.00"},
        {cells::matching(doc, 1, 11), "1"},
        {cells::matching(doc, 3, 15), "AAAA"},
        {cells::matching(doc, 4, 1), ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].tip, cases[i].expected) << "case " << i;
    doc.m_minScoredShare = 60.0;
    EXPECT_EQ(cells::resultsTip(doc, 1, metricColumn),
              "Scored share: 60.0% of the sample's count (6.00 of 10.00).");
}

} // namespace

namespace {

TEST_F(TaxonMatching, RecordsKeepTheListTheyWereMatchedAgainst) {
    analyse({"AAAA", "NEGA"}, {{1, 1}});
    // Another reference database chosen after the analysis: its rows are other taxa.
    app.taxonTable = makeMasterList({{"NBN09", "OTHER", 1.0, {}}});
    const TaxonMatchView view(doc);
    EXPECT_EQ(view.text(0, TaxonColumn::ListCode), "AAAA");
    EXPECT_EQ(view.text(1, TaxonColumn::ListCode), "NEGA");
    EXPECT_EQ(view.number(1, TaxonColumn::Score), -1.0);
}

} // namespace
