#include "workbook/xls/CompoundFileReader.h"

#include "workbook/xls/LittleEndian.h"

#include <algorithm>

namespace frusta::xls {

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::size_t kHeaderDifatEntries = 109;
constexpr std::size_t kEntrySize = 128;
constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

const char* const kDamaged = "the file is damaged: ";

uint16_t asciiUpper(uint16_t c) {
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

} // namespace

std::size_t CompoundFileReader::sectorOffset(uint32_t sector) const {
    return (static_cast<std::size_t>(sector) + 1) * sectorSize_;
}

bool CompoundFileReader::open(std::span<const uint8_t> file, std::string& error) {
    file_ = file;
    if (file.size() < 512 || !std::equal(kSignature, kSignature + 8, file.data())) {
        error = "the file is not an Excel workbook (no compound-file header)";
        return false;
    }
    const uint8_t* h = file.data();
    const uint16_t sectorShift = le16(h + 30);
    if (le16(h + 28) != 0xFFFE || (sectorShift != 9 && sectorShift != 12) || le16(h + 32) != 6) {
        error = std::string(kDamaged) + "its compound-file header is invalid";
        return false;
    }
    sectorSize_ = 1u << sectorShift;
    if (file.size() <= sectorSize_) {
        error = std::string(kDamaged) + "it is truncated";
        return false;
    }
    // A last sector cut short is read as if padded with zeros.
    sectorCount_ = static_cast<uint32_t>(std::min<std::size_t>(
        (file.size() - sectorSize_ + sectorSize_ - 1) / sectorSize_, kMaxRegularSector));
    miniCutoff_ = le32(h + 56);
    firstMiniFat_ = le32(h + 60);
    miniFatCount_ = le32(h + 64);
    if (!readFat(error))
        return false;
    return readDirectory(le32(h + 48), error);
}

bool CompoundFileReader::readFat(std::string& error) {
    const uint8_t* h = file_.data();
    const uint32_t fatCount = le32(h + 44);
    if (fatCount == 0 || fatCount > sectorCount_) {
        error = std::string(kDamaged) + "its allocation table size is invalid";
        return false;
    }
    // The FAT sector numbers: 109 in the header, the rest in a chain of DIFAT sectors.
    std::vector<uint32_t> fatSectors;
    fatSectors.reserve(fatCount);
    for (std::size_t i = 0; i < kHeaderDifatEntries && fatSectors.size() < fatCount; ++i)
        fatSectors.push_back(le32(h + 76 + 4 * i));
    const std::size_t perDifat = sectorSize_ / 4 - 1;
    uint32_t difat = le32(h + 68);
    std::vector<bool> seen(sectorCount_, false);
    while (fatSectors.size() < fatCount) {
        if (difat >= sectorCount_ || seen[difat]) {
            error =
                std::string(kDamaged) +
                (difat < sectorCount_ ? "its sector index loops" : "its sector index is cut short");
            return false;
        }
        seen[difat] = true;
        const std::size_t off = sectorOffset(difat);
        for (std::size_t i = 0; i < perDifat && fatSectors.size() < fatCount; ++i) {
            const std::size_t at = off + 4 * i;
            fatSectors.push_back(at + 4 <= file_.size() ? le32(file_.data() + at) : kFreeSector);
        }
        const std::size_t next = off + 4 * perDifat;
        difat = next + 4 <= file_.size() ? le32(file_.data() + next) : kEndOfChain;
    }
    const std::size_t perSector = sectorSize_ / 4;
    fat_.assign(fatSectors.size() * perSector, kFreeSector);
    for (std::size_t i = 0; i < fatSectors.size(); ++i) {
        const uint32_t s = fatSectors[i];
        if (s >= sectorCount_) {
            error = std::string(kDamaged) + "its allocation table points outside the file";
            return false;
        }
        const std::size_t off = sectorOffset(s);
        const std::size_t n = std::min<std::size_t>(perSector, (file_.size() - off) / 4);
        for (std::size_t j = 0; j < n; ++j)
            fat_[i * perSector + j] = le32(file_.data() + off + 4 * j);
    }
    return true;
}

bool CompoundFileReader::followChain(uint32_t start, const std::vector<uint32_t>& table,
                                     std::size_t limit, std::vector<uint32_t>& chain,
                                     std::string& error) const {
    chain.clear();
    // Sectors of the FAT must exist in the file; mini sectors are checked when copied.
    const std::size_t bound =
        &table == &fat_ ? std::min<std::size_t>(table.size(), sectorCount_) : table.size();
    std::vector<bool> seen(bound, false);
    uint32_t s = start;
    while (s != kEndOfChain && chain.size() < limit) {
        if (s >= bound) {
            error = std::string(kDamaged) + "a sector chain points outside the file";
            return false;
        }
        if (seen[s]) {
            error = std::string(kDamaged) + "a sector chain loops";
            return false;
        }
        seen[s] = true;
        chain.push_back(s);
        s = table[s];
    }
    return true;
}

bool CompoundFileReader::readDirectory(uint32_t firstSector, std::string& error) {
    std::vector<uint32_t> chain;
    if (!followChain(firstSector, fat_, sectorCount_, chain, error))
        return false;
    const std::size_t perSector = sectorSize_ / kEntrySize;
    entries_.clear();
    entries_.reserve(chain.size() * perSector);
    for (uint32_t s : chain) {
        for (std::size_t i = 0; i < perSector; ++i) {
            const std::size_t off = sectorOffset(s) + i * kEntrySize;
            Entry e;
            if (off + kEntrySize <= file_.size()) {
                const uint8_t* p = file_.data() + off;
                const std::size_t nameBytes = std::min<std::size_t>(le16(p + 64), 64);
                for (std::size_t k = 0; k + 1 < nameBytes; k += 2) {
                    const uint16_t c = le16(p + k);
                    if (c == 0)
                        break;
                    e.name.push_back(static_cast<char16_t>(c));
                }
                e.type = p[66];
                e.left = le32(p + 68);
                e.right = le32(p + 72);
                e.child = le32(p + 76);
                e.start = le32(p + 116);
                // Version 3 files hold a 32-bit size; some writers leave junk in the high part.
                e.size = sectorSize_ == 512 ? le32(p + 120) : le64(p + 120);
            }
            entries_.push_back(std::move(e));
        }
    }
    if (entries_.empty() || entries_[0].type != 5) {
        error = std::string(kDamaged) + "its directory has no root entry";
        return false;
    }
    return true;
}

int CompoundFileReader::findStream(const char* name) const {
    // Walk the sibling tree under the root; each entry is visited once at most.
    std::u16string wanted;
    for (const char* c = name; *c; ++c)
        wanted.push_back(static_cast<char16_t>(asciiUpper(static_cast<uint8_t>(*c))));
    std::vector<bool> seen(entries_.size(), false);
    std::vector<uint32_t> stack{entries_[0].child};
    while (!stack.empty()) {
        const uint32_t id = stack.back();
        stack.pop_back();
        if (id == kNoStream || id >= entries_.size() || seen[id])
            continue;
        seen[id] = true;
        const Entry& e = entries_[id];
        if (e.type == 2 && e.name.size() == wanted.size() &&
            std::equal(e.name.begin(), e.name.end(), wanted.begin(),
                       [](char16_t a, char16_t b) { return asciiUpper(a) == b; }))
            return static_cast<int>(id);
        stack.push_back(e.left);
        stack.push_back(e.right);
    }
    return -1;
}

void CompoundFileReader::copySectors(const std::vector<uint32_t>& chain, uint64_t size,
                                     std::vector<uint8_t>& out) const {
    out.assign(static_cast<std::size_t>(size), 0);
    std::size_t done = 0;
    for (uint32_t s : chain) {
        const std::size_t off = sectorOffset(s);
        const std::size_t want = std::min<std::size_t>(sectorSize_, out.size() - done);
        if (off < file_.size()) {
            const std::size_t have = std::min(want, file_.size() - off);
            std::copy_n(file_.data() + off, have, out.data() + done);
        }
        done += want;
    }
}

bool CompoundFileReader::readMiniStream(std::string& error) const {
    if (miniLoaded_)
        return true;
    const Entry& root = entries_[0];
    const uint64_t maxBytes = static_cast<uint64_t>(sectorCount_) * sectorSize_;
    if (root.size > maxBytes || miniFatCount_ > sectorCount_) {
        error = std::string(kDamaged) + "its mini stream is larger than the file";
        return false;
    }
    if (!readSectors(root.start, root.size, "its mini stream", miniStream_, error))
        return false;
    std::vector<uint32_t> fatChain;
    if (!followChain(firstMiniFat_, fat_, miniFatCount_, fatChain, error))
        return false;
    std::vector<uint8_t> bytes;
    copySectors(fatChain, static_cast<uint64_t>(fatChain.size()) * sectorSize_, bytes);
    miniFat_.resize(bytes.size() / 4);
    for (std::size_t i = 0; i < miniFat_.size(); ++i)
        miniFat_[i] = le32(bytes.data() + 4 * i);
    miniLoaded_ = true;
    return true;
}

bool CompoundFileReader::readSectors(uint32_t start, uint64_t size, const char* what,
                                     std::vector<uint8_t>& out, std::string& error) const {
    std::vector<uint32_t> chain;
    const auto needed = static_cast<std::size_t>((size + sectorSize_ - 1) / sectorSize_);
    if (!followChain(start, fat_, needed, chain, error))
        return false;
    if (chain.size() < needed) {
        error = std::string(kDamaged) + what + " is cut short";
        return false;
    }
    copySectors(chain, size, out);
    return true;
}

bool CompoundFileReader::readStream(int entry, std::vector<uint8_t>& out,
                                    std::string& error) const {
    const Entry& e = entries_.at(static_cast<std::size_t>(entry));
    const uint64_t maxBytes = static_cast<uint64_t>(sectorCount_) * sectorSize_;
    if (e.size > maxBytes) {
        error = std::string(kDamaged) + "a stream is larger than the file";
        return false;
    }
    if (e.size >= miniCutoff_)
        return readSectors(e.start, e.size, "a stream", out, error);
    if (!readMiniStream(error))
        return false;
    constexpr std::size_t kMini = 64;
    const std::size_t needed = static_cast<std::size_t>((e.size + kMini - 1) / kMini);
    std::vector<uint32_t> chain;
    if (!followChain(e.start, miniFat_, needed, chain, error))
        return false;
    if (chain.size() < needed) {
        error = std::string(kDamaged) + "a stream is cut short";
        return false;
    }
    out.assign(static_cast<std::size_t>(e.size), 0);
    std::size_t done = 0;
    for (uint32_t s : chain) {
        const std::size_t off = static_cast<std::size_t>(s) * kMini;
        const std::size_t want = std::min(kMini, out.size() - done);
        if (off + want > miniStream_.size()) {
            error = std::string(kDamaged) + "a stream points outside the mini stream";
            return false;
        }
        std::copy_n(miniStream_.data() + off, want, out.data() + done);
        done += want;
    }
    return true;
}

} // namespace frusta::xls
