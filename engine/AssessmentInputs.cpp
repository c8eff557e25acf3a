#include "engine/AssessmentInputs.h"

namespace frusta::engine {

const std::vector<std::string>& SampleSet::info(int row) const {
    static const std::vector<std::string> none;
    if (!infoRows || row < 0 || row >= static_cast<int>(infoRows->size()))
        return none;
    return (*infoRows)[static_cast<std::size_t>(row)];
}

const std::string& SampleSet::info(int row, int s) const {
    static const std::string empty;
    const auto& values = info(row);
    return s >= 0 && s < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(s)]
                                                         : empty;
}

} // namespace frusta::engine
