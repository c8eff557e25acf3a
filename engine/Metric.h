#pragma once
// Metric codes and families: one table of names indexed by code. Codes 0 and 1 are the keys
// of the confidence-of-class coefficients; a document's metric is code 2 to 6.
#include <cstdint>

namespace frusta {

enum MetricCode : int32_t {
    kMetricTDI = 0,
    kMetricLTDI = 1,
    kMetricDAM = 2,
    kMetricTDI3 = 3,
    kMetricTDI4 = 4,
    kMetricLTDI1 = 5,
    kMetricLTDI2 = 6
};

enum Family : int32_t { kFamilyRivers = 0, kFamilyLakes = 1, kFamilyAcid = 2 };

// "TDI", "LTDI", "DAM", "TDI3", "TDI4", "LTDI1", "LTDI2" for codes 0 to 6; empty otherwise.
const char* metricName(int code);
// Metric code of a family and version: 0 -> 4 or 3, 1 -> 6 or 5, 2 -> 2.
int32_t metricCodeFor(int32_t family, bool latest);
// Whether a family offers two versions of its metric (rivers and lakes); DAM has one.
bool familyHasVersions(int32_t family);
// The key of a family's confidence-of-class coefficients: "TDI" (rivers) or "LTDI" (lakes).
const char* cocKey(int32_t family);

} // namespace frusta
