#pragma once
// The confidence of class of every site: samples grouped by site code, each site's mean EQR,
// class, confidence of class and risks of misclassification.
#include "engine/AssessmentInputs.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace frusta::engine {

// The confidence figures of a site, in percent, in the order of the site table.
enum ConfidenceFigure {
    kCocHigh,
    kCocGood,
    kCocModerate,
    kCocPoor,
    kCocBad,
    kRom,    // risk of misclassification
    kCocHG,  // High + Good
    kCocMPB, // Moderate + Poor + Bad
    kRomGM,  // risk of misclassification across the Good/Moderate line
    kConfidenceFigures
};

// What the site assessment finds for one site. An empty value is missing.
struct SiteResult {
    std::string code;    // the site code of its first sample
    int firstSample = 0; // the sample that leads the site
    int withEqr = 0;     // samples with an EQR
    int withoutEqr = 0;  // samples without one
    std::optional<double> meanEqr;
    std::optional<int> classCode; // 1 High to 5 Bad
    std::array<std::optional<double>, kConfidenceFigures> confidence;
};

struct SiteAssessment {
    // When set, no site table was made; the text tells the user why.
    std::optional<std::string> stopMessage;
    std::vector<SiteResult> sites; // in the order of their first sample
};

// Why there is no site table when the samples' results do not match the site codes.
extern const char* const kSampleNumbersMessage;

// The sites of the samples whose EQRs are given (one per sample, empty without an EQR).
SiteAssessment assessSites(const SampleSet& samples, const std::vector<std::optional<double>>& eqr,
                           const ReferenceTables& tables, int family);

} // namespace frusta::engine
