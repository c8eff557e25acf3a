#include "refdb/RowSetCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>

namespace frusta {

namespace {

// Leading bytes that tell the two kinds of message apart from each other and from noise.
constexpr uint32_t kNamesTag = 0x4E4D5331;  // "NMS1"
constexpr uint32_t kRowSetTag = 0x52535431; // "RST1"

class ByteWriter {
public:
    template <typename T> void number(T v) {
        static_assert(std::is_arithmetic_v<T>);
        char raw[sizeof v];
        std::memcpy(raw, &v, sizeof v);
        out_.append(raw, sizeof v);
    }
    void text(std::string_view s) {
        number<uint64_t>(s.size());
        out_.append(s);
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

class ByteReader {
public:
    explicit ByteReader(std::string_view in) : in_(in) {}

    template <typename T> T number() {
        static_assert(std::is_arithmetic_v<T>);
        T v;
        std::memcpy(&v, take(sizeof v).data(), sizeof v);
        return v;
    }
    std::string text() { return std::string(take(count(1))); }
    // A count of items that each take at least `minBytes` of what is left.
    std::size_t count(std::size_t minBytes) {
        const auto n = number<uint64_t>();
        if (n > remaining() / minBytes)
            throw RowSetDecodeError("a count runs past the end");
        return static_cast<std::size_t>(n);
    }
    std::size_t remaining() const { return in_.size() - at_; }
    void expectEnd() const {
        if (remaining() != 0)
            throw RowSetDecodeError("bytes follow the end");
    }

private:
    std::string_view take(std::size_t n) {
        if (n > remaining())
            throw RowSetDecodeError("the bytes are cut short");
        const auto part = in_.substr(at_, n);
        at_ += n;
        return part;
    }

    std::string_view in_;
    std::size_t at_ = 0;
};

enum class Payload { None, Integer, Real, Text, Bytes, Decimal };

// Which member of a Variant carries the value of each type; nothing for an unknown type.
std::optional<Payload> payloadOf(VarType vt) {
    switch (vt) {
    case VarType::Empty:
    case VarType::Null:
        return Payload::None;
    case VarType::I2:
    case VarType::I4:
    case VarType::Cy:
    case VarType::Bool:
    case VarType::I1:
    case VarType::UI1:
    case VarType::UI2:
    case VarType::UI4:
    case VarType::I8:
    case VarType::UI8:
    case VarType::Int:
    case VarType::UInt:
        return Payload::Integer;
    case VarType::R4:
    case VarType::R8:
    case VarType::Date:
        return Payload::Real;
    case VarType::Bstr:
        return Payload::Text;
    case VarType::Bytes:
        return Payload::Bytes;
    case VarType::Decimal:
        return Payload::Decimal;
    }
    return std::nullopt;
}

void writeValue(ByteWriter& w, const Variant& v) {
    const auto payload = payloadOf(v.vt);
    if (!payload)
        throw std::invalid_argument("a value has an unknown type");
    w.number(static_cast<uint16_t>(v.vt));
    switch (*payload) {
    case Payload::None:
        break;
    case Payload::Integer:
        w.number(v.integer);
        break;
    case Payload::Real:
        w.number(v.real);
        break;
    case Payload::Text:
        w.text(v.text);
        break;
    case Payload::Bytes:
        w.text(std::string_view(reinterpret_cast<const char*>(v.bytes.data()), v.bytes.size()));
        break;
    case Payload::Decimal:
        w.number(v.decimal.scale);
        w.number(v.decimal.sign);
        w.number(v.decimal.hi32);
        w.number(v.decimal.lo64);
        break;
    }
}

Variant readValue(ByteReader& r) {
    Variant v;
    v.vt = static_cast<VarType>(r.number<uint16_t>());
    const auto payload = payloadOf(v.vt);
    if (!payload)
        throw RowSetDecodeError("a value has an unknown type");
    switch (*payload) {
    case Payload::None:
        break;
    case Payload::Integer:
        v.integer = r.number<int64_t>();
        break;
    case Payload::Real:
        v.real = r.number<double>();
        break;
    case Payload::Text:
        v.text = r.text();
        break;
    case Payload::Bytes: {
        const std::string raw = r.text();
        v.bytes.assign(raw.begin(), raw.end());
        break;
    }
    case Payload::Decimal:
        v.decimal.scale = r.number<uint8_t>();
        v.decimal.sign = r.number<uint8_t>();
        v.decimal.hi32 = r.number<uint32_t>();
        v.decimal.lo64 = r.number<uint64_t>();
        break;
    }
    return v;
}

bool withinLimit(std::size_t rows, std::size_t fields) {
    return rows <= kMaxRowSetValues && (fields == 0 || rows <= kMaxRowSetValues / fields);
}

void expectTag(ByteReader& r, uint32_t tag) {
    if (r.number<uint32_t>() != tag)
        throw RowSetDecodeError("the bytes are of another kind");
}

} // namespace

std::string encodeNames(const std::vector<std::string>& names) {
    ByteWriter w;
    w.number(kNamesTag);
    w.number<uint64_t>(names.size());
    for (const auto& n : names)
        w.text(n);
    return w.take();
}

std::vector<std::string> decodeNames(std::string_view bytes) {
    ByteReader r(bytes);
    expectTag(r, kNamesTag);
    std::vector<std::string> names(r.count(sizeof(uint64_t)));
    for (auto& n : names)
        n = r.text();
    r.expectEnd();
    return names;
}

std::string encodeRowSet(const RowSet& rows) {
    if (!withinLimit(rows.rows.size(), rows.fields.size()))
        throw std::invalid_argument("the rows hold too many values");
    ByteWriter w;
    w.number(kRowSetTag);
    w.number<uint64_t>(rows.fields.size());
    for (const auto& f : rows.fields) {
        w.text(f.name);
        w.number(f.type);
        w.number(f.definedSize);
        w.number(f.attributes);
    }
    w.number<uint64_t>(rows.rows.size());
    for (const auto& row : rows.rows) {
        if (row.size() != rows.fields.size())
            throw std::invalid_argument("a row does not hold one value per field");
        for (const auto& v : row)
            writeValue(w, v);
    }
    return w.take();
}

RowSet decodeRowSet(std::string_view bytes) {
    ByteReader r(bytes);
    expectTag(r, kRowSetTag);
    constexpr std::size_t kFieldBytes = sizeof(uint64_t) + sizeof(int16_t) + 2 * sizeof(int32_t);
    RowSet out;
    out.fields.resize(r.count(kFieldBytes));
    for (auto& f : out.fields) {
        f.name = r.text();
        f.type = r.number<int16_t>();
        f.definedSize = r.number<int32_t>();
        f.attributes = r.number<int32_t>();
    }
    const std::size_t nFields = out.fields.size();
    // Every value takes at least its type code, so a row of fields needs that many bytes; a
    // set without fields holds rows of nothing and is bounded by the limit alone.
    const std::size_t rowBytes = std::max<std::size_t>(1, nFields * sizeof(uint16_t));
    const auto nRows = r.number<uint64_t>();
    if (nFields != 0 && nRows > r.remaining() / rowBytes)
        throw RowSetDecodeError("a count runs past the end");
    if (!withinLimit(nRows, nFields))
        throw RowSetDecodeError("the rows hold too many values");
    out.rows.resize(static_cast<std::size_t>(nRows));
    for (auto& row : out.rows) {
        row.reserve(nFields);
        for (std::size_t c = 0; c < nFields; ++c)
            row.push_back(readValue(r));
    }
    r.expectEnd();
    return out;
}

} // namespace frusta
