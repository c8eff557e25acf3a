#include "output/ChartSeries.h"

#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultsView.h"
#include "engine/CaseFold.h"
#include "engine/ClassBoundaries.h"
#include "engine/InfoRows.h"
#include "engine/SiteGrouping.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace frusta::charts {

const char* const kNoSiteLabel = "(no site code)";

namespace {

constexpr double kTintShare = 0.35;
// The site columns of CoC High to CoC Bad, in the order of SiteBar::coc.
constexpr SiteColumn kCocColumns[] = {SiteColumn::CocHigh, SiteColumn::CocGood,
                                      SiteColumn::CocModerate, SiteColumn::CocPoor,
                                      SiteColumn::CocBad};

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

// Sample indices grouped by site as the site table groups them: sites in order of first
// occurrence, the samples without a usable site code last.
std::vector<std::vector<int>> groupBySite(const CPbtDoc& doc, int samples) {
    std::vector<std::string> codes;
    for (int s = 0; s < samples; ++s)
        codes.push_back(infoAt(doc, engine::kRowSiteCode, s));
    engine::SiteMembers members = engine::samplesBySite(codes);
    if (!members.noSite.empty())
        members.sites.push_back(std::move(members.noSite));
    return std::move(members.sites);
}

SampleMark sampleMark(const CPbtDoc& doc, const ResultsView& view,
                      const engine::ClassBoundaries& bounds, int s) {
    SampleMark mark;
    mark.sample = s;
    mark.name = infoAt(doc, engine::kRowSampleName, s);
    mark.site = infoAt(doc, engine::kRowSiteCode, s);
    mark.eqr = view.value(s, ResultColumn::Eqr);
    mark.classCode = mark.eqr ? view.classCode(s) : 0;
    mark.bands = sampleBands(doc, bounds, s);
    mark.note = view.comment(s);
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
        label += ", " + classNameOf(classNames, bar.classCode);
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
    const ResultsView view(doc);
    SiteBar bar;
    bar.site = i;
    bar.code = view.siteCode(i);
    bar.samples = static_cast<int>(view.siteValue(i, SiteColumn::Samples).value_or(0));
    bar.missing = static_cast<int>(view.siteValue(i, SiteColumn::Missing).value_or(0));
    bar.meanEqr = bar.samples > 0 ? view.siteValue(i, SiteColumn::MeanEqr) : std::nullopt;
    bar.classCode = view.siteClass(i);
    bool complete = true;
    for (std::size_t k = 0; k < std::size(kCocColumns); ++k) {
        const auto v = view.siteValue(i, kCocColumns[k]);
        complete = complete && v.has_value();
        bar.coc[k] = v.value_or(0.0);
    }
    bar.rom = view.siteValue(i, SiteColumn::Rom);
    bar.romGoodModerate = view.siteValue(i, SiteColumn::RomGM);
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

EqrSeries eqrSeries(const CPbtDoc& doc) {
    const ResultsView view(doc);
    EqrSeries series;
    series.title = view.label(ResultColumn::Eqr);
    const int samples = view.sampleCount();
    const engine::ClassBoundaries bounds(doc.m_boundaryTable.get());
    double position = 0.0;
    for (const std::vector<int>& group : groupBySite(doc, samples)) {
        const std::string code = infoAt(doc, engine::kRowSiteCode, group.front());
        SiteSpan span{engine::isSiteCode(code) ? code : kNoSiteLabel, position, position};
        for (int s : group) {
            SampleMark mark = sampleMark(doc, view, bounds, s);
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
    const ResultsView view(doc);
    if (!view.hasSites())
        return std::nullopt;
    ConfidenceSeries series;
    for (int i = 0; i < view.siteCount(); ++i) {
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
