#pragma once
// Expected value, EQR and status class of one sample, written into its row of the results.
namespace frusta {
class CPbtDoc;
}

namespace frusta::engine {

class ClassBoundaries;

// Fills columns 4 (expected value), 5 (EQR) and 6 (class) of sample s, or marks them
// missing where they have no value; a sample without enough scored taxa also loses its
// metric value (column 3) and its comment says so.
void assessSample(CPbtDoc& doc, int s, const ClassBoundaries& bounds);

} // namespace frusta::engine
