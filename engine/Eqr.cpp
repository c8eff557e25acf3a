#include "engine/Eqr.h"

#include "engine/Metric.h"

#include <cmath>

namespace frusta::engine {

double eqrThreshold(int metric) {
    return metric == kMetricLTDI1 || metric == kMetricLTDI2 ? 0.00001 : 0.0001;
}

std::optional<double> computeEqr(int metric, double x, double e) {
    double eqr;
    switch (metric) {
    case kMetricTDI3:
    case kMetricLTDI1:
    case kMetricLTDI2:
        eqr = (100.0 - x) / (100.0 - e);
        break;
    case kMetricTDI4:
        eqr = 0.8 * (100.0 - x) / (100.0 - e);
        break;
    case kMetricDAM:
        // The acidification model expects a positive DAM; at 0 or below the quotient is
        // undefined or inverted (a better observed value would give a lower EQR).
        if (!(e > 0.0))
            return std::nullopt;
        eqr = x / e;
        break;
    default:
        return std::nullopt;
    }
    if (!std::isfinite(eqr))
        return std::nullopt;
    return eqr > 1.0 ? 1.0 : eqr;
}

} // namespace frusta::engine
