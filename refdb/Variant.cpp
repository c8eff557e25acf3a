#include "refdb/Variant.h"

namespace frusta {

namespace {

Variant make(VarType vt) {
    Variant v;
    v.vt = vt;
    return v;
}

Variant makeInteger(VarType vt, int64_t value) {
    Variant v = make(vt);
    v.integer = value;
    return v;
}

Variant makeReal(VarType vt, double value) {
    Variant v = make(vt);
    v.real = value;
    return v;
}

} // namespace

Variant Variant::null() {
    return make(VarType::Null);
}
Variant Variant::fromI2(int16_t v) {
    return makeInteger(VarType::I2, v);
}
Variant Variant::fromI4(int32_t v) {
    return makeInteger(VarType::I4, v);
}
Variant Variant::fromI8(int64_t v) {
    return makeInteger(VarType::I8, v);
}
Variant Variant::fromInt(int32_t v) {
    return makeInteger(VarType::Int, v);
}
Variant Variant::fromUI1(uint8_t v) {
    return makeInteger(VarType::UI1, v);
}
Variant Variant::fromR4(float v) {
    return makeReal(VarType::R4, v);
}
Variant Variant::fromR8(double v) {
    return makeReal(VarType::R8, v);
}
Variant Variant::fromBool(bool v) {
    return makeInteger(VarType::Bool, v ? -1 : 0);
}
Variant Variant::fromDate(double oleDate) {
    return makeReal(VarType::Date, oleDate);
}
Variant Variant::fromCurrency(int64_t scaled) {
    return makeInteger(VarType::Cy, scaled);
}

Variant Variant::fromText(std::string v) {
    Variant out = make(VarType::Bstr);
    out.text = std::move(v);
    return out;
}

Variant Variant::fromDecimal(const Decimal& v) {
    Variant out = make(VarType::Decimal);
    out.decimal = v;
    return out;
}

Variant Variant::fromBytes(std::vector<uint8_t> v) {
    Variant out = make(VarType::Bytes);
    out.bytes = std::move(v);
    return out;
}

bool Variant::operator==(const Variant& o) const {
    return vt == o.vt && integer == o.integer && real == o.real && text == o.text &&
           bytes == o.bytes && decimal.scale == o.decimal.scale && decimal.sign == o.decimal.sign &&
           decimal.hi32 == o.decimal.hi32 && decimal.lo64 == o.decimal.lo64;
}

bool parseDecimal(const std::string& text, Decimal& out) {
    std::size_t i = 0;
    Decimal d;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        d.sign = text[i++] == '-' ? 0x80 : 0;
    unsigned __int128 mantissa = 0;
    const unsigned __int128 limit = (static_cast<unsigned __int128>(1) << 96) - 1;
    int digits = 0;
    bool afterPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !afterPoint) {
            afterPoint = true;
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
        if (mantissa > limit)
            return false;
        ++digits;
        if (afterPoint && ++d.scale > 28)
            return false;
    }
    if (digits == 0)
        return false;
    d.lo64 = static_cast<uint64_t>(mantissa);
    d.hi32 = static_cast<uint32_t>(mantissa >> 64);
    out = d;
    return true;
}

} // namespace frusta
