#pragma once
// The job-summary checks of the sample chemistry and dates, run before the analysis.
#include "engine/AssessmentInputs.h"

#include <optional>
#include <string>

namespace frusta::engine {

struct EnvironmentReport {
    std::string notes; // about missing and out-of-range chemistry and dates, for the summary
    // Lakes whose type is not a two-character code: why the analysis cannot run.
    std::optional<std::string> stopMessage;
};

EnvironmentReport checkEnvironment(const SampleSet& samples, const AnalysisSettings& settings);

} // namespace frusta::engine
