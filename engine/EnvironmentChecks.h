#pragma once
// The job-summary checks of the sample chemistry and dates, run before the analysis.
namespace frusta {
class CPbtDoc;
}

namespace frusta::engine {

// Appends the notes about missing and out-of-range chemistry and dates to the job summary.
// For lakes, samples whose type is not a two-character code stop the analysis: the user is
// told how many, and the result is false.
bool checkEnvironment(CPbtDoc& doc);

} // namespace frusta::engine
