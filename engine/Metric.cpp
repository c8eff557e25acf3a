#include "engine/Metric.h"

namespace frusta {

namespace {
const char* const kMetricNames[] = {"TDI", "LTDI", "DAM", "TDI3", "TDI4", "LTDI1", "LTDI2"};
}

const char* metricName(int code) {
    return code >= 0 && code <= 6 ? kMetricNames[code] : "";
}

int32_t metricCodeFor(int32_t family, bool latest) {
    switch (family) {
    case kFamilyRivers:
        return latest ? kMetricTDI4 : kMetricTDI3;
    case kFamilyLakes:
        return latest ? kMetricLTDI2 : kMetricLTDI1;
    default:
        return kMetricDAM;
    }
}

bool familyHasVersions(int32_t family) {
    return family != kFamilyAcid;
}

const char* cocKey(int32_t family) {
    return metricName(family == kFamilyRivers ? kMetricTDI : kMetricLTDI);
}

} // namespace frusta
