#pragma once
// Builders of BIFF8 records and workbook streams for the .xls reader tests.
#include "workbook/Book.h"
#include "workbook/xls/CompoundFileWriter.h"
#include "workbook/xls/XlsCodec.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace frusta::xlstest {

using Bytes = std::vector<uint8_t>;

// A record body built field by field.
struct Body {
    Bytes b;
    Body& u8(uint32_t v) {
        b.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Body& u16(uint32_t v) { return u8(v).u8(v >> 8); }
    Body& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Body& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
    }
    Body& raw(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    // An XLUnicodeString with a 16-bit count, compressed.
    Body& str(const std::string& latin1) { return u16(latin1.size()).u8(0).raw(latin1); }
};

struct Rec {
    uint16_t type;
    Bytes body;
};

inline Rec rec(uint16_t type, const Body& body) {
    return {type, body.b};
}

inline void append(Bytes& s, const Rec& r) {
    s.push_back(static_cast<uint8_t>(r.type));
    s.push_back(static_cast<uint8_t>(r.type >> 8));
    s.push_back(static_cast<uint8_t>(r.body.size()));
    s.push_back(static_cast<uint8_t>(r.body.size() >> 8));
    s.insert(s.end(), r.body.begin(), r.body.end());
}

inline Rec bof(uint16_t kind, uint16_t version = 0x0600) {
    return rec(0x0809, Body().u16(version).u16(kind).u16(0x0DBB).u16(0x07CC).u32(0).u32(6));
}

inline Rec eof() {
    return {0x000A, {}};
}

// Cell record headers.
inline Body cell(uint32_t row, uint32_t col, uint32_t xf = 15) {
    return Body().u16(row).u16(col).u16(xf);
}

// A workbook stream: globals with `globals` records and one BOUNDSHEET per sheet (names
// S1, S2, ...), then each sheet's substream. `kinds` gives the BOUNDSHEET sheet type of
// each sheet (0 worksheet, 2 chart), worksheets by default.
inline Bytes makeStream(const std::vector<Rec>& globals,
                        const std::vector<std::vector<Rec>>& sheets,
                        const std::vector<uint8_t>& kinds = {}) {
    Bytes s;
    append(s, bof(0x0005));
    for (const Rec& r : globals)
        append(s, r);
    std::vector<std::size_t> fields;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        fields.push_back(s.size() + 4);
        const std::string name = "S" + std::to_string(i + 1);
        const uint8_t kind = i < kinds.size() ? kinds[i] : 0;
        append(s, rec(0x0085, Body().u32(0).u8(0).u8(kind).u8(name.size()).u8(0).raw(name)));
    }
    append(s, eof());
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const auto at = static_cast<uint32_t>(s.size());
        std::memcpy(&s[fields[i]], &at, 4);
        append(s, bof(i < kinds.size() && kinds[i] == 2 ? 0x0020 : 0x0010));
        for (const Rec& r : sheets[i])
            append(s, r);
        append(s, eof());
    }
    return s;
}

inline bool loadStream(const Bytes& stream, Book& book, std::string& error,
                       const std::string& name = "Workbook") {
    const Bytes file = xls::buildCompoundFile(name, stream);
    return xls::loadMemory(file, book, error);
}

} // namespace frusta::xlstest
