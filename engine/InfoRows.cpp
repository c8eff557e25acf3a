#include "engine/InfoRows.h"

#include "doc/CPbtDoc.h"

namespace frusta::engine {

const std::string& infoText(const CPbtDoc& doc, int row, int s) {
    static const std::string empty;
    if (row < 0 || row >= static_cast<int>(doc.m_infoValues.size()))
        return empty;
    const auto& values = doc.m_infoValues[row];
    return s >= 0 && s < static_cast<int>(values.size()) ? values[s] : empty;
}

} // namespace frusta::engine
