#pragma once
// Little-endian field access for the compound-file and BIFF readers and writers.
#include <cstdint>
#include <cstring>
#include <vector>

namespace frusta::xls {

inline uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t le64(const uint8_t* p) {
    return static_cast<uint64_t>(le32(p)) | (static_cast<uint64_t>(le32(p + 4)) << 32);
}

inline double leDouble(const uint8_t* p) {
    const uint64_t bits = le64(p);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

inline void put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void put32(uint8_t* p, uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

// Appends little-endian fields to a byte buffer.
class ByteSink {
public:
    explicit ByteSink(std::vector<uint8_t>& out) : out_(out) {}
    void u8(uint32_t v) { out_.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(static_cast<uint32_t>(bits));
        u32(static_cast<uint32_t>(bits >> 32));
    }
    void bytes(const uint8_t* p, std::size_t n) { out_.insert(out_.end(), p, p + n); }
    void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
    std::size_t size() const { return out_.size(); }

private:
    std::vector<uint8_t>& out_;
};

} // namespace frusta::xls
