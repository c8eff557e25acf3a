#include "doc/ResultColumns.h"

#include "engine/Metric.h"

#include <cmath>

namespace frusta {

namespace {
constexpr int kResultLabelCount = 13;
constexpr int kSiteLabelSlots = 21;
const char* const kSiteLabels[] = {"Site code", "No. Samples", "No. missing", "Mean EQR", "Class",
                                   "CoC High",  "CoC Good",    "CoC Mod",     "CoC Poor", "CoC Bad",
                                   "RoM",       "CoC HG",      "CoC MPB",     "RoM-G/M"};
} // namespace

ColumnInfo describe(ResultColumn c) {
    switch (c) {
    case ResultColumn::Type:
        return {ColumnKind::Hidden, 0};
    case ResultColumn::Eqr:
        return {ColumnKind::Eqr, 2};
    case ResultColumn::Class:
        return {ColumnKind::Class, 0};
    case ResultColumn::Comment:
        return {ColumnKind::Text, 0};
    default:
        return {ColumnKind::Number, 1};
    }
}

ColumnInfo describe(SiteColumn c) {
    switch (c) {
    case SiteColumn::Samples:
    case SiteColumn::Missing:
        return {ColumnKind::Count, 2};
    case SiteColumn::MeanEqr:
        return {ColumnKind::Eqr, 2};
    case SiteColumn::Class:
        return {ColumnKind::Class, 0};
    default:
        return {ColumnKind::Percent, 2};
    }
}

const std::vector<ResultColumn>& allResultColumns() {
    static const std::vector<ResultColumn> columns = [] {
        std::vector<ResultColumn> v;
        for (int c = 0; c < kResultColumnCount; ++c)
            v.push_back(static_cast<ResultColumn>(c));
        return v;
    }();
    return columns;
}

const std::vector<SiteColumn>& allSiteColumns() {
    static const std::vector<SiteColumn> columns = [] {
        std::vector<SiteColumn> v;
        for (int c = 0; c < kSiteColumnCount; ++c)
            v.push_back(static_cast<SiteColumn>(c));
        return v;
    }();
    return columns;
}

std::vector<std::string> resultLabels(int metric) {
    std::vector<std::string> labels(kResultLabelCount);
    if (metric < kMetricDAM || metric > kMetricLTDI2)
        return labels;
    const std::string name = metricName(metric);
    // The comment labels of TDI4 and LTDI2 have always been written with the digit one.
    std::string commentLabel = "Comment " + name;
    if (metric == kMetricTDI4)
        commentLabel = "Comment TD14";
    else if (metric == kMetricLTDI2)
        commentLabel = "Comment LTD12";
    const auto set = [&labels](ResultColumn c, std::string text) {
        labels[static_cast<std::size_t>(col(c))] = std::move(text);
    };
    set(ResultColumn::Type, "Type");
    set(ResultColumn::SampleSum, "Sample sum");
    set(ResultColumn::ScoredSum, "Sum " + name);
    set(ResultColumn::Metric, name);
    set(ResultColumn::Expected, "e" + name);
    set(ResultColumn::Eqr, "EQR " + name);
    set(ResultColumn::Class, "Class " + name);
    set(ResultColumn::Planktic, "% Planktic");
    set(ResultColumn::Motile, "% Motile");
    set(ResultColumn::OrganicTolerant, "% Organic tolerant");
    set(ResultColumn::Saline, "% Saline");
    set(ResultColumn::Comment, commentLabel);
    return labels;
}

std::vector<std::string> siteLabels() {
    std::vector<std::string> labels(kSiteLabelSlots);
    for (std::size_t i = 0; i < std::size(kSiteLabels); ++i)
        labels[i] = kSiteLabels[i];
    return labels;
}

std::string uncertaintyTitle(int metric) {
    switch (metric) {
    case kMetricTDI3:
    case kMetricTDI4:
    case kMetricLTDI1:
    case kMetricLTDI2:
        return std::string("Uncertainty ") + metricName(metric);
    default:
        return "Uncertainty DAM";
    }
}

int classCodeOf(double value) {
    if (!std::isfinite(value))
        return 0;
    const double c = std::trunc(value);
    return c >= 1 && c <= 5 ? static_cast<int>(c) : 0;
}

} // namespace frusta
