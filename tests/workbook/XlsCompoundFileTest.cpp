// The OLE2 compound file: written and read back, and damaged in the ways crafted files are.
#include "workbook/xls/CompoundFileReader.h"
#include "workbook/xls/CompoundFileWriter.h"

#include <gtest/gtest.h>

#include <cstring>

namespace frusta::xls {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes pattern(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return b;
}

// Reads stream "Workbook"; the error, or "" on success with the data in `out`.
std::string readBack(const Bytes& file, Bytes& out) {
    CompoundFileReader reader;
    std::string error;
    if (!reader.open(file, error))
        return error;
    const int entry = reader.findStream("workbook");
    if (entry < 0)
        return "no stream";
    return reader.readStream(entry, out, error) ? "" : error;
}

void set32(Bytes& b, std::size_t at, uint32_t v) {
    std::memcpy(&b[at], &v, 4);
}
std::size_t sectorAt(uint32_t s) {
    return (s + 1) * 512;
}

TEST(XlsCompoundFile, StreamsOfEverySizeReadBack) {
    // Small streams are padded to 4096 bytes; 8 MB needs DIFAT sectors beyond the header's
    // 109 FAT sector numbers.
    for (std::size_t size : {std::size_t(100), std::size_t(5000), std::size_t(8) << 20}) {
        const Bytes data = pattern(size);
        Bytes out;
        EXPECT_EQ(readBack(buildCompoundFile("Workbook", data), out), "") << size;
        ASSERT_EQ(out.size(), std::max<std::size_t>(size, 4096));
        EXPECT_TRUE(std::equal(data.begin(), data.end(), out.begin())) << size;
    }
}

TEST(XlsCompoundFile, DamagedFilesFailWithAReason) {
    // 5000 bytes: stream in sectors 0-9, directory in 10, FAT in 11.
    const Bytes good = buildCompoundFile("Workbook", pattern(5000));
    const std::size_t fat = sectorAt(11), entry = sectorAt(10) + 128;
    const struct {
        std::size_t at;
        uint32_t value;
        const char* reason;
    } cases[] = {
        {fat + 4 * 3, 1, "a sector chain loops"},
        {fat + 4 * 10, 10, "a sector chain loops"}, // the directory's
        {fat + 4 * 3, 5000, "a sector chain points outside the file"},
        {fat + 4 * 3, 0xFFFFFFFE, "a stream is cut short"},
        {44, 0x7FFFFFFF, "its allocation table size is invalid"},
        {entry + 120, 0xFFFFFFF0, "a stream is larger than the file"},
    };
    Bytes out;
    for (const auto& c : cases) {
        Bytes bad = good;
        set32(bad, c.at, c.value);
        EXPECT_EQ(readBack(bad, out), std::string("the file is damaged: ") + c.reason);
    }
    const Bytes truncated(good.begin(), good.begin() + 2000);
    EXPECT_NE(readBack(truncated, out).find("the file is damaged"), std::string::npos);
    EXPECT_EQ(readBack(pattern(3000), out),
              "the file is not an Excel workbook (no compound-file header)");
    // A directory entry that is its own sibling, in a file without the wanted stream.
    Bytes dir = buildCompoundFile("Other", pattern(5000));
    set32(dir, entry + 68, 1);
    set32(dir, entry + 72, 1);
    EXPECT_EQ(readBack(dir, out), "no stream");
    // A DIFAT sector that names itself as the next one.
    Bytes big = buildCompoundFile("Workbook", pattern(std::size_t(8) << 20));
    const uint32_t difat = *reinterpret_cast<const uint32_t*>(&big[68]);
    set32(big, 44, 300);
    set32(big, sectorAt(difat) + 508, difat);
    EXPECT_EQ(readBack(big, out), "the file is damaged: its sector index loops");
}

} // namespace
} // namespace frusta::xls
