#pragma once
// Bounds that keep the reading of a hostile or damaged package finite in time and memory.
#include <cstdint>

namespace frusta::xlsx {

constexpr std::uint64_t kMiB = 1024 * 1024;

// Uncompressed bytes of one part, and of all parts read from one package.
constexpr std::uint64_t kMaxPartBytes = 1024 * kMiB;
constexpr std::uint64_t kMaxPackageBytes = 2048 * kMiB;
// A part larger than kRatioCheckBytes may expand at most kMaxRatio times its compressed
// size; deflate reaches about 1000:1 on crafted data, real worksheets stay below 50:1.
constexpr std::uint64_t kRatioCheckBytes = 16 * kMiB;
constexpr std::uint64_t kMaxRatio = 200;
// Files in one package.
constexpr std::int64_t kMaxEntries = 100000;
// Memory that the cells and texts of one book may take.
constexpr std::uint64_t kMaxBookBytes = 1024 * kMiB;
// Bytes of one cell text or attribute-free text run (Excel allows 32767 characters).
constexpr std::size_t kMaxTextBytes = 1 * kMiB;
// Element nesting in any part (SpreadsheetML needs fewer than 20 levels).
constexpr int kMaxXmlDepth = 256;

// Counts the memory that a book being read takes, so that crafted input cannot exhaust it.
class ReadBudget {
public:
    explicit ReadBudget(std::uint64_t limit = kMaxBookBytes) : limit_(limit) {}
    // False once the total passes the limit.
    bool charge(std::uint64_t bytes) {
        used_ += bytes;
        return used_ <= limit_;
    }
    std::uint64_t used() const { return used_; }
    std::uint64_t limit() const { return limit_; }

private:
    std::uint64_t limit_;
    std::uint64_t used_ = 0;
};

} // namespace frusta::xlsx
