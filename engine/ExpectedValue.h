#pragma once
// The expected metric value of one sample, from its chemistry (rivers, acidification) or
// its lake type. Missing chemistry is replaced by the defaults and clamped into the range of
// the model; every change is noted in the sample's comment.
#include "engine/AssessmentInputs.h"

#include <optional>
#include <string>

namespace frusta::engine {

class ClassBoundaries;

struct Expectation {
    bool invalidType = false;       // lakes: the type is in no row of the boundary table
    int boundaryRow = 0;            // the row of the class boundaries that apply
    std::optional<double> expected; // nothing when it cannot be computed
};

// Runs for sample s of the settings' metric; appends to (for lakes with an invalid type:
// replaces) the sample's comment.
Expectation expectSample(const SampleSet& samples, int s, const AnalysisSettings& settings,
                         const ClassBoundaries& bounds, std::string& comment);

} // namespace frusta::engine
