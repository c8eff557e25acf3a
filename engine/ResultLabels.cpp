#include "engine/ResultLabels.h"

#include "engine/Metric.h"

namespace frusta::engine {

std::vector<std::string> resultLabels(int metric) {
    std::vector<std::string> labels(13);
    if (metric < kMetricDAM || metric > kMetricLTDI2)
        return labels;
    const std::string name = metricName(metric);
    // The comment labels of TDI4 and LTDI2 have always been written with the digit one.
    std::string comment = "Comment " + name;
    if (metric == kMetricTDI4)
        comment = "Comment TD14";
    else if (metric == kMetricLTDI2)
        comment = "Comment LTD12";
    labels[0] = "Type";
    labels[1] = "Sample sum";
    labels[2] = "Sum " + name;
    labels[3] = name;
    labels[4] = "e" + name;
    labels[5] = "EQR " + name;
    labels[6] = "Class " + name;
    labels[7] = "% Planktic";
    labels[8] = "% Motile";
    labels[9] = "% Organic tolerant";
    labels[10] = "% Saline";
    labels[11] = comment;
    return labels;
}

} // namespace frusta::engine
