#include "engine/ScoreSums.h"

#include "doc/dMat.h"
#include "engine/Eqr.h"

namespace frusta::engine {

namespace {

enum Column {
    kSampleSum = 1,
    kScoredSum = 2,
    kMetric = 3,
    kFirstGroup = 7, // planktic, motile, organic tolerant, saline
};

// The taxa that count into each sum, in taxon order, so that the inner loops run without
// tests on the taxon.
struct SumPlan {
    std::array<std::vector<int>, kGroupCount> groupTaxa;
    std::vector<int> scoredTaxa;
    std::vector<double> scores;
};

SumPlan planSums(const std::vector<TaxonProfile>& profiles) {
    SumPlan plan;
    for (int k = 0; k < static_cast<int>(profiles.size()); ++k) {
        const TaxonProfile& p = profiles[k];
        if (p.matchRow < 0)
            continue;
        for (int g = 0; g < kGroupCount; ++g)
            if (p.groups[g])
                plan.groupTaxa[g].push_back(k);
        if (p.scoredRow >= 0) {
            plan.scoredTaxa.push_back(k);
            plan.scores.push_back(p.score);
        }
    }
    return plan;
}

double sumOf(const double* counts, const std::vector<int>& taxa) {
    double sum = 0.0;
    for (int k : taxa)
        sum += counts[k];
    return sum;
}

} // namespace

void accumulateSums(dMat& counts, const std::vector<TaxonProfile>& profiles, dMat& results) {
    const int nTaxa = counts.ncol();
    if (nTaxa == 0)
        return;
    const SumPlan plan = planSums(profiles);
    const std::size_t nScored = plan.scoredTaxa.size();
    for (int s = 0; s < counts.nrow(); ++s) {
        const double* c = &counts(s, 0); // the sample's row of counts is contiguous
        double* r = &results(s, 0);
        double total = 0.0;
        for (int k = 0; k < nTaxa; ++k)
            total += c[k];
        r[kSampleSum] = total;
        for (int g = 0; g < kGroupCount; ++g)
            r[kFirstGroup + g] = sumOf(c, plan.groupTaxa[g]);
        double scored = 0.0, weighted = 0.0;
        for (std::size_t i = 0; i < nScored; ++i) {
            const double v = c[plan.scoredTaxa[i]];
            scored += v;
            weighted += v * plan.scores[i];
        }
        r[kScoredSum] = scored;
        r[kMetric] = weighted;
    }
}

void makePercentages(dMat& results) {
    for (int s = 0; s < results.nrow(); ++s) {
        double* r = &results(s, 0);
        if (r[kSampleSum] > 0.01)
            for (int g = 0; g < kGroupCount; ++g)
                r[kFirstGroup + g] = r[kFirstGroup + g] / r[kSampleSum] * 100.0;
    }
}

void makeMetricValues(dMat& results) {
    for (int s = 0; s < results.nrow(); ++s) {
        double* r = &results(s, 0);
        if (r[kScoredSum] >= kMinScoredSum)
            r[kMetric] = 25.0 * (r[kMetric] / r[kScoredSum]) - 25.0;
        else
            r[kMetric] = results.missingValue();
    }
}

} // namespace frusta::engine
