// The site table of a document: samples grouped by site code, mean EQR, class, confidence
// of class and risk of misclassification per site.
#include "app/UserPort.h"
#include "doc/CPbtDoc.h"
#include "engine/ClassBoundaries.h"
#include "engine/ConfidenceOfClass.h"
#include "engine/InfoRows.h"
#include "engine/SiteGrouping.h"

#include <cmath>

namespace frusta {

namespace {

constexpr int kSiteColumns = 13;
constexpr int kEqrColumn = 5;
constexpr int kLabelSlots = 21;
constexpr double kLakeLogitCap = 1.5, kRiverLogitCap = 1.0;

enum SiteColumn {
    kSamples = 0,
    kMissing = 1,
    kMean = 2,
    kClass = 3,
    kFirstCoc = 4, // High, Good, Mod, Poor, Bad, RoM, HG, MPB, RoM-G/M
};

const char* const kSiteLabels[] = {"Site code", "No. Samples", "No. missing", "Mean EQR", "Class",
                                   "CoC High",  "CoC Good",    "CoC Mod",     "CoC Poor", "CoC Bad",
                                   "RoM",       "CoC HG",      "CoC MPB",     "RoM-G/M"};

std::vector<std::string> siteLabels() {
    std::vector<std::string> labels(kLabelSlots);
    for (std::size_t i = 0; i < std::size(kSiteLabels); ++i)
        labels[i] = kSiteLabels[i];
    return labels;
}

struct SiteContext {
    const CPbtDoc& doc;
    engine::ClassBoundaries bounds;
    std::optional<engine::CocCoefficients> coefficients;
    bool lakes;
};

// Class, confidence of class and risks of site r; cells without a defined value stay
// missing, and a site whose lake type has no boundary row is skipped on its own.
void evaluateSite(const SiteContext& ctx, const engine::SiteGroup& site, dMat& table, int r) {
    if (site.withEqr == 0)
        return;
    const int row = ctx.lakes ? ctx.bounds.lakeTypeRow(engine::infoText(
                                    ctx.doc, engine::kRowAlkalinityOrType, site.leader))
                              : 0;
    const auto b = ctx.bounds.boundaries(row);
    if (!b)
        return;
    table(r, kClass) = engine::classForEqr(site.meanEqr, *b);
    if (!ctx.coefficients)
        return;
    const auto coc = engine::confidenceOfClass(site.meanEqr, site.withEqr, *b, *ctx.coefficients,
                                               ctx.lakes ? kLakeLogitCap : kRiverLogitCap);
    if (!coc)
        return;
    const double values[] = {coc->high, coc->good, coc->moderate, coc->poor, coc->bad,
                             coc->rom,  coc->hg,   coc->mpb,      coc->romGM};
    // A figure that the arithmetic leaves non-finite stays missing; the others are kept.
    for (int k = 0; k < static_cast<int>(std::size(values)); ++k)
        if (std::isfinite(values[k]))
            table(r, kFirstCoc + k) = values[k];
}

} // namespace

Outcome CPbtDoc::RunUncertainty() {
    static const std::vector<std::string> noCodes;
    const auto& codes =
        m_infoValues.size() > engine::kRowSiteCode ? m_infoValues[engine::kRowSiteCode] : noCodes;
    const int n = static_cast<int>(codes.size());
    if (!m_pResults || n != m_pResults->nrow())
        return fail(m_port, {"Error in sample numbers - uncertainty results not available"});
    std::vector<double> eqr(n);
    std::vector<bool> hasEqr(n);
    for (int i = 0; i < n; ++i) {
        eqr[i] = (*m_pResults)(i, kEqrColumn);
        hasEqr[i] = !m_pResults->isMissing(i, kEqrColumn);
    }
    const double missing = m_pResults->missingValue();
    const auto sites = engine::groupSites(codes, eqr, hasEqr, missing);
    if (sites.empty())
        return fail(m_port,
                    {"Site information is missing, uncertainty analysis cannot be performed"});

    const int nSites = static_cast<int>(sites.size());
    auto table = std::make_unique<dMat>(nSites, kSiteColumns, missing);
    m_siteCodes.assign(nSites, std::string());
    for (int r = 0; r < nSites; ++r) {
        (*table)(r, kSamples) = sites[r].withEqr;
        (*table)(r, kMissing) = sites[r].withoutEqr;
        (*table)(r, kMean) = sites[r].meanEqr;
        m_siteCodes[r] = codes[sites[r].leader];
    }
    m_uncLabels = siteLabels();

    const SiteContext ctx{*this, engine::ClassBoundaries(m_boundaryTable.get()),
                          engine::readCocCoefficients(m_cocTable.get()), m_nFamily == kFamilyLakes};
    for (int r = 0; r < nSites; ++r)
        evaluateSite(ctx, sites[r], *table, r);
    m_pUncertainty = std::move(table);
    m_bUncertaintyDone = true;
    return Outcome::done();
}

} // namespace frusta
