#pragma once
// Variant: a field value as it leaves a provider, standing in for the automation VARIANT.
// The type tag carries the VARTYPE codes, so conversions follow the same rules.
#include <cstdint>
#include <string>
#include <vector>

namespace frusta {

enum class VarType : uint16_t {
    Empty = 0,
    Null = 1,
    I2 = 2,
    I4 = 3,
    R4 = 4,
    R8 = 5,
    Cy = 6,   // currency: a 64-bit integer scaled by 10000
    Date = 7, // days since 30 December 1899, the time as the fraction
    Bstr = 8, // text (held as UTF-8)
    Bool = 11,
    Decimal = 14,
    I1 = 16,
    UI1 = 17,
    UI2 = 18,
    UI4 = 19,
    I8 = 20,
    UI8 = 21,
    Int = 22,
    UInt = 23,
    Bytes = 0x2011, // an array of unsigned bytes (binary data)
};

// A 96-bit scaled decimal: value = (-1 if sign is 0x80) * mantissa / 10^scale.
struct Decimal {
    uint8_t scale = 0;
    uint8_t sign = 0; // 0x80 when negative
    uint32_t hi32 = 0;
    uint64_t lo64 = 0;
};

struct Variant {
    VarType vt = VarType::Empty;
    int64_t integer = 0; // the integer types, Cy (scaled) and Bool (-1 or 0)
    double real = 0.0;   // R4 (the single's value), R8 and Date
    std::string text;    // Bstr
    std::vector<uint8_t> bytes;
    Decimal decimal;

    static Variant null();
    static Variant fromI2(int16_t v);
    static Variant fromI4(int32_t v);
    static Variant fromI8(int64_t v);
    static Variant fromInt(int32_t v);
    static Variant fromUI1(uint8_t v);
    static Variant fromR4(float v);
    static Variant fromR8(double v);
    static Variant fromBool(bool v);
    static Variant fromText(std::string v);
    static Variant fromDate(double oleDate);
    static Variant fromCurrency(int64_t scaledBy10000);
    static Variant fromDecimal(const Decimal& v);
    static Variant fromBytes(std::vector<uint8_t> v);

    bool isNull() const { return vt == VarType::Empty || vt == VarType::Null; }
    bool operator==(const Variant& other) const;
};

// Parses a decimal text ("-12.345", up to 28 significant digits) into a Decimal; false when
// the text is not a plain decimal number or does not fit.
bool parseDecimal(const std::string& text, Decimal& out);

} // namespace frusta
