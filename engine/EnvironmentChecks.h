#pragma once
// The job-summary checks of the sample chemistry and dates, run before the analysis.
#include "app/Outcome.h"

namespace frusta {
class CPbtDoc;
}

namespace frusta::engine {

// Appends the notes about missing and out-of-range chemistry and dates to the job summary.
// For lakes, samples whose type is not a two-character code stop the analysis: the user is
// told how many, and the analysis fails.
Outcome checkEnvironment(CPbtDoc& doc);

} // namespace frusta::engine
