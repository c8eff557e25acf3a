#include "refdb/VariantConvert.h"

#include <gtest/gtest.h>

using namespace frusta;

namespace {

Variant decimal(uint64_t lo, uint32_t hi, uint8_t scale, uint8_t sign) {
    Decimal d;
    d.lo64 = lo;
    d.hi32 = hi;
    d.scale = scale;
    d.sign = sign;
    return Variant::fromDecimal(d);
}

} // namespace

TEST(VariantConvert, DoubleForm) {
    EXPECT_EQ(variantToDouble(Variant::null()), 0.0);
    EXPECT_EQ(variantToDouble(Variant()), 0.0);
    EXPECT_EQ(variantToDouble(Variant::fromI2(-7)), -7.0);
    EXPECT_EQ(variantToDouble(Variant::fromI4(333333333)), 333333333.0);
    EXPECT_EQ(variantToDouble(Variant::fromInt(-12)), -12.0);
    EXPECT_EQ(variantToDouble(Variant::fromUI1(200)), 200.0);
    EXPECT_EQ(variantToDouble(Variant::fromR4(0.1f)), static_cast<double>(0.1f));
    EXPECT_EQ(variantToDouble(Variant::fromR8(444.555)), 444.555);
    EXPECT_DOUBLE_EQ(variantToDouble(decimal(125, 0, 2, 0x80)), -1.25);
    // The whole 96-bit mantissa counts, not only its low 32 bits.
    EXPECT_DOUBLE_EQ(variantToDouble(decimal(10000000000ULL, 0, 0, 0)), 1e10);
    EXPECT_EQ(variantToDouble(Variant::fromCurrency(35000)), 0.0);
    EXPECT_EQ(variantToDouble(Variant::fromDate(27293.0)), 0.0);
    EXPECT_EQ(variantToDouble(Variant::fromText("4.5")), 0.0);
    EXPECT_EQ(variantToDouble(Variant::fromBool(true)), 0.0);
}

TEST(VariantConvert, IntegerForms) {
    EXPECT_EQ(variantToLong(Variant::null()), 0);
    EXPECT_EQ(variantToLong(Variant::fromI4(-333333333)), -333333333);
    EXPECT_EQ(variantToLong(Variant::fromI2(-5)), -5);
    EXPECT_EQ(variantToLong(Variant::fromR8(3.0)), 0);

    EXPECT_EQ(variantToInt(Variant::null()), 0);
    EXPECT_EQ(variantToInt(Variant::fromI2(222)), 222);
    EXPECT_EQ(variantToInt(Variant::fromInt(100000)), 100000);
    EXPECT_EQ(variantToInt(Variant::fromUI1(255)), 255);
    EXPECT_EQ(variantToInt(Variant::fromBool(true)), -1);
    EXPECT_EQ(variantToInt(Variant::fromBool(false)), 0);
    // Other integer types give their 16-bit part: 70000 = 0x11170 -> 0x1170.
    EXPECT_EQ(variantToInt(Variant::fromI4(70000)), 0x1170);
    EXPECT_EQ(variantToInt(Variant::fromR8(2.0)), 0);
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
    EXPECT_TRUE(out); // left unchanged
    EXPECT_FALSE(variantToBool(Variant::fromI2(-1), out));
}

TEST(VariantConvert, TextForm) {
    std::string out = "x";
    EXPECT_TRUE(variantToText(Variant::null(), "", out));
    EXPECT_EQ(out, "");
    EXPECT_TRUE(variantToText(Variant::fromText("DT0001"), "", out));
    EXPECT_EQ(out, "DT0001");
    EXPECT_TRUE(variantToText(Variant::fromI2(-32768), "", out));
    EXPECT_EQ(out, "-32768");
    EXPECT_TRUE(variantToText(Variant::fromI4(333333333), "", out));
    EXPECT_EQ(out, "333333333");
    EXPECT_TRUE(variantToText(Variant::fromUI1(2), "", out));
    EXPECT_EQ(out, "2");
    EXPECT_TRUE(variantToText(Variant::fromR4(0.1f), "", out));
    EXPECT_EQ(out, "0.1000000015"); // 10 significant digits
    EXPECT_TRUE(variantToText(Variant::fromR8(0.1), "", out));
    EXPECT_EQ(out, "0.10000000000000000555"); // 20 significant digits
    EXPECT_TRUE(variantToText(Variant::fromR8(4.5), "", out));
    EXPECT_EQ(out, "4.5");
    EXPECT_TRUE(variantToText(decimal(125, 0, 2, 0x80), "", out));
    EXPECT_EQ(out, "-1.25");
    EXPECT_TRUE(variantToText(Variant::fromBool(true), "", out));
    EXPECT_EQ(out, "T");
    EXPECT_TRUE(variantToText(Variant::fromBool(false), "", out));
    EXPECT_EQ(out, "F");
    EXPECT_FALSE(variantToText(Variant::fromCurrency(35000), "", out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(variantToText(Variant::fromBytes({1, 2}), "", out));
}

TEST(VariantConvert, DatesFormatLikeAutomationDates) {
    std::string out;
    EXPECT_TRUE(variantToText(Variant::fromDate(27293.0), "", out));
    EXPECT_EQ(out, "1974-09-21 00:00:00");
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
    EXPECT_FALSE(parseDecimal("79228162514264337593543950336", d));
    EXPECT_FALSE(parseDecimal("1e5", d));
    EXPECT_FALSE(parseDecimal("", d));
    EXPECT_FALSE(parseDecimal("-", d));
}
