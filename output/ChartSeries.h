#pragma once
// What the results window's charts show, computed from a document: the EQR of every sample
// against the class bands of its own boundaries, and the confidence of class of every site.
// The windows only draw these; the class colours are here too, as plain RGB.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace frusta {
class CPbtDoc;
}

namespace frusta::charts {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Water Framework Directive class colours: 1 High blue, 2 Good green, 3 Moderate yellow,
// 4 Poor orange, 5 Bad red; grey for any other code.
Rgb classColour(int classCode);
// The colour mixed with white: `share` of the colour (0 white, 1 the colour itself).
Rgb mixWithWhite(Rgb colour, double share);
// The light tint of a class colour that the class bands and the grids' class cells use:
// pale enough for black text, distinct enough in print.
Rgb classTint(int classCode);

// The EQR boundaries of one sample: High/Good, Good/Moderate, Moderate/Poor, Poor/Bad.
using BandLimits = std::array<double, 4>;

struct SampleMark {
    int sample = 0;      // index in the worksheet
    double position = 0; // place along the chart's horizontal axis
    std::string name;    // sample name
    std::string site;    // site code as the worksheet holds it
    std::optional<double> eqr;
    int classCode = 0;               // 1 to 5; 0 without a class
    std::optional<BandLimits> bands; // none when the sample's boundaries are unknown
    std::string note;                // the sample's comment (why it has no EQR)
};

// A run of samples of one site along the axis, from `first` to `last` position.
struct SiteSpan {
    std::string site;
    double first = 0;
    double last = 0;
};

struct EqrSeries {
    std::string title; // the EQR column's label, "EQR TDI4"
    std::vector<SampleMark> samples;
    std::vector<SiteSpan> sites;
    double axisMin = 0.0; // the lower of 0 and the lowest EQR
    double axisMax = 1.0;
    double positionMin = 0.0; // the horizontal extent of the marks and their bands
    double positionMax = 0.0;
};

// Samples grouped by site code (sites in the order of their first sample, samples in
// worksheet order within a site), one position apart, with one empty position between
// sites. Codes are compared as the site table does (without regard to case); samples
// whose code is shorter than 2 characters come last, as one group without a site.
EqrSeries eqrSeries(const CPbtDoc& doc);

// The label of the group of samples without a site code.
extern const char* const kNoSiteLabel;

struct SiteBar {
    int site = 0; // row of the site table
    std::string code;
    int samples = 0; // samples with an EQR
    int missing = 0; // samples without one
    std::optional<double> meanEqr;
    int classCode = 0;
    // CoC High, Good, Moderate, Poor, Bad in percent; valid when `reason` is empty.
    std::array<double, 5> coc{};
    std::optional<double> rom;
    std::optional<double> romGoodModerate;
    std::string label;  // "SITE01, 3 samples, mean 0.49, Moderate"
    std::string reason; // why the site has no confidence of class; empty when it has
};

struct ConfidenceSeries {
    std::vector<SiteBar> bars;    // sites with figures, in site order
    std::vector<SiteBar> without; // sites without figures, in site order
};

// The site bars, or nothing when the site uncertainty was not computed.
std::optional<ConfidenceSeries> confidenceSeries(const CPbtDoc& doc,
                                                 const std::vector<std::string>& classNames);

// Fixed two decimals with a decimal point whatever the locale: 0.4925 -> "0.49".
std::string twoDecimals(double x);

} // namespace frusta::charts
