#include "output/ChartSeries.h"

#include "doc/CPbtDoc.h"
#include "engine/CaseFold.h"
#include "engine/ClassBoundaries.h"
#include "engine/InfoRows.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

namespace frusta::charts {

const char* const kNoSiteLabel = "(no site code)";

namespace {

constexpr int kEqrColumn = 5;
constexpr int kClassColumn = 6;
enum SiteColumn { kSamples = 0, kMissing = 1, kMean = 2, kClass = 3, kHigh = 4, kRom = 9 };
constexpr int kRomGoodModerate = 12;
constexpr std::size_t kMinSiteCode = 2;
constexpr double kTintShare = 0.35;

std::optional<double> valueAt(const dMat* m, int row, int col) {
    if (!m || row < 0 || row >= m->nrow() || col >= m->ncol() || m->isMissing(row, col))
        return std::nullopt;
    const double x = (*m)(row, col);
    return std::isfinite(x) ? std::optional<double>(x) : std::nullopt;
}

int classOf(std::optional<double> x) {
    const long code = x ? static_cast<long>(*x) : 0;
    return code >= 1 && code <= 5 ? static_cast<int>(code) : 0;
}

std::string textAt(const std::vector<std::string>& v, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? v[static_cast<std::size_t>(i)]
                                                            : std::string();
}

std::string infoAt(const CPbtDoc& doc, int row, int s) {
    return row < static_cast<int>(doc.m_infoValues.size())
               ? textAt(doc.m_infoValues[static_cast<std::size_t>(row)], s)
               : std::string();
}

// The boundaries that classed sample s: row 0, or for lakes the row of its lake type.
std::optional<BandLimits> sampleBands(const CPbtDoc& doc, const engine::ClassBoundaries& bounds,
                                      int s) {
    const int row = doc.m_nFamily == kFamilyLakes
                        ? bounds.lakeTypeRow(infoAt(doc, engine::kRowAlkalinityOrType, s))
                        : 0;
    return bounds.boundaries(row);
}

// Sample indices grouped by site: sites in order of first occurrence, the samples without a
// usable site code last.
std::vector<std::vector<int>> groupBySite(const CPbtDoc& doc, int samples) {
    std::vector<std::vector<int>> groups;
    std::vector<int> noSite;
    std::unordered_map<std::string, std::size_t> index;
    for (int s = 0; s < samples; ++s) {
        const std::string code = infoAt(doc, engine::kRowSiteCode, s);
        if (code.size() < kMinSiteCode) {
            noSite.push_back(s);
            continue;
        }
        const auto [it, added] = index.try_emplace(engine::foldedCopy(code), groups.size());
        if (added)
            groups.emplace_back();
        groups[it->second].push_back(s);
    }
    if (!noSite.empty())
        groups.push_back(std::move(noSite));
    return groups;
}

SampleMark sampleMark(const CPbtDoc& doc, const engine::ClassBoundaries& bounds, int s) {
    const dMat* results = doc.m_pResults.get();
    SampleMark mark;
    mark.sample = s;
    mark.name = infoAt(doc, 0, s);
    mark.site = infoAt(doc, engine::kRowSiteCode, s);
    mark.eqr = valueAt(results, s, kEqrColumn);
    mark.classCode = mark.eqr ? classOf(valueAt(results, s, kClassColumn)) : 0;
    mark.bands = sampleBands(doc, bounds, s);
    mark.note = textAt(doc.m_comments, s);
    return mark;
}

std::string samplesText(int n) {
    return std::to_string(n) + (n == 1 ? " sample" : " samples");
}

std::string siteLabel(const SiteBar& bar, const std::vector<std::string>& classNames) {
    std::string label = bar.code + ", " + samplesText(bar.samples);
    if (bar.missing > 0)
        label += " (" + std::to_string(bar.missing) + " without EQR)";
    if (bar.meanEqr)
        label += ", mean " + twoDecimals(*bar.meanEqr);
    if (bar.classCode > 0)
        label += ", " + textAt(classNames, bar.classCode - 1);
    return label;
}

// The sample that leads site `code`: the first whose code equals it without regard to case.
int siteLeader(const CPbtDoc& doc, const std::string& code) {
    const int n = doc.m_infoValues.size() > engine::kRowSiteCode
                      ? static_cast<int>(doc.m_infoValues[engine::kRowSiteCode].size())
                      : 0;
    for (int s = 0; s < n; ++s)
        if (engine::equalsIgnoreCase(infoAt(doc, engine::kRowSiteCode, s), code))
            return s;
    return -1;
}

std::string missingFiguresReason(const CPbtDoc& doc, const SiteBar& bar) {
    if (bar.samples == 0)
        return "no sample of the site has an EQR";
    const engine::ClassBoundaries bounds(doc.m_boundaryTable.get());
    if (doc.m_nFamily == kFamilyLakes) {
        const std::string type =
            infoAt(doc, engine::kRowAlkalinityOrType, siteLeader(doc, bar.code));
        if (!bounds.boundaries(bounds.lakeTypeRow(type)))
            return "lake type \"" + type + "\" has no class boundaries";
    } else if (!bounds.usable()) {
        return "no class boundaries";
    }
    return "the confidence of class could not be computed";
}

SiteBar siteBar(const CPbtDoc& doc, const std::vector<std::string>& classNames, int i) {
    const dMat* table = doc.m_pUncertainty.get();
    SiteBar bar;
    bar.site = i;
    bar.code = textAt(doc.m_siteCodes, i);
    bar.samples = static_cast<int>(valueAt(table, i, kSamples).value_or(0));
    bar.missing = static_cast<int>(valueAt(table, i, kMissing).value_or(0));
    bar.meanEqr = bar.samples > 0 ? valueAt(table, i, kMean) : std::nullopt;
    bar.classCode = classOf(valueAt(table, i, kClass));
    bool complete = true;
    for (int k = 0; k < 5; ++k) {
        const auto v = valueAt(table, i, kHigh + k);
        complete = complete && v.has_value();
        bar.coc[static_cast<std::size_t>(k)] = v.value_or(0.0);
    }
    bar.rom = valueAt(table, i, kRom);
    bar.romGoodModerate = valueAt(table, i, kRomGoodModerate);
    bar.label = siteLabel(bar, classNames);
    if (!complete)
        bar.reason = missingFiguresReason(doc, bar);
    return bar;
}

} // namespace

Rgb classColour(int classCode) {
    switch (classCode) {
    case 1:
        return {0, 114, 206}; // High: blue
    case 2:
        return {0, 158, 73}; // Good: green
    case 3:
        return {255, 209, 0}; // Moderate: yellow
    case 4:
        return {255, 128, 0}; // Poor: orange
    case 5:
        return {218, 30, 40}; // Bad: red
    default:
        return {150, 150, 150};
    }
}

Rgb mixWithWhite(Rgb colour, double share) {
    share = std::clamp(share, 0.0, 1.0);
    auto mix = [share](uint8_t c) {
        return static_cast<uint8_t>(std::lround(255.0 - share * (255.0 - c)));
    };
    return {mix(colour.r), mix(colour.g), mix(colour.b)};
}

Rgb classTint(int classCode) {
    return mixWithWhite(classColour(classCode), kTintShare);
}

int sampleClass(const CPbtDoc& doc, int s) {
    return classOf(valueAt(doc.m_pResults.get(), s, kClassColumn));
}

int siteClass(const CPbtDoc& doc, int i) {
    return classOf(valueAt(doc.m_pUncertainty.get(), i, kClass));
}

EqrSeries eqrSeries(const CPbtDoc& doc) {
    EqrSeries series;
    series.title = textAt(doc.m_resultLabels, kEqrColumn);
    const int samples = doc.m_pResults ? doc.m_pResults->nrow() : 0;
    const engine::ClassBoundaries bounds(doc.m_boundaryTable.get());
    double position = 0.0;
    for (const std::vector<int>& group : groupBySite(doc, samples)) {
        const std::string code = infoAt(doc, engine::kRowSiteCode, group.front());
        SiteSpan span{code.size() < kMinSiteCode ? kNoSiteLabel : code, position, position};
        for (int s : group) {
            SampleMark mark = sampleMark(doc, bounds, s);
            mark.position = position;
            if (mark.eqr)
                series.axisMin = std::min(series.axisMin, *mark.eqr);
            span.last = position;
            position += 1.0;
            series.samples.push_back(std::move(mark));
        }
        series.sites.push_back(span);
        position += 1.0; // the empty place that separates two sites
    }
    series.positionMin = -0.5;
    series.positionMax = series.samples.empty() ? 0.5 : series.samples.back().position + 0.5;
    return series;
}

std::optional<ConfidenceSeries> confidenceSeries(const CPbtDoc& doc,
                                                 const std::vector<std::string>& classNames) {
    if (!doc.m_bUncertaintyDone || !doc.m_pUncertainty)
        return std::nullopt;
    ConfidenceSeries series;
    for (int i = 0; i < doc.m_pUncertainty->nrow(); ++i) {
        SiteBar bar = siteBar(doc, classNames, i);
        (bar.reason.empty() ? series.bars : series.without).push_back(std::move(bar));
    }
    return series;
}

std::string twoDecimals(double x) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 2);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

} // namespace frusta::charts
