#include "doc/CPbtDoc.h"
#include "engine/CaseFold.h"
#include "engine/ClassBoundaries.h"
#include "engine/Eqr.h"
#include "engine/NormalLowerTail.h"
#include "engine/NumberText.h"
#include "engine/SerialToDate.h"
#include "engine/TaxonIndex.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>

using namespace frusta;
using namespace frusta::engine;

TEST(NormalLowerTail, KnownPointsAndBranches) {
    EXPECT_DOUBLE_EQ(NormalLowerTail(0.0), 0.5);
    EXPECT_NEAR(NormalLowerTail(1.96), 0.975, 0.0005);
    EXPECT_EQ(NormalLowerTail(-13.0), 0.0);
    EXPECT_EQ(NormalLowerTail(13.0), 1.0);
    // Both series of AS 66 (below and above |x| = 1.28) against the exact integral.
    for (double x : {-5.0, -2.5, -1.28, -0.7, 0.3, 1.0, 1.5, 3.2, 8.0}) {
        const double exact = 0.5 * std::erfc(-x / std::sqrt(2.0));
        EXPECT_NEAR(NormalLowerTail(x), exact, 1e-9) << x;
    }
    // The central series with this system's q and b1 (the published ones differ by ~7e-9).
    EXPECT_NEAR(NormalLowerTail(1.0), 0.8413447460717163, 1e-15);
    EXPECT_NEAR(NormalLowerTail(-0.5), 0.3085375387264123, 1e-15);
    EXPECT_TRUE(std::isnan(NormalLowerTail(NAN)));
}

TEST(SerialToDate, SpreadsheetSerials) {
    // Day 60 is the 29 February 1900 that spreadsheets count.
    const std::pair<long long, std::array<int, 3>> cases[] = {
        {1, {1, 1, 1900}},     {59, {28, 2, 1900}},    {60, {29, 2, 1900}},
        {61, {1, 3, 1900}},    {20000, {3, 10, 1954}}, {39994, {30, 6, 2009}},
        {40000, {6, 7, 2009}}, {60000, {8, 4, 2064}},
    };
    for (const auto& [serial, dayMonthYear] : cases) {
        const CalendarDate d = SerialToDate(serial);
        EXPECT_EQ((std::array<int, 3>{d.day, d.month, d.year}), dayMonthYear) << serial;
    }
}

TEST(NumberText, LeadingNumberIsTheLongestDecimalPrefix) {
    EXPECT_EQ(leadingNumber("12.5 mg/l"), 12.5);
    EXPECT_EQ(leadingNumber("  \t-3e2x"), -300.0);
    EXPECT_EQ(leadingNumber("+7"), 7.0);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("5."), 5.0);
    EXPECT_EQ(leadingNumber("2e"), 2.0); // an exponent without digits is not read
    EXPECT_EQ(leadingNumber("2e+x"), 2.0);
    EXPECT_EQ(leadingNumber("1E-2"), 0.01);
    EXPECT_EQ(leadingNumber("1,5"), 1.0); // the decimal mark is always a point
    for (const char* none : {"", " ", "abc", "-", ".", "-.e5", "inf", "nan", "Infinity"})
        EXPECT_EQ(leadingNumber(none), 0.0) << none;
    EXPECT_EQ(leadingNumber("0x1A"), 0.0);
    EXPECT_EQ(leadingNumber("1e999"), DBL_MAX);
    EXPECT_EQ(leadingNumber("-1e999"), -DBL_MAX);
    EXPECT_EQ(leadingNumber("0.0001e-999"), 0.0);
}

TEST(NumberText, LeadingWholeNumberAndFormat) {
    EXPECT_EQ(leadingWholeNumber("40000"), 40000);
    EXPECT_EQ(leadingWholeNumber(" 39994.9"), 39994);
    EXPECT_EQ(leadingWholeNumber("-12x"), -12);
    EXPECT_EQ(leadingWholeNumber("4e4"), 4);
    EXPECT_EQ(leadingWholeNumber("date"), 0);
    EXPECT_EQ(leadingWholeNumber("99999999999999999999999"), 1000000000000000LL);
    for (double v : {0.0, 1.0, 100.0, 6.0, 0.5, 1e-5, 123456.0, 1234567.0, -2.25, 1e20, 58.6}) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g", v);
        EXPECT_EQ(formatG(v), buf);
    }
}

TEST(TaxonIndex, LowestRowOfAWholeCodeWithoutRegardToAsciiCase) {
    const std::vector<std::string> codes = {"AAAA", "bbbb", "BBBB", "aaaa", "Ab", "ÄB", ""};
    const TaxonIndex index(&codes);
    EXPECT_EQ(index.find("aaaa"), 0);
    EXPECT_EQ(index.find("BbBb"), 1);
    EXPECT_EQ(index.find("ab"), 4);
    EXPECT_EQ(index.find("äb"), -1); // only ASCII letters are folded
    EXPECT_EQ(index.find("ÄB"), 5);
    EXPECT_EQ(index.find("AAA"), -1); // whole texts only
    EXPECT_EQ(index.find("AAAAA"), -1);
    EXPECT_EQ(TaxonIndex(nullptr).find("AAAA"), -1);
    EXPECT_TRUE(equalsIgnoreCase("Site-1", "SITE-1"));
}

TEST(Eqr, WorkedValuesCapAndUndefinedQuotients) {
    EXPECT_NEAR(*computeEqr(kMetricTDI3, 40.0, 36.46), 0.9443, 0.00005);
    EXPECT_NEAR(*computeEqr(kMetricLTDI2, 60.0, 20.0), 0.5, 1e-12);
    EXPECT_LT(*computeEqr(kMetricTDI3, 150.0, 50.0), 0.0); // no lower limit
    // Undefined quotients are no value, not an infinity capped to 1 or a NaN.
    EXPECT_FALSE(computeEqr(kMetricDAM, 70.0, 0.0));
    EXPECT_FALSE(computeEqr(kMetricTDI3, 40.0, 100.0));
    EXPECT_FALSE(computeEqr(kMetricTDI, 40.0, 30.0));
    // A DAM expected below 0 would invert the ratio: no value either; just above 0 it has one.
    EXPECT_FALSE(computeEqr(kMetricDAM, 70.0, -37.7));
    EXPECT_FALSE(computeEqr(kMetricDAM, 70.0, -1e-12));
    EXPECT_EQ(*computeEqr(kMetricDAM, 70.0, 1e-12), 1.0);
    EXPECT_NEAR(*computeEqr(kMetricDAM, 10.0, 20.0), 0.5, 1e-12);
}

TEST(ClassBoundaries, TiesTakeTheBetterClass) {
    const Boundaries b{0.80, 0.60, 0.40, 0.20};
    const std::pair<double, int> cases[] = {{1.0, 1},  {0.80, 1}, {0.7999, 2}, {0.60, 2},
                                            {0.20, 4}, {0.19, 5}, {-0.3, 5}};
    for (const auto& [eqr, expected] : cases)
        EXPECT_EQ(classForEqr(eqr, b), expected) << eqr;
}
