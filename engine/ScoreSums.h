#pragma once
// The per-sample sums of the results table and what is made of them: sample sum (column
// 1), scored sum (2), metric value (3) and the planktic, motile, organic-tolerant and saline
// percentages (7 to 10).
#include "engine/TaxonMatch.h"

#include <vector>

namespace frusta {
class dMat;
}

namespace frusta::engine {

// Adds every count into its sample's row of `results` (samples x 12, made with 0.0). For
// every cell the counts are added in taxon order, whatever the order of the loops.
void accumulateSums(dMat& counts, const std::vector<TaxonProfile>& profiles, dMat& results);

// Columns 7 to 10 as percentages of the sample sum, for samples whose sum exceeds 0.01.
void makePercentages(dMat& results);

// Column 3 as 25 x (count-weighted mean score) - 25 where the scored sum is at least 1.0;
// the missing marker elsewhere.
void makeMetricValues(dMat& results);

} // namespace frusta::engine
