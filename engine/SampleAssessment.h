#pragma once
// Expected value, EQR and status class of one sample, written into its row of the results.
#include <string>

namespace frusta {
class CPbtDoc;
}

namespace frusta::engine {

class ClassBoundaries;

// Fills columns 4 (expected value), 5 (EQR) and 6 (class) of sample s, or marks them
// missing where they have no value; a sample without enough scored taxa also loses its
// metric value (column 3) and its comment says so, and so does the comment of a sample
// whose EQR is undefined (undefinedEqrNote).
void assessSample(CPbtDoc& doc, int s, const ClassBoundaries& bounds);

// The note added to the comment of a sample whose EQR is undefined for its expected value:
// "No EQR: expected value is 100" (rivers, lakes), "No EQR: expected value is 0" and, for a
// negative one, "No EQR: expected value -37.7193 is below 0" (DAM).
std::string undefinedEqrNote(int metric, double expected);

} // namespace frusta::engine
