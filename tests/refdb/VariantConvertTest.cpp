// Field values converted into the forms a result set hands out: double, long, int, bool, text.
#include "refdb/VariantConvert.h"

#include <gtest/gtest.h>

using namespace frusta;

namespace {

Variant decimal(uint64_t lo, uint8_t scale, uint8_t sign) {
    Decimal d;
    d.lo64 = lo;
    d.scale = scale;
    d.sign = sign;
    return Variant::fromDecimal(d);
}

} // namespace

TEST(VariantConvert, NumberForms) {
    const struct {
        Variant v;
        double real;
        int32_t whole;
        int small;
    } cases[] = {
        {Variant::null(), 0, 0, 0},
        {Variant(), 0, 0, 0},
        {Variant::fromI2(-7), -7, -7, -7},
        {Variant::fromI4(333333333), 333333333, 333333333, 0x4355}, // low 16 bits
        {Variant::fromI4(70000), 70000, 70000, 0x1170},
        {Variant::fromInt(100000), 100000, 100000, 100000},
        {Variant::fromUI1(255), 255, 255, 255},
        {Variant::fromBool(true), 0, -1, -1},
        {Variant::fromR4(0.1f), static_cast<double>(0.1f), 0, 0},
        {Variant::fromR8(444.555), 444.555, 0, 0},
        {decimal(125, 2, 0x80), -1.25, 0, 0},
        // The whole 96-bit mantissa counts, not only its low 32 bits.
        {decimal(10000000000ULL, 0, 0), 1e10, 0, 0},
        {Variant::fromCurrency(35000), 0, 0, 0},
        {Variant::fromDate(27293.0), 0, 0, 0},
        {Variant::fromText("4.5"), 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.v.vt));
        EXPECT_DOUBLE_EQ(variantToDouble(c.v), c.real);
        EXPECT_EQ(variantToLong(c.v), c.whole);
        EXPECT_EQ(variantToInt(c.v), c.small);
    }
}

TEST(VariantConvert, BoolForm) {
    bool out = true;
    EXPECT_TRUE(variantToBool(Variant::null(), out));
    EXPECT_FALSE(out);
    EXPECT_TRUE(variantToBool(Variant::fromBool(true), out));
    EXPECT_TRUE(out);
    Variant odd = Variant::fromBool(true);
    odd.integer = 1; // only VARIANT_TRUE (-1) is true
    EXPECT_TRUE(variantToBool(odd, out));
    EXPECT_FALSE(out);
    out = true;
    EXPECT_FALSE(variantToBool(Variant::fromR8(1.0), out));
    EXPECT_FALSE(variantToBool(Variant::fromI2(-1), out));
    EXPECT_TRUE(out); // left unchanged
}

TEST(VariantConvert, TextForm) {
    const std::pair<Variant, const char*> cases[] = {
        {Variant::null(), ""},
        {Variant::fromText("DT0001"), "DT0001"},
        {Variant::fromI2(-32768), "-32768"},
        {Variant::fromI4(333333333), "333333333"},
        {Variant::fromR4(0.1f), "0.1000000015"},          // 10 significant digits
        {Variant::fromR8(0.1), "0.10000000000000000555"}, // 20 significant digits
        {Variant::fromR8(4.5), "4.5"},
        {decimal(125, 2, 0x80), "-1.25"},
        {Variant::fromBool(true), "T"},
        {Variant::fromBool(false), "F"},
        {Variant::fromDate(27293.0), "1974-09-21 00:00:00"},
    };
    for (const auto& [v, text] : cases) {
        std::string out = "x";
        EXPECT_TRUE(variantToText(v, "", out)) << text;
        EXPECT_EQ(out, text);
    }
    std::string out = "x";
    EXPECT_FALSE(variantToText(Variant::fromCurrency(35000), "", out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(variantToText(Variant::fromBytes({1, 2}), "", out));
}

TEST(VariantConvert, DatesFormatLikeAutomationDates) {
    std::string out;
    EXPECT_TRUE(variantToText(Variant::fromDate(27293.75), "%d-%b-%Y %H:%M", out));
    EXPECT_EQ(out, "21-Sep-1974 18:00");
    EXPECT_EQ(formatOleDate(0.0, ""), "1899-12-30 00:00:00");
    // Before the epoch the day counts back while the time still counts forward.
    EXPECT_EQ(formatOleDate(-1.25, ""), "1899-12-29 06:00:00");
    EXPECT_EQ(formatOleDate(2958465.0, "%Y-%m-%d"), "9999-12-31");
    EXPECT_EQ(formatOleDate(2958466.0, ""), "");
    EXPECT_EQ(formatOleDate(oleDateFromParts(2008, 3, 1, 12, 30, 15), ""), "2008-03-01 12:30:15");
    EXPECT_DOUBLE_EQ(oleDateFromParts(1899, 12, 29, 6, 0, 0), -1.25);
}

TEST(VariantConvert, DecimalTexts) {
    Decimal d;
    ASSERT_TRUE(parseDecimal("-12.345", d));
    EXPECT_EQ(d.sign, 0x80);
    EXPECT_EQ(d.scale, 3);
    EXPECT_EQ(d.lo64, 12345u);
    ASSERT_TRUE(parseDecimal("79228162514264337593543950335", d)); // 2^96 - 1
    EXPECT_EQ(d.hi32, 0xFFFFFFFFu);
    for (const char* bad : {"79228162514264337593543950336", "1e5", "", "-"})
        EXPECT_FALSE(parseDecimal(bad, d)) << bad;
}
