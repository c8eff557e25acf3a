#pragma once
// Confidence of class of a site: the mean EQR on the logit scale is taken as normally
// distributed, with a standard error from four coefficients that shrinks with the square
// root of the number of samples.
#include "engine/ClassBoundaries.h"

#include <optional>

namespace frusta {
class dbTable;
}

namespace frusta::engine {

struct CocCoefficients {
    double c0 = 0, c1 = 0, c2 = 0, c3 = 0;
};

// c0 to c3 from position 2 of rows 0 to 3 of the coefficient table; nothing when the table
// is absent, has fewer than four rows or a value cannot be read.
std::optional<CocCoefficients> readCocCoefficients(const dbTable* table);

// Percentages, each 0 to 100.
struct SiteConfidence {
    double high = 0, good = 0, moderate = 0, poor = 0, bad = 0;
    double rom = 0;   // risk of misclassification
    double hg = 0;    // High + Good
    double mpb = 0;   // Moderate + Poor + Bad
    double romGM = 0; // risk of misclassification across the Good/Moderate line
};

// The confidence of class of a site with `n` samples with an EQR and mean EQR `mean`
// (evaluated at 0.999 when above it). `logitCap` bounds the standard error on the logit
// scale (1.5 lakes, 1.0 rivers). Nothing when the model has no value at all: no sample, a
// negative mean (which has no logit) or a mean that is no number. A mean of 0 has figures:
// its logit is minus infinity, the standard error takes the cap and every P(b) is 1. Each
// figure that the arithmetic leaves non-finite is returned as such, for the caller to mark
// missing; the others are kept.
std::optional<SiteConfidence> confidenceOfClass(double mean, int n, const Boundaries& b,
                                                const CocCoefficients& c, double logitCap);

} // namespace frusta::engine
