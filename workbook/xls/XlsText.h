#pragma once
// Character conversion for BIFF strings: UTF-16LE and 8-bit "compressed" characters of
// BIFF8 to UTF-8, the 8-bit texts of BIFF2 to BIFF7 from the book's code page to UTF-8,
// and UTF-8 to UTF-16 for writing.
#include <array>
#include <cstdint>
#include <memory>
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

// Decodes the 8-bit texts of a BIFF2 to BIFF7 book, which are in the code page that its
// CODEPAGE record names, through iconv: single-byte pages by a table, multi-byte pages
// (932, 936, 949, 950, 65001 and the like) string by string. A code page that iconv does
// not know, and a book without CODEPAGE record, are read as Windows-1252. Bytes that are
// no character of the page become U+FFFD.
class ByteTextDecoder {
public:
    explicit ByteTextDecoder(int codePage = 1252);

    void append(const uint8_t* p, std::size_t n, std::string& out) const;
    int codePage() const { return codePage_; }

private:
    int codePage_;
    std::array<uint32_t, 256> table_{};
    std::shared_ptr<void> multiByte_; // iconv descriptor to UTF-8, for multi-byte pages
};

// The iconv name of a Windows code page number, empty when there is none.
std::string iconvNameOfCodePage(int codePage);

// UTF-16 code units of a UTF-8 text; invalid bytes become U+FFFD.
std::u16string utf8ToUtf16(const std::string& text);

} // namespace frusta::xls
