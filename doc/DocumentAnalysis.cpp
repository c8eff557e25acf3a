// The analysis operations of the document: its inputs go to the engine, and what the engine
// returns is stored in the results block, the comments, the job summary and the site table.
#include "app/CPbtApp.h"
#include "app/UserPort.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "doc/ResultsView.h"
#include "doc/RunDetails.h"
#include "doc/TranslationFile.h"
#include "engine/Assessment.h"
#include "engine/SiteAssessment.h"

#include <ctime>

namespace frusta {

namespace {

// The result columns of the four groups, in the engine's order of groups.
constexpr ResultColumn kGroupColumns[engine::kGroupCount] = {
    ResultColumn::Planktic, ResultColumn::Motile, ResultColumn::OrganicTolerant,
    ResultColumn::Saline};
// The site columns of the confidence figures, in the engine's order of figures.
constexpr SiteColumn kFigureColumns[engine::kConfidenceFigures] = {
    SiteColumn::CocHigh, SiteColumn::CocGood, SiteColumn::CocModerate,
    SiteColumn::CocPoor, SiteColumn::CocBad,  SiteColumn::Rom,
    SiteColumn::CocHG,   SiteColumn::CocMPB,  SiteColumn::RomGM};

// The counts, taxa and samples agree with one another.
bool inputsConsistent(const CPbtDoc& doc) {
    return doc.m_pCounts && doc.m_pCounts->nrow() == doc.m_nSamples &&
           doc.m_pCounts->ncol() == doc.m_nTaxa &&
           static_cast<int>(doc.m_taxa.size()) == doc.m_nTaxa;
}

engine::SampleSet samplesOf(const CPbtDoc& doc) {
    engine::SampleSet s;
    s.taxonCodes.reserve(doc.m_taxa.size());
    s.taxonNames.reserve(doc.m_taxa.size());
    for (const TaxonEntry& t : doc.m_taxa) {
        s.taxonCodes.push_back(t.code);
        s.taxonNames.push_back(t.name);
    }
    if (doc.m_pCounts)
        for (int i = 0; i < doc.m_pCounts->nrow(); ++i)
            s.counts.push_back(doc.m_pCounts->ncol() > 0 ? &(*doc.m_pCounts)(i, 0) : nullptr);
    s.infoRows = &doc.m_infoValues;
    return s;
}

engine::ReferenceTables tablesOf(const CPbtDoc& doc) {
    const CPbtApp& app = doc.app();
    return {app.taxonTable.get(), doc.m_boundaryTable.get(), doc.m_cocTable.get(),
            app.translations.get(), app.suggestionIndex()};
}

engine::AnalysisSettings settingsOf(const CPbtDoc& doc) {
    engine::AnalysisSettings a;
    a.family = doc.m_nFamily;
    a.metric = doc.m_nMetric;
    a.alkMinTDI3 = doc.m_alkMinTDI3;
    a.alkMaxTDI3 = doc.m_alkMaxTDI3;
    a.alkMinTDI4 = doc.m_alkMinTDI4;
    a.alkMaxTDI4 = doc.m_alkMaxTDI4;
    a.caMin = doc.m_caMin;
    a.caMax = doc.m_caMax;
    a.docMin = doc.m_docMin;
    a.docMax = doc.m_docMax;
    a.defAlk = doc.m_defAlk;
    a.defCa = doc.m_defCa;
    a.defDoc = doc.m_defDoc;
    return a;
}

// A value, or the matrix's missing marker.
template <typename T> double orMissing(const std::optional<T>& v, const dMat& m) {
    return v ? static_cast<double>(*v) : m.missingValue();
}

void storeMatches(CPbtDoc& doc, engine::Assessment& a) {
    doc.m_pTaxonMatch.clear();
    doc.m_pTaxonScored.clear();
    for (const engine::TaxonMatch& t : a.taxa) {
        doc.m_pTaxonMatch.push_back(t.matchRow);
        doc.m_pTaxonScored.push_back(t.scoredRow);
    }
    doc.m_nMatched = a.matched;
    doc.m_nScored = a.scored;
    doc.m_taxonMatches = std::move(a.taxa);
    doc.m_nMatchColumn = a.matchColumn;
    doc.m_matchedList = doc.app().taxonTable;
}

void storeSamples(CPbtDoc& doc, const engine::Assessment& a) {
    const int n = static_cast<int>(a.samples.size());
    doc.m_pResults = std::make_unique<dMat>(n, kResultColumnCount, 0.0);
    dMat& m = *doc.m_pResults;
    doc.m_comments.assign(a.samples.size(), std::string());
    for (int s = 0; s < n; ++s) {
        const engine::SampleResult& r = a.samples[static_cast<std::size_t>(s)];
        const auto put = [&](ResultColumn c, const auto& v) { m(s, col(c)) = orMissing(v, m); };
        put(ResultColumn::SampleSum, r.sampleSum);
        put(ResultColumn::ScoredSum, r.scoredSum);
        put(ResultColumn::Metric, r.metric);
        put(ResultColumn::Expected, r.expected);
        put(ResultColumn::Eqr, r.eqr);
        put(ResultColumn::Class, r.classCode);
        for (int g = 0; g < engine::kGroupCount; ++g)
            put(kGroupColumns[g], r.groups[static_cast<std::size_t>(g)]);
        doc.m_comments[static_cast<std::size_t>(s)] = r.comment;
    }
}

std::vector<std::optional<double>> eqrsOf(const CPbtDoc& doc) {
    const ResultsView view(doc);
    std::vector<std::optional<double>> eqr(static_cast<std::size_t>(view.sampleCount()));
    for (int i = 0; i < view.sampleCount(); ++i)
        eqr[static_cast<std::size_t>(i)] = view.value(i, ResultColumn::Eqr);
    return eqr;
}

void storeSites(CPbtDoc& doc, const engine::SiteAssessment& a) {
    const int n = static_cast<int>(a.sites.size());
    auto table = std::make_unique<dMat>(n, kSiteColumnCount, dMat::kMissing);
    dMat& m = *table;
    doc.m_siteCodes.assign(a.sites.size(), std::string());
    for (int r = 0; r < n; ++r) {
        const engine::SiteResult& site = a.sites[static_cast<std::size_t>(r)];
        m(r, col(SiteColumn::Samples)) = site.withEqr;
        m(r, col(SiteColumn::Missing)) = site.withoutEqr;
        m(r, col(SiteColumn::MeanEqr)) = orMissing(site.meanEqr, m);
        m(r, col(SiteColumn::Class)) = orMissing(site.classCode, m);
        for (int k = 0; k < engine::kConfidenceFigures; ++k)
            m(r, col(kFigureColumns[k])) =
                orMissing(site.confidence[static_cast<std::size_t>(k)], m);
        doc.m_siteCodes[static_cast<std::size_t>(r)] = site.code;
    }
    doc.m_uncLabels = siteLabels();
    doc.m_pUncertainty = std::move(table);
}

} // namespace

Outcome CPbtDoc::RunAnalysis() {
    if (m_bAnalysed)
        resetResults();
    m_bAnalysed = false;
    if (m_nTaxa == 0 || !inputsConsistent(*this))
        return Outcome::failed();
    // A translation table that the master list in use does not fit stops the analysis.
    if (m_app.translations)
        if (Outcome o = checkTranslations(*m_app.translations, m_app.taxonTable.get(), m_port); !o)
            return o;
    engine::Assessment a;
    {
        WaitCursor wait(m_port);
        a = engine::assess(samplesOf(*this), tablesOf(*this), settingsOf(*this));
    }
    if (a.stopMessage)
        return fail(m_port, {*a.stopMessage});
    for (const std::string& message : a.messages)
        m_port.message(message);
    m_strSummary += a.summaryNotes;
    storeSamples(*this, a);
    storeMatches(*this, a);
    m_resultLabels = resultLabels(m_nMetric);
    m_runDetails = runDetailsOf(*this, static_cast<std::int64_t>(std::time(nullptr)));
    if (a.unscoredTaxa)
        m_nNoScoreTaxa = *a.unscoredTaxa;
    SetModifiedFlag(true);
    m_bAnalysed = true;
    return Outcome::done();
}

Outcome CPbtDoc::RunUncertainty() {
    if (!m_pResults)
        return fail(m_port, {engine::kSampleNumbersMessage});
    const engine::SiteAssessment a =
        engine::assessSites(samplesOf(*this), eqrsOf(*this), tablesOf(*this), m_nFamily);
    if (a.stopMessage)
        return fail(m_port, {*a.stopMessage});
    storeSites(*this, a);
    m_bUncertaintyDone = true;
    return Outcome::done();
}

} // namespace frusta
