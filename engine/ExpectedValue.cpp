#include "engine/ExpectedValue.h"

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

// The sample whose expected value is sought, and where its comment goes.
struct Sample {
    const SampleSet& samples;
    int s;
    const AnalysisSettings& settings;
    std::string& comment;

    double number(int row) const { return leadingNumber(samples.info(row, s)); }
};

Expectation expectTDI3(const Sample& x) {
    const AnalysisSettings& st = x.settings;
    std::string& comment = x.comment;
    double a = x.number(kRowAlkalinityOrType);
    const bool noted = settle(a, st.defAlk, st.alkMinTDI3, st.alkMaxTDI3, kAlkalinity, comment);
    const long long d = leadingWholeNumber(x.samples.info(kRowDate, x.s));
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

Expectation expectTDI4(const Sample& x) {
    const AnalysisSettings& st = x.settings;
    double a = x.number(kRowAlkalinityOrType);
    settle(a, st.defAlk, st.alkMinTDI4, st.alkMaxTDI4, kAlkalinity, x.comment);
    return {false, 0, finiteOrNothing(9.933 * std::exp(0.81 * std::log10(a)))};
}

Expectation expectLake(const Sample& x, const ClassBoundaries& bounds) {
    const int row = bounds.lakeTypeRow(x.samples.info(kRowAlkalinityOrType, x.s));
    if (row < 0) {
        x.comment = "Invalid type";
        return {true, 0, std::nullopt};
    }
    return {false, row, bounds.median(row)};
}

Expectation expectDAM(const Sample& x) {
    const AnalysisSettings& st = x.settings;
    double c = x.number(kRowCalcium);
    settle(c, st.defCa, st.caMin, st.caMax, kCalcium, x.comment);
    double o = x.number(kRowDoc);
    settle(o, st.defDoc, st.docMin, st.docMax, kDoc, x.comment);
    return {false, 0, finiteOrNothing(33.0 * std::log10(c) - 5.5 - 1.9 * o)};
}

} // namespace

Expectation expectSample(const SampleSet& samples, int s, const AnalysisSettings& settings,
                         const ClassBoundaries& bounds, std::string& comment) {
    const Sample x{samples, s, settings, comment};
    switch (settings.metric) {
    case kMetricTDI3:
        return expectTDI3(x);
    case kMetricTDI4:
        return expectTDI4(x);
    case kMetricLTDI1:
    case kMetricLTDI2:
        return expectLake(x, bounds);
    case kMetricDAM:
        return expectDAM(x);
    default:
        return {};
    }
}

} // namespace frusta::engine
