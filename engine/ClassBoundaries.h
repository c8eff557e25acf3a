#pragma once
// The class boundaries of the chosen metric, as the document's boundary table holds them:
// a "MedianTDI" column (the expected value of a lake type) followed by the High/Good,
// Good/Moderate, Moderate/Poor and Poor/Bad EQR boundaries; for lakes one row per lake
// type, whose code is the text at position 1.
#include <array>
#include <optional>
#include <string_view>

namespace frusta {
class dbTable;
}

namespace frusta::engine {

using Boundaries = std::array<double, 4>; // High/Good, Good/Moderate, Moderate/Poor, Poor/Bad

// The name of boundary k (0 to 3) of Boundaries: "High/Good" to "Poor/Bad".
const char* boundaryName(int k);

class ClassBoundaries {
public:
    // `table` may be null; it must outlive this object.
    explicit ClassBoundaries(const dbTable* table);

    // True when the four boundaries of row 0 can be read.
    bool usable() const;

    // The first row whose text at position 1 equals `type` without regard to case; -1 when
    // none (also when the table has no such text column).
    int lakeTypeRow(std::string_view type) const;

    // The row's "MedianTDI" value, or nothing when it cannot be read or is not finite.
    std::optional<double> median(int row) const;

    // The row's four boundaries, or nothing when any of them cannot be read.
    std::optional<Boundaries> boundaries(int row) const;

private:
    bool hasRow(int row) const;

    const dbTable* table_;
    int medianColumn_ = -1;
};

// Status class code of an EQR: 1 (High) for the first boundary at or below it, down to
// 4 (Poor); 5 (Bad) when it lies below all four. An EQR equal to a boundary takes the
// better class.
int classForEqr(double eqr, const Boundaries& b);

} // namespace frusta::engine
