// The assessment pass of a document: matching, sums, metric values, percentages, expected
// values, EQR and class per sample, notes in the job summary and the sample comments.
#include "app/CPbtApp.h"
#include "app/UserPort.h"
#include "doc/CPbtDoc.h"
#include "engine/ClassBoundaries.h"
#include "engine/EnvironmentChecks.h"
#include "engine/ResultLabels.h"
#include "engine/SampleAssessment.h"
#include "engine/ScoreSums.h"
#include "engine/ScoreWarning.h"
#include "engine/TaxonMatch.h"

#include <cmath>

namespace frusta {

namespace {

constexpr int kResultColumns = 12;
constexpr int kResultLabels = 13;

const char* const kNoMasterListMessage =
    "The master taxon list is not available, so no taxa can be matched or scored.\n"
    "Check the reference database beside the program and start the program again.";
const char* const kNoMasterListNote =
    "\r\nWarning: master taxon list not available; no taxa matched or scored.";

// The counts, taxa and samples agree with one another.
bool inputsConsistent(const CPbtDoc& doc) {
    return doc.m_pCounts && doc.m_pCounts->nrow() == doc.m_nSamples &&
           doc.m_pCounts->ncol() == doc.m_nTaxa &&
           static_cast<int>(doc.m_taxa.size()) == doc.m_nTaxa;
}

bool hasMasterList(const CPbtApp& app) {
    return app.taxonTable && app.taxonTable->rowCount > 0;
}

void storeMatches(CPbtDoc& doc, const std::vector<engine::TaxonProfile>& profiles) {
    doc.m_pTaxonMatch.assign(profiles.size(), -1);
    doc.m_pTaxonScored.assign(profiles.size(), -1);
    doc.m_nMatched = 0;
    doc.m_nScored = 0;
    for (std::size_t k = 0; k < profiles.size(); ++k) {
        doc.m_pTaxonMatch[k] = profiles[k].matchRow;
        doc.m_pTaxonScored[k] = profiles[k].scoredRow;
        doc.m_nMatched += profiles[k].matchRow >= 0;
        doc.m_nScored += profiles[k].scoredRow >= 0;
    }
}

// Counts so extreme that a sum overflows must not leave an infinity or a NaN behind.
void markNonFiniteMissing(dMat& r) {
    for (int s = 0; s < r.nrow(); ++s)
        for (int c = 0; c < r.ncol(); ++c)
            if (!std::isfinite(r(s, c)))
                r(s, c) = r.missingValue();
}

} // namespace

Outcome CPbtDoc::RunAnalysis() {
    if (m_bAnalysed)
        resetResults();
    m_bAnalysed = false;
    if (m_nTaxa == 0 || !inputsConsistent(*this))
        return Outcome::failed();
    if (Outcome checked = engine::checkEnvironment(*this); !checked)
        return checked;
    m_strSummary += "\r\n";

    const char* const metric = metricName(m_nMetric);
    const dbTable* master = hasMasterList(m_app) ? m_app.taxonTable.get() : nullptr;
    if (!master) {
        m_port.message(kNoMasterListMessage, Buttons::Ok);
        m_strSummary += kNoMasterListNote;
    }
    WaitCursor wait(m_port);

    const int matchColumn = engine::chooseMatchColumn(m_taxa);
    const engine::MasterColumns columns = engine::findMasterColumns(master, matchColumn, metric);
    if (master)
        m_strSummary += engine::masterColumnNotes(columns, metric);
    m_comments.resize(m_nSamples);

    const auto profiles = engine::matchTaxa(m_taxa, master, columns);
    storeMatches(*this, profiles);

    m_resultLabels.assign(kResultLabels, std::string());
    m_pResults = std::make_unique<dMat>(m_nSamples, kResultColumns, 0.0);
    engine::accumulateSums(*m_pCounts, profiles, *m_pResults);
    engine::makePercentages(*m_pResults);
    engine::makeMetricValues(*m_pResults);

    const engine::ClassBoundaries bounds(m_boundaryTable.get());
    if (!bounds.usable())
        m_strSummary += std::string("\r\nWarning: class boundaries for ") + metric +
                        " not available; no status classes assigned.";
    for (int s = 0; s < m_nSamples; ++s)
        engine::assessSample(*this, s, bounds);
    markNonFiniteMissing(*m_pResults);

    m_resultLabels = engine::resultLabels(m_nMetric);
    const int nTaxa = m_pCounts->ncol();
    if (m_nScored != nTaxa) {
        m_nNoScoreTaxa = nTaxa - m_nScored;
        m_strSummary += engine::scoreWarning(m_nFamily, m_nMetric, m_nNoScoreTaxa);
    }

    SetModifiedFlag(true);
    m_bAnalysed = true;
    return Outcome::done();
}

} // namespace frusta
