#include "workbook/xls/XlsText.h"

#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <unordered_map>

namespace frusta::xls {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// Windows-1252 characters 0x80-0x9F; the other bytes are Latin-1.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isSingleByteWindowsPage(int cp) {
    return cp == 874 || (cp >= 1250 && cp <= 1258) || cp == 437 || cp == 850 || cp == 852 ||
           cp == 866 || (cp >= 28592 && cp <= 28605);
}

// The code points of bytes 0x80-0xFF in code page `cp`, through iconv; false when unknown.
bool fillFromIconv(int cp, std::array<uint32_t, 256>& table) {
    const std::string from =
        cp >= 28591 ? "ISO-8859-" + std::to_string(cp - 28590) : "CP" + std::to_string(cp);
    iconv_t cd = iconv_open("UTF-32LE", from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    for (int b = 0x80; b < 0x100; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* inp = &in;
        char* outp = reinterpret_cast<char*>(out);
        std::size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1) ||
            outLeft != 4)
            table[b] = kReplacement;
        else
            table[b] =
                out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<uint32_t>(out[3]) << 24);
    }
    iconv_close(cd);
    return true;
}

const iconv_t kNoIconv = reinterpret_cast<iconv_t>(-1);

// How the bytes 0x80-0xFF of a code page convert one by one.
enum class PageKind { Unknown, SingleByte, MultiByte };

PageKind probePage(const std::string& name, std::array<uint32_t, 256>& table) {
    iconv_t cd = iconv_open("UTF-32LE", name.c_str());
    if (cd == kNoIconv)
        return PageKind::Unknown;
    PageKind kind = PageKind::SingleByte;
    for (int b = 0x80; b < 0x100 && kind == PageKind::SingleByte; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* inp = &in;
        char* outp = reinterpret_cast<char*>(out);
        std::size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1)) {
            if (errno == EINVAL)
                kind = PageKind::MultiByte; // a lead byte waiting for its trail byte
            else
                table[b] = kReplacement;
        } else {
            table[b] = outLeft == 4 ? out[0] | (out[1] << 8) | (out[2] << 16) |
                                          (static_cast<uint32_t>(out[3]) << 24)
                                    : kReplacement;
        }
    }
    iconv_close(cd);
    return kind;
}

void fillCp1252(std::array<uint32_t, 256>& table) {
    for (uint32_t b = 0; b < 256; ++b)
        table[b] = b;
    for (uint32_t b = 0; b < 32; ++b)
        table[0x80 + b] = kCp1252High[b];
}

} // namespace

std::string iconvNameOfCodePage(int cp) {
    switch (cp) {
    case 367:
        return "ASCII";
    case 10000:
    case 32768:
        return "MACINTOSH";
    case 10006:
        return "MACGREEK";
    case 10007:
        return "MAC-CYRILLIC";
    case 10029:
        return "MAC-CENTRALEUROPE";
    case 10079:
        return "MAC-IS";
    case 10081:
        return "MACTURKISH";
    case 32769:
        return "CP1252";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (cp >= 28591 && cp <= 28606)
        return "ISO-8859-" + std::to_string(cp - 28590);
    if (cp >= 300 && cp <= 1999 && cp != 1200 && cp != 1201)
        return "CP" + std::to_string(cp);
    return {};
}

ByteTextDecoder::ByteTextDecoder(int codePage) : codePage_(codePage) {
    fillCp1252(table_);
    if (codePage == 1252)
        return;
    const std::string name = iconvNameOfCodePage(codePage);
    if (name.empty())
        return;
    // What iconv makes of a page is asked once per process: a book may name its code page
    // many times.
    struct Probe {
        PageKind kind;
        std::array<uint32_t, 256> table;
    };
    static std::mutex mutex;
    static std::unordered_map<int, Probe> probes;
    Probe probe;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        auto it = probes.find(codePage);
        if (it == probes.end()) {
            for (uint32_t b = 0; b < 256; ++b)
                probe.table[b] = b;
            probe.kind = probePage(name, probe.table);
            it = probes.emplace(codePage, probe).first;
        }
        probe = it->second;
    }
    switch (probe.kind) {
    case PageKind::Unknown:
        break;
    case PageKind::SingleByte:
        table_ = probe.table;
        break;
    case PageKind::MultiByte:
        if (iconv_t cd = iconv_open("UTF-8", name.c_str()); cd != kNoIconv)
            multiByte_ =
                std::shared_ptr<void>(cd, [](void* d) { iconv_close(static_cast<iconv_t>(d)); });
        break;
    }
}

void ByteTextDecoder::append(const uint8_t* p, std::size_t n, std::string& out) const {
    if (!multiByte_) {
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] < 0x80)
                out.push_back(static_cast<char>(p[i]));
            else
                appendUtf8(table_[p[i]], out);
        }
        return;
    }
    iconv_t cd = static_cast<iconv_t>(multiByte_.get());
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = reinterpret_cast<char*>(const_cast<uint8_t*>(p));
    std::size_t inLeft = n;
    char buffer[256];
    while (inLeft > 0) {
        char* outp = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &outp, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outp - buffer));
        if (r != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // A byte that begins no character, or a character cut off by the end of the text.
        appendUtf8(kReplacement, out);
        if (errno == EINVAL)
            break;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    // Shift states end with the text (none of the Windows pages has any).
    char* outp = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outp, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outp - buffer));
}

void appendUtf8(uint32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

CharDecoder::CharDecoder(int codePage) {
    for (uint32_t b = 0; b < 256; ++b)
        table_[b] = b;
    if (codePage == 1252) {
        for (uint32_t b = 0; b < 32; ++b)
            table_[0x80 + b] = kCp1252High[b];
    } else if (isSingleByteWindowsPage(codePage)) {
        std::array<uint32_t, 256> t = table_;
        if (fillFromIconv(codePage, t))
            table_ = t;
    }
}

void CharDecoder::appendCompressed(const uint8_t* p, std::size_t n, std::string& out) const {
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] < 0x80)
            out.push_back(static_cast<char>(p[i]));
        else
            appendUtf8(table_[p[i]], out);
    }
}

void CharDecoder::appendUtf16(const uint8_t* p, std::size_t n, std::string& out,
                              uint32_t& pendingHigh) const {
    for (std::size_t i = 0; i < n; ++i) {
        const uint32_t u = p[2 * i] | (p[2 * i + 1] << 8);
        if (pendingHigh) {
            if (u >= 0xDC00 && u <= 0xDFFF) {
                appendUtf8(0x10000 + ((pendingHigh - 0xD800) << 10) + (u - 0xDC00), out);
                pendingHigh = 0;
                continue;
            }
            appendUtf8(kReplacement, out);
            pendingHigh = 0;
        }
        if (u < 0x80)
            out.push_back(static_cast<char>(u));
        else if (u >= 0xD800 && u <= 0xDBFF)
            pendingHigh = u;
        else if (u >= 0xDC00 && u <= 0xDFFF)
            appendUtf8(kReplacement, out);
        else
            appendUtf8(u, out);
    }
}

void CharDecoder::finish(std::string& out, uint32_t& pendingHigh) {
    if (pendingHigh)
        appendUtf8(kReplacement, out);
    pendingHigh = 0;
}

std::u16string utf8ToUtf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = s[i];
        uint32_t c = kReplacement;
        std::size_t len = 1;
        if (b < 0x80) {
            c = b;
        } else {
            const std::size_t need = b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
            if (need && i + need <= n) {
                uint32_t v = b & (0x7F >> need);
                bool ok = true;
                for (std::size_t k = 1; k < need && ok; ++k) {
                    ok = (s[i + k] & 0xC0) == 0x80;
                    v = (v << 6) | (s[i + k] & 0x3F);
                }
                const uint32_t min = need == 2 ? 0x80 : need == 3 ? 0x800 : 0x10000;
                if (ok && v >= min && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
                    c = v;
                    len = need;
                }
            }
        }
        i += len;
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

} // namespace frusta::xls
