#pragma once
// The ecological quality ratio of a sample: its metric value against the expected value.
#include <optional>

namespace frusta::engine {

// Below this scored sum a sample has no metric value (the count-weighted mean needs at
// least one whole count of scored taxa).
inline constexpr double kMinScoredSum = 1.0;

// The scored sum below which a sample gets no EQR or class: 0.00001 for the lake metrics,
// 0.0001 for the others.
double eqrThreshold(int metric);

// The EQR of metric value x against expected value e, capped at 1: (100 - x) / (100 - e)
// for TDI3 and the lake metrics, 0.8 times that for TDI4, x / e for DAM. Nothing when the
// quotient is undefined (division by zero, non-finite input), for DAM when e is 0 or less,
// or when the metric is unknown.
std::optional<double> computeEqr(int metric, double x, double e);

} // namespace frusta::engine
