#pragma once
#include <string>
#include <vector>

namespace frusta::engine {

// The 13 labels of the sample results of a metric: the first 12 name the columns of the
// results table, the last stays empty. All empty for an unknown metric.
std::vector<std::string> resultLabels(int metric);

} // namespace frusta::engine
