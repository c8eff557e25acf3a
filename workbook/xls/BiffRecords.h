#pragma once
// BIFF record types and constants used by the reader (BIFF2 to BIFF8) and the writer (BIFF8).
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace frusta::xls::rec {

constexpr uint16_t Formula = 0x0006;
constexpr uint16_t Eof = 0x000A;
constexpr uint16_t DateMode = 0x0022;
constexpr uint16_t FilePass = 0x002F;
constexpr uint16_t Font = 0x0031;
constexpr uint16_t Continue = 0x003C;
constexpr uint16_t Window1 = 0x003D;
constexpr uint16_t CodePage = 0x0042;
constexpr uint16_t BoundSheet = 0x0085;
constexpr uint16_t MulRk = 0x00BD;
constexpr uint16_t MulBlank = 0x00BE;
constexpr uint16_t RString = 0x00D6;
constexpr uint16_t Xf = 0x00E0;
constexpr uint16_t Sst = 0x00FC;
constexpr uint16_t LabelSst = 0x00FD;
constexpr uint16_t ExtSst = 0x00FF;
constexpr uint16_t Dimensions = 0x0200;
constexpr uint16_t Blank = 0x0201;
constexpr uint16_t Number = 0x0203;
constexpr uint16_t Label = 0x0204;
constexpr uint16_t BoolErr = 0x0205;
constexpr uint16_t String = 0x0207;
constexpr uint16_t Window2 = 0x023E;
constexpr uint16_t Rk = 0x027E;
constexpr uint16_t Style = 0x0293;
constexpr uint16_t Format = 0x041E;
constexpr uint16_t Bof = 0x0809;
// BOF records of the older versions (BIFF2, BIFF3, BIFF4).
constexpr uint16_t Bof2 = 0x0009;
constexpr uint16_t Bof3 = 0x0209;
constexpr uint16_t Bof4 = 0x0409;

// Records of BIFF2 to BIFF4 only: the BIFF2 cell records (a 3-byte cell attribute block
// in place of the XF index), the formats and cell formats of BIFF2 to BIFF4, and the
// sheet headers of the BIFF4 workbook form.
constexpr uint16_t Blank2 = 0x0001;
constexpr uint16_t Integer2 = 0x0002;
constexpr uint16_t Number2 = 0x0003;
constexpr uint16_t Label2 = 0x0004;
constexpr uint16_t BoolErr2 = 0x0005;
constexpr uint16_t String2 = 0x0007;
constexpr uint16_t Format2 = 0x001E; // BIFF2, BIFF3: no format index
constexpr uint16_t Xf2 = 0x0043;
constexpr uint16_t Ixfe = 0x0044; // BIFF2: the XF index of cells whose attribute says 63
constexpr uint16_t Xf3 = 0x0243;
constexpr uint16_t Xf4 = 0x0443;
constexpr uint16_t Formula3 = 0x0206;
constexpr uint16_t Formula4 = 0x0406;
constexpr uint16_t SheetHdr = 0x008F; // BIFF4W: the size and name of the sheet that follows

// The stream type of the BOF record of the BIFF4 workbook form's globals.
constexpr uint16_t kGlobals4W = 0x0100;

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kBiff5 = 0x0500;
constexpr uint16_t kGlobals = 0x0005;
constexpr uint16_t kWorksheet = 0x0010;

// Largest record body; longer data goes on in CONTINUE records.
constexpr std::size_t kMaxRecordBody = 8224;

// Decodes an RK number: a 30-bit integer or the high 30 bits of a double, optionally
// divided by 100.
inline double decodeRk(uint32_t rk) {
    double v;
    if (rk & 0x02) {
        v = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 0x01) ? v / 100.0 : v;
}

} // namespace frusta::xls::rec
