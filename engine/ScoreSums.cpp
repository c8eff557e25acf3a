#include "engine/ScoreSums.h"

#include "engine/Eqr.h"

namespace frusta::engine {

namespace {

// The taxa that count into each sum, in taxon order, so that the inner loops run without
// tests on the taxon.
struct SumPlan {
    std::array<std::vector<int>, kGroupCount> groupTaxa;
    std::vector<int> scoredTaxa;
    std::vector<double> scores;
};

SumPlan planSums(const std::vector<TaxonMatch>& taxa) {
    SumPlan plan;
    for (int k = 0; k < static_cast<int>(taxa.size()); ++k) {
        const TaxonMatch& t = taxa[k];
        if (t.matchRow < 0)
            continue;
        for (int g = 0; g < kGroupCount; ++g)
            if (t.groups[g])
                plan.groupTaxa[g].push_back(k);
        if (t.scoredRow >= 0) {
            plan.scoredTaxa.push_back(k);
            plan.scores.push_back(t.score);
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

SampleSums sumsOf(const double* c, int nTaxa, const SumPlan& plan) {
    SampleSums r;
    for (int k = 0; k < nTaxa; ++k)
        r.sampleSum += c[k];
    for (int g = 0; g < kGroupCount; ++g)
        r.groups[g] = sumOf(c, plan.groupTaxa[g]);
    for (std::size_t i = 0; i < plan.scoredTaxa.size(); ++i) {
        const double v = c[plan.scoredTaxa[i]];
        r.scoredSum += v;
        r.weighted += v * plan.scores[i];
    }
    return r;
}

} // namespace

std::vector<SampleSums> sumSamples(const SampleSet& samples, const std::vector<TaxonMatch>& taxa) {
    std::vector<SampleSums> sums(static_cast<std::size_t>(samples.sampleCount()));
    const int nTaxa = samples.taxonCount();
    if (nTaxa == 0)
        return sums;
    const SumPlan plan = planSums(taxa);
    for (std::size_t s = 0; s < sums.size(); ++s)
        sums[s] = sumsOf(samples.counts[s], nTaxa, plan);
    return sums;
}

void makePercentages(SampleSums& sums) {
    if (sums.sampleSum > 0.01)
        for (double& g : sums.groups)
            g = g / sums.sampleSum * 100.0;
}

std::optional<double> metricValue(const SampleSums& sums) {
    if (sums.scoredSum < kMinScoredSum)
        return std::nullopt;
    return 25.0 * (sums.weighted / sums.scoredSum) - 25.0;
}

} // namespace frusta::engine
