#include "engine/SampleAssessment.h"

#include "engine/ClassBoundaries.h"
#include "engine/Eqr.h"
#include "engine/ExpectedValue.h"
#include "engine/TextFormat.h"

#include <cmath>

namespace frusta::engine {

namespace {

// Adds a note to a sample's comment, after "; " when the comment has something already.
void appendNote(std::string& comment, const std::string& note) {
    if (!comment.empty())
        comment += "; ";
    comment += note;
}

void dropNonFinite(std::optional<double>& v) {
    if (v && !std::isfinite(*v))
        v.reset();
}

// Counts so extreme that a sum overflows leave no infinity or NaN behind.
SampleResult finite(SampleResult r) {
    for (auto* v : {&r.sampleSum, &r.scoredSum, &r.metric, &r.expected, &r.eqr})
        dropNonFinite(*v);
    for (auto& g : r.groups)
        dropNonFinite(g);
    return r;
}

} // namespace

std::string undefinedEqrNote(int metric, double expected) {
    if (metric == kMetricDAM && expected == 0.0)
        return "No EQR: expected value is 0";
    if (metric == kMetricDAM && expected < 0.0)
        return "No EQR: expected value " + formatG(expected) + " is below 0";
    if (metric != kMetricDAM && expected == 100.0)
        return "No EQR: expected value is 100";
    return "No EQR: undefined for this expected value";
}

SampleResult assessSample(const SampleSet& samples, int s, const SampleSums& sums,
                          const AnalysisSettings& settings, const ClassBoundaries& bounds) {
    SampleResult r;
    r.sampleSum = sums.sampleSum;
    r.scoredSum = sums.scoredSum;
    for (int g = 0; g < kGroupCount; ++g)
        r.groups[g] = sums.groups[g];
    r.metric = metricValue(sums);
    const Expectation ex = expectSample(samples, s, settings, bounds, r.comment);
    if (ex.invalidType)
        return finite(r);
    // A sample whose scored taxa sum to less than one count has no metric value, so it has
    // no EQR or class either, whatever the metric's own threshold.
    if (sums.scoredSum < eqrThreshold(settings.metric) || sums.scoredSum < kMinScoredSum) {
        r.metric.reset();
        r.comment += "No matching taxa found";
        return finite(r);
    }
    if (!ex.expected)
        return finite(r);
    r.expected = ex.expected;
    r.eqr = computeEqr(settings.metric, *r.metric, *ex.expected);
    if (!r.eqr) {
        // The quotient is undefined (an expected value of 100, or 0 or less for DAM): no
        // EQR or class, and the comment says why.
        appendNote(r.comment, undefinedEqrNote(settings.metric, *ex.expected));
        return finite(r);
    }
    if (const auto b = bounds.boundaries(ex.boundaryRow))
        r.classCode = classForEqr(*r.eqr, *b);
    return finite(r);
}

} // namespace frusta::engine
