#pragma once
// The assessment of one sample: its sums, metric value, expected value, EQR, status class
// and comment.
#include "engine/AssessmentInputs.h"
#include "engine/ScoreSums.h"

#include <array>
#include <optional>
#include <string>

namespace frusta::engine {

class ClassBoundaries;

// What an assessment finds for one sample. An empty value is missing: it cannot be computed,
// or the arithmetic left it infinite or not a number.
struct SampleResult {
    std::optional<double> sampleSum;
    std::optional<double> scoredSum;
    std::optional<double> metric; // 25 x count-weighted mean score - 25
    std::optional<double> expected;
    std::optional<double> eqr;
    std::optional<int> classCode; // 1 High to 5 Bad
    // Planktic, motile, organic tolerant and saline, in percent of the sample sum (the sums
    // themselves when the sample sum is 0.01 or less).
    std::array<std::optional<double>, kGroupCount> groups;
    std::string comment;
};

// Sample s with its sums (percentages made). A sample without enough scored taxa has no
// metric value, EQR or class and its comment says so; so does the comment of a sample whose
// EQR is undefined (undefinedEqrNote).
SampleResult assessSample(const SampleSet& samples, int s, const SampleSums& sums,
                          const AnalysisSettings& settings, const ClassBoundaries& bounds);

// The note added to the comment of a sample whose EQR is undefined for its expected value:
// "No EQR: expected value is 100" (rivers, lakes), "No EQR: expected value is 0" and, for a
// negative one, "No EQR: expected value -37.7193 is below 0" (DAM).
std::string undefinedEqrNote(int metric, double expected);

} // namespace frusta::engine
