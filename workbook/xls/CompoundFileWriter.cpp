#include "workbook/xls/CompoundFileWriter.h"

#include "workbook/xls/LittleEndian.h"

#include <algorithm>

namespace frusta::xls {

namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kPerSector = kSector / 4;   // FAT entries in one sector
constexpr std::size_t kPerDifat = kPerSector - 1; // FAT sector numbers in a DIFAT sector
constexpr std::size_t kHeaderDifat = 109;         // FAT sector numbers in the header
constexpr std::size_t kMiniCutoff = 4096;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFree = 0xFFFFFFFF;
constexpr uint32_t kFatSect = 0xFFFFFFFD;
constexpr uint32_t kDifSect = 0xFFFFFFFC;

std::size_t ceilDiv(std::size_t a, std::size_t b) {
    return (a + b - 1) / b;
}

void writeEntry(uint8_t* p, const std::string& name, uint8_t type, uint32_t child, uint32_t start,
                uint32_t size) {
    for (std::size_t i = 0; i < name.size() && i < 31; ++i)
        put16(p + 2 * i, static_cast<uint8_t>(name[i]));
    put16(p + 64, name.empty() ? 0 : static_cast<uint32_t>(2 * (name.size() + 1)));
    p[66] = type;
    p[67] = 1; // black
    put32(p + 68, kFree);
    put32(p + 72, kFree);
    put32(p + 76, child);
    put32(p + 116, start);
    put32(p + 120, size);
}

} // namespace

std::vector<uint8_t> buildCompoundFile(const std::string& name, const std::vector<uint8_t>& data) {
    const std::size_t streamSize = std::max(data.size(), kMiniCutoff);
    const std::size_t streamSectors = ceilDiv(streamSize, kSector);
    const std::size_t dirSectors = 1; // root, the stream and two unused entries
    // The FAT must also cover its own sectors and the DIFAT sectors: find the fixed point.
    std::size_t fatSectors = 0, difatSectors = 0;
    for (;;) {
        const std::size_t total = streamSectors + dirSectors + fatSectors + difatSectors;
        const std::size_t needFat = ceilDiv(total, kPerSector);
        const std::size_t needDifat =
            needFat > kHeaderDifat ? ceilDiv(needFat - kHeaderDifat, kPerDifat) : 0;
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    // Layout: stream, directory, FAT, DIFAT.
    const uint32_t dirStart = static_cast<uint32_t>(streamSectors);
    const uint32_t fatStart = dirStart + static_cast<uint32_t>(dirSectors);
    const uint32_t difatStart = fatStart + static_cast<uint32_t>(fatSectors);
    const std::size_t total = difatStart + difatSectors;

    std::vector<uint32_t> fat(fatSectors * kPerSector, kFree);
    for (std::size_t i = 0; i + 1 < streamSectors; ++i)
        fat[i] = static_cast<uint32_t>(i + 1);
    fat[streamSectors - 1] = kEndOfChain;
    fat[dirStart] = kEndOfChain;
    for (std::size_t i = 0; i < fatSectors; ++i)
        fat[fatStart + i] = kFatSect;
    for (std::size_t i = 0; i < difatSectors; ++i)
        fat[difatStart + i] = kDifSect;

    std::vector<uint8_t> out((total + 1) * kSector, 0);
    uint8_t* h = out.data();
    static const uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::copy_n(kSignature, 8, h);
    put16(h + 24, 0x003E);
    put16(h + 26, 0x0003);
    put16(h + 28, 0xFFFE);
    put16(h + 30, 9);
    put16(h + 32, 6);
    put32(h + 44, static_cast<uint32_t>(fatSectors));
    put32(h + 48, dirStart);
    put32(h + 56, kMiniCutoff);
    put32(h + 60, kEndOfChain);
    put32(h + 68, difatSectors ? difatStart : kEndOfChain);
    put32(h + 72, static_cast<uint32_t>(difatSectors));
    for (std::size_t i = 0; i < kHeaderDifat; ++i)
        put32(h + 76 + 4 * i, i < fatSectors ? fatStart + static_cast<uint32_t>(i) : kFree);

    auto sector = [&](std::size_t s) { return out.data() + (s + 1) * kSector; };
    std::copy(data.begin(), data.end(), sector(0));
    uint8_t* dir = sector(dirStart);
    writeEntry(dir, "Root Entry", 5, 1, kEndOfChain, 0);
    writeEntry(dir + 128, name, 2, kFree, 0, static_cast<uint32_t>(streamSize));
    for (int i = 2; i < 4; ++i) {
        put32(dir + 128 * i + 68, kFree);
        put32(dir + 128 * i + 72, kFree);
        put32(dir + 128 * i + 76, kFree);
    }
    for (std::size_t i = 0; i < fat.size(); ++i)
        put32(sector(fatStart) + 4 * i, fat[i]);
    // DIFAT sectors: the FAT sector numbers after the first 109, chained.
    std::size_t next = kHeaderDifat;
    for (std::size_t d = 0; d < difatSectors; ++d) {
        uint8_t* p = sector(difatStart + d);
        for (std::size_t i = 0; i < kPerDifat; ++i, ++next)
            put32(p + 4 * i, next < fatSectors ? fatStart + static_cast<uint32_t>(next) : kFree);
        put32(p + 4 * kPerDifat,
              d + 1 < difatSectors ? difatStart + static_cast<uint32_t>(d + 1) : kEndOfChain);
    }
    return out;
}

} // namespace frusta::xls
