#include "engine/ScoreWarning.h"

#include "engine/Metric.h"

namespace frusta::engine {

namespace {

const char* warnedMetric(int family, int metric) {
    switch (family) {
    case kFamilyRivers:
        return metric == kMetricTDI3 ? "TDI3" : "TDI4";
    case kFamilyLakes:
        return metric == kMetricLTDI1 ? "LTDI1" : "LTDI2";
    default:
        return "DAM";
    }
}

} // namespace

std::string scoreWarning(int family, int metric, int count) {
    return "\r\nWarning: " + std::to_string(count) + " taxa lack " + warnedMetric(family, metric) +
           " scores in database.\r\nUse View Data to identify unmatched taxa\r\nA list of these "
           "will be saved in the results file.";
}

} // namespace frusta::engine
