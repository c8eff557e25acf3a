#include "engine/ClassBoundaries.h"

#include "engine/CaseFold.h"
#include "refdb/dbTable.h"

#include <cmath>

namespace frusta::engine {

ClassBoundaries::ClassBoundaries(const dbTable* table) : table_(table) {
    if (table_)
        medianColumn_ = table_->FindColumn("MedianTDI");
}

bool ClassBoundaries::hasRow(int row) const {
    return table_ && row >= 0 && row < table_->rowCount;
}

bool ClassBoundaries::usable() const {
    return boundaries(0).has_value();
}

int ClassBoundaries::lakeTypeRow(std::string_view type) const {
    if (!table_ || table_->colCount < 2)
        return -1;
    const auto* types = table_->textColumn(1);
    if (!types)
        return -1;
    for (int row = 0; row < table_->rowCount; ++row)
        if (equalsIgnoreCase((*types)[row], type))
            return row;
    return -1;
}

std::optional<double> ClassBoundaries::median(int row) const {
    double value = 0.0;
    if (!hasRow(row) || medianColumn_ < 0 || !table_->GetDouble(row, medianColumn_, value) ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<Boundaries> ClassBoundaries::boundaries(int row) const {
    if (!hasRow(row) || medianColumn_ < 0 || medianColumn_ + 4 >= table_->colCount)
        return std::nullopt;
    Boundaries b{};
    for (int k = 0; k < 4; ++k)
        if (!table_->GetDouble(row, medianColumn_ + 1 + k, b[k]) || std::isnan(b[k]))
            return std::nullopt;
    return b;
}

const char* boundaryName(int k) {
    static const char* const kNames[] = {"High/Good", "Good/Moderate", "Moderate/Poor", "Poor/Bad"};
    return k >= 0 && k < 4 ? kNames[k] : "";
}

int classForEqr(double eqr, const Boundaries& b) {
    for (int k = 0; k < 4; ++k)
        if (b[k] <= eqr)
            return k + 1;
    return 5;
}

} // namespace frusta::engine
