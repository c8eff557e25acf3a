#pragma once
// Character conversion for BIFF8 strings: UTF-16LE and 8-bit "compressed" characters to
// UTF-8, and UTF-8 to UTF-16 for writing.
#include <array>
#include <cstdint>
#include <string>

namespace frusta::xls {

void appendUtf8(uint32_t codePoint, std::string& out);

// Decodes the characters of one book. Compressed strings hold the low bytes of UTF-16
// characters (Latin-1); a book that declares a single-byte Windows code page (1252 and the
// like) is taken to hold characters of that code page instead, as some writers do.
class CharDecoder {
public:
    explicit CharDecoder(int codePage = 1200);

    void appendCompressed(const uint8_t* p, std::size_t n, std::string& out) const;
    // Appends `n` UTF-16LE characters. `pendingHigh` carries a high surrogate across calls,
    // for strings split over CONTINUE records; call finish() at the end of each string.
    void appendUtf16(const uint8_t* p, std::size_t n, std::string& out,
                     uint32_t& pendingHigh) const;
    static void finish(std::string& out, uint32_t& pendingHigh);

private:
    std::array<uint32_t, 256> table_{};
};

// UTF-16 code units of a UTF-8 text; invalid bytes become U+FFFD.
std::u16string utf8ToUtf16(const std::string& text);

} // namespace frusta::xls
