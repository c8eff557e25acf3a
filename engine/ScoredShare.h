#pragma once
// How much of a sample's count the metric rests on: the scored sum in percent of the
// sample sum, and whether that lies below the share the user asks for.
#include <optional>

namespace frusta::engine {

// The default smallest scored share, in percent.
inline constexpr double kDefaultMinScoredShare = 70.0;

// The scored sum in percent of the sample sum; nothing when the sample sum is not above 0.
std::optional<double> scoredShare(std::optional<double> sampleSum, std::optional<double> scoredSum);

// True when there is a share and it lies below `minimum` (percent).
inline bool belowScoredShare(std::optional<double> share, double minimum) {
    return share && *share < minimum;
}

} // namespace frusta::engine
