#pragma once
// The per-sample sums of the counts and what is made of them: the metric value and the
// planktic, motile, organic-tolerant and saline percentages.
#include "engine/AssessmentInputs.h"
#include "engine/TaxonMatch.h"

#include <array>
#include <optional>
#include <vector>

namespace frusta::engine {

struct SampleSums {
    double sampleSum = 0.0; // the counts of every taxon
    double scoredSum = 0.0; // the counts of the taxa with a score
    double weighted = 0.0;  // count times score, over the taxa with a score
    std::array<double, kGroupCount> groups{};
};

// The sums of every sample. For every sum the counts are added in taxon order.
std::vector<SampleSums> sumSamples(const SampleSet& samples, const std::vector<TaxonMatch>& taxa);

// The group sums as percentages of the sample sum, when that exceeds 0.01.
void makePercentages(SampleSums& sums);

// 25 x (count-weighted mean score) - 25; nothing when the scored sum is below 1.0.
std::optional<double> metricValue(const SampleSums& sums);

} // namespace frusta::engine
