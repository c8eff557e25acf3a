#include "engine/ExpectedValue.h"

#include "doc/CPbtDoc.h"
#include "engine/ClassBoundaries.h"
#include "engine/InfoRows.h"
#include "engine/NumberText.h"
#include "engine/SerialToDate.h"

#include <cmath>

namespace frusta::engine {

namespace {

// What the three tests of one chemistry value say in the comments.
struct ValueTexts {
    const char* missing; // "Missing Alkalinity"
    const char* name;    // "Alkalinity"
    const char* unit;    // "mg/l"
};

// Replaces a value at or below 0 by the default, then clamps it into [lo, hi]; each test
// runs on what the previous left and adds its comment. True when any comment was added.
bool settle(double& v, double def, double lo, double hi, const ValueTexts& t,
            std::string& comment) {
    const std::string unit = std::string(" ") + t.unit;
    bool noted = false;
    if (v <= 0) {
        v = def;
        comment += std::string(t.missing) + ", value set to " + formatG(def) + unit;
        noted = true;
    }
    if (v < lo) {
        v = lo;
        comment +=
            std::string(t.name) + " < " + formatG(lo) + ", value set to " + formatG(lo) + unit;
        noted = true;
    }
    if (v > hi) {
        v = hi;
        comment +=
            std::string(t.name) + " > " + formatG(hi) + ", value set to " + formatG(hi) + unit;
        noted = true;
    }
    return noted;
}

constexpr ValueTexts kAlkalinity{"Missing Alkalinity", "Alkalinity", "mg/l"};
constexpr ValueTexts kCalcium{"Missing Calcium", "Calcium", "ueq/l"};
constexpr ValueTexts kDoc{"Missing DOC", "DOC", "mg/l"};

std::optional<double> finiteOrNothing(double v) {
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

Expectation expectTDI3(CPbtDoc& doc, int s) {
    std::string& comment = doc.m_comments[s];
    double a = leadingNumber(infoText(doc, kRowAlkalinityOrType, s));
    const bool noted =
        settle(a, doc.m_defAlk, doc.m_alkMinTDI3, doc.m_alkMaxTDI3, kAlkalinity, comment);
    const long long d = leadingWholeNumber(infoText(doc, kRowDate, s));
    int seasonFlag = 0; // 0 spring (January to June), 1 autumn (July to December)
    if (!isValidDateSerial(d)) {
        if (noted)
            comment += "; ";
        comment += "Missing or bad date";
    } else if (SerialToDate(d).month > 6) {
        seasonFlag = 1;
    }
    const double L = std::log10(a);
    return {false, 0, finiteOrNothing(-25.36 + 56.83 * L - 12.96 * L * L + 3.21 * seasonFlag)};
}

Expectation expectTDI4(CPbtDoc& doc, int s) {
    double a = leadingNumber(infoText(doc, kRowAlkalinityOrType, s));
    settle(a, doc.m_defAlk, doc.m_alkMinTDI4, doc.m_alkMaxTDI4, kAlkalinity, doc.m_comments[s]);
    return {false, 0, finiteOrNothing(9.933 * std::exp(0.81 * std::log10(a)))};
}

Expectation expectLake(CPbtDoc& doc, int s, const ClassBoundaries& bounds) {
    const int row = bounds.lakeTypeRow(infoText(doc, kRowAlkalinityOrType, s));
    if (row < 0) {
        doc.m_comments[s] = "Invalid type";
        return {true, 0, std::nullopt};
    }
    return {false, row, bounds.median(row)};
}

Expectation expectDAM(CPbtDoc& doc, int s) {
    std::string& comment = doc.m_comments[s];
    double c = leadingNumber(infoText(doc, kRowCalcium, s));
    settle(c, doc.m_defCa, doc.m_caMin, doc.m_caMax, kCalcium, comment);
    double o = leadingNumber(infoText(doc, kRowDoc, s));
    settle(o, doc.m_defDoc, doc.m_docMin, doc.m_docMax, kDoc, comment);
    return {false, 0, finiteOrNothing(33.0 * std::log10(c) - 5.5 - 1.9 * o)};
}

} // namespace

Expectation expectSample(CPbtDoc& doc, int s, const ClassBoundaries& bounds) {
    switch (doc.m_nMetric) {
    case kMetricTDI3:
        return expectTDI3(doc, s);
    case kMetricTDI4:
        return expectTDI4(doc, s);
    case kMetricLTDI1:
    case kMetricLTDI2:
        return expectLake(doc, s, bounds);
    case kMetricDAM:
        return expectDAM(doc, s);
    default:
        return {};
    }
}

} // namespace frusta::engine
