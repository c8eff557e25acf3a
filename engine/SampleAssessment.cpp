#include "engine/SampleAssessment.h"

#include "doc/CPbtDoc.h"
#include "doc/TextFormat.h"
#include "engine/ClassBoundaries.h"
#include "engine/Eqr.h"
#include "engine/ExpectedValue.h"

namespace frusta::engine {

namespace {

enum Column { kScoredSum = 2, kMetric = 3, kExpected = 4, kEqr = 5, kClass = 6 };

void markMissing(dMat& r, int s, int firstCol, int lastCol) {
    for (int c = firstCol; c <= lastCol; ++c)
        r(s, c) = r.missingValue();
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

namespace {

// Adds a note to a sample's comment, after "; " when the comment has something already.
void appendNote(std::string& comment, const std::string& note) {
    if (!comment.empty())
        comment += "; ";
    comment += note;
}

} // namespace

void assessSample(CPbtDoc& doc, int s, const ClassBoundaries& bounds) {
    dMat& r = *doc.m_pResults;
    const Expectation ex = expectSample(doc, s, bounds);
    if (ex.invalidType) {
        markMissing(r, s, kExpected, kClass);
        return;
    }
    // A sample whose scored taxa sum to less than one count has no metric value, so it has
    // no EQR or class either, whatever the metric's own threshold.
    const double scoredSum = r(s, kScoredSum);
    if (scoredSum < eqrThreshold(doc.m_nMetric) || scoredSum < kMinScoredSum) {
        markMissing(r, s, kMetric, kClass);
        doc.m_comments[s] += "No matching taxa found";
        return;
    }
    if (!ex.expected) {
        markMissing(r, s, kExpected, kClass);
        return;
    }
    r(s, kExpected) = *ex.expected;
    const auto eqr = computeEqr(doc.m_nMetric, r(s, kMetric), *ex.expected);
    if (!eqr) {
        // The quotient is undefined (an expected value of 100, or 0 or less for DAM): no
        // EQR or class, and the comment says why.
        markMissing(r, s, kEqr, kClass);
        appendNote(doc.m_comments[s], undefinedEqrNote(doc.m_nMetric, *ex.expected));
        return;
    }
    r(s, kEqr) = *eqr;
    const auto b = bounds.boundaries(ex.boundaryRow);
    r(s, kClass) = b ? classForEqr(*eqr, *b) : r.missingValue();
}

} // namespace frusta::engine
