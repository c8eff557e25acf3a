#include "engine/ConfidenceOfClass.h"

#include "engine/NormalLowerTail.h"
#include "refdb/dbTable.h"

#include <cmath>

namespace frusta::engine {

namespace {

constexpr double kMaxMean = 0.999;
constexpr int kCoefficientColumn = 2;

double logit(double p) {
    return std::log(p / (1.0 - p));
}

// 100 minus the confidence of the class in which m lies; a mean equal to a boundary counts
// in the lower class.
double riskOfMisclassification(double m, const Boundaries& b, const SiteConfidence& c) {
    if (m <= b[3])
        return 100.0 - c.bad;
    if (m <= b[2])
        return 100.0 - c.poor;
    if (m <= b[1])
        return 100.0 - c.moderate;
    if (m <= b[0])
        return 100.0 - c.good;
    return 100.0 - c.high;
}

} // namespace

std::optional<CocCoefficients> readCocCoefficients(const dbTable* table) {
    if (!table || table->rowCount < 4 || table->colCount <= kCoefficientColumn)
        return std::nullopt;
    double v[4];
    for (int row = 0; row < 4; ++row)
        if (!table->GetDouble(row, kCoefficientColumn, v[row]))
            return std::nullopt;
    return CocCoefficients{v[0], v[1], v[2], v[3]};
}

std::optional<SiteConfidence> confidenceOfClass(double mean, int n, const Boundaries& b,
                                                const CocCoefficients& c, double logitCap) {
    // A mean of 0 has the logit minus infinity, which the arithmetic carries to finite
    // figures (every P(b) is 1: Bad 100); a negative mean has no logit at all.
    if (n <= 0 || !(mean >= 0.0))
        return std::nullopt;
    const double m = mean > kMaxMean ? kMaxMean : mean;
    const double se = (c.c0 + c.c1 * m + c.c2 * std::pow(m, c.c3)) / std::sqrt(n);
    const double lm = logit(m);
    double s = se / ((1.0 - m) * m);
    if (s > logitCap)
        s = logitCap;
    double below[4]; // probability that the site's EQR lies below each boundary
    for (int k = 0; k < 4; ++k)
        below[k] = NormalLowerTail((logit(b[k]) - lm) / s);

    SiteConfidence r;
    r.bad = 100.0 * below[3];
    r.poor = 100.0 * (below[2] - below[3]);
    r.moderate = 100.0 * (below[1] - below[2]);
    r.good = 100.0 * (below[0] - below[1]);
    r.high = 100.0 * (1.0 - below[0]);
    r.rom = riskOfMisclassification(m, b, r);
    r.hg = r.high + r.good;
    r.mpb = r.moderate + r.poor + r.bad;
    r.romGM = m <= b[1] ? 100.0 - r.mpb : 100.0 - r.hg;
    return r;
}

} // namespace frusta::engine
