#pragma once
#include <string>

namespace frusta::engine {

// The job-summary warning about `count` input taxa without a score for the metric of the
// given family, followed by the two lines that tell the user where to find them.
std::string scoreWarning(int family, int metric, int count);

} // namespace frusta::engine
