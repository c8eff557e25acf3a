#include "engine/ScoredShare.h"

namespace frusta::engine {

std::optional<double> scoredShare(std::optional<double> sampleSum,
                                  std::optional<double> scoredSum) {
    if (!sampleSum || !(*sampleSum > 0.0))
        return std::nullopt;
    return scoredSum.value_or(0.0) / *sampleSum * 100.0;
}

} // namespace frusta::engine
