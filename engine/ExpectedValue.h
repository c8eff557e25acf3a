#pragma once
// The expected metric value of one sample, from its chemistry (rivers, acidification) or
// its lake type. Missing chemistry is replaced by the document's defaults and clamped into
// the range of the model; every change is noted in the sample's comment.
#include <optional>

namespace frusta {
class CPbtDoc;
}

namespace frusta::engine {

class ClassBoundaries;

struct Expectation {
    bool invalidType = false;       // lakes: the type is in no row of the boundary table
    int boundaryRow = 0;            // the row of the class boundaries that apply
    std::optional<double> expected; // nothing when it cannot be computed
};

// Runs for sample s of the document's metric; appends to (for lakes with an invalid type:
// replaces) the sample's comment.
Expectation expectSample(CPbtDoc& doc, int s, const ClassBoundaries& bounds);

} // namespace frusta::engine
