#include "engine/SiteAssessment.h"

#include "engine/ClassBoundaries.h"
#include "engine/ConfidenceOfClass.h"
#include "engine/InfoRows.h"
#include "engine/SiteGrouping.h"

#include <cmath>

namespace frusta::engine {

const char* const kSampleNumbersMessage =
    "Error in sample numbers - uncertainty results not available";

namespace {

constexpr double kLakeLogitCap = 1.5, kRiverLogitCap = 1.0;

struct SiteContext {
    const SampleSet& samples;
    ClassBoundaries bounds;
    std::optional<CocCoefficients> coefficients;
    bool lakes;
};

// The confidence figures in the order of the site table; a figure that the arithmetic leaves
// non-finite stays missing, the others are kept.
std::array<std::optional<double>, kConfidenceFigures> figures(const SiteConfidence& c) {
    const double values[kConfidenceFigures] = {c.high, c.good, c.moderate, c.poor, c.bad,
                                               c.rom,  c.hg,   c.mpb,      c.romGM};
    std::array<std::optional<double>, kConfidenceFigures> out;
    for (int k = 0; k < kConfidenceFigures; ++k)
        if (std::isfinite(values[k]))
            out[k] = values[k];
    return out;
}

// Class, confidence of class and risks of a site; what has no defined value stays missing,
// and a site whose lake type has no boundary row is skipped on its own.
SiteResult evaluateSite(const SiteContext& ctx, const SiteGroup& group) {
    SiteResult site;
    site.code = ctx.samples.info(kRowSiteCode, group.leader);
    site.firstSample = group.leader;
    site.withEqr = group.withEqr;
    site.withoutEqr = group.withoutEqr;
    site.meanEqr = group.meanEqr;
    if (group.withEqr == 0)
        return site;
    const int row =
        ctx.lakes ? ctx.bounds.lakeTypeRow(ctx.samples.info(kRowAlkalinityOrType, group.leader))
                  : 0;
    const auto b = ctx.bounds.boundaries(row);
    if (!b)
        return site;
    site.classCode = classForEqr(*group.meanEqr, *b);
    if (!ctx.coefficients)
        return site;
    if (const auto coc = confidenceOfClass(*group.meanEqr, group.withEqr, *b, *ctx.coefficients,
                                           ctx.lakes ? kLakeLogitCap : kRiverLogitCap))
        site.confidence = figures(*coc);
    return site;
}

} // namespace

SiteAssessment assessSites(const SampleSet& samples, const std::vector<std::optional<double>>& eqr,
                           const ReferenceTables& tables, int family) {
    SiteAssessment out;
    const std::vector<std::string>& codes = samples.info(kRowSiteCode);
    if (codes.size() != eqr.size()) {
        out.stopMessage = kSampleNumbersMessage;
        return out;
    }
    const auto groups = groupSites(codes, eqr);
    if (groups.empty()) {
        out.stopMessage = "Site information is missing, uncertainty analysis cannot be performed";
        return out;
    }
    const SiteContext ctx{samples, ClassBoundaries(tables.boundaries),
                          readCocCoefficients(tables.coc), family == kFamilyLakes};
    for (const SiteGroup& g : groups)
        out.sites.push_back(evaluateSite(ctx, g));
    return out;
}

} // namespace frusta::engine
