#pragma once
// Reader of OLE2 compound files ([MS-CFB]): header, FAT, DIFAT, directory and mini stream.
// Every sector chain is bounded by the size of the file and checked for loops, so that a
// damaged or crafted file ends in an error instead of a hang or an overrun.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace frusta::xls {

class CompoundFileReader {
public:
    // Parses the header, the FAT and the directory of `file`, which must outlive the reader.
    bool open(std::span<const uint8_t> file, std::string& error);

    // Index of the stream named `name` (ASCII, compared without regard to case) directly
    // under the root storage, or -1.
    int findStream(const char* name) const;

    // Copies the contents of stream `entry` into `out`.
    bool readStream(int entry, std::vector<uint8_t>& out, std::string& error) const;

private:
    struct Entry {
        std::u16string name;
        uint8_t type = 0; // 1 storage, 2 stream, 5 root
        uint32_t left = 0, right = 0, child = 0, start = 0;
        uint64_t size = 0;
    };

    std::size_t sectorOffset(uint32_t sector) const;
    bool followChain(uint32_t start, const std::vector<uint32_t>& table, std::size_t limit,
                     std::vector<uint32_t>& chain, std::string& error) const;
    bool readFat(std::string& error);
    bool readDirectory(uint32_t firstSector, std::string& error);
    bool readMiniStream(std::string& error) const;
    // Reads `size` bytes of the regular sector chain from `start`; `what` names the stream
    // in the error when the chain is cut short.
    bool readSectors(uint32_t start, uint64_t size, const char* what, std::vector<uint8_t>& out,
                     std::string& error) const;
    void copySectors(const std::vector<uint32_t>& chain, uint64_t size,
                     std::vector<uint8_t>& out) const;

    std::span<const uint8_t> file_;
    uint32_t sectorSize_ = 512;
    uint32_t sectorCount_ = 0;
    uint32_t miniCutoff_ = 4096;
    uint32_t firstMiniFat_ = 0;
    uint32_t miniFatCount_ = 0;
    std::vector<uint32_t> fat_;
    std::vector<Entry> entries_;
    // Loaded on first use by a stream below the cutoff.
    mutable std::vector<uint32_t> miniFat_;
    mutable std::vector<uint8_t> miniStream_;
    mutable bool miniLoaded_ = false;
};

} // namespace frusta::xls
