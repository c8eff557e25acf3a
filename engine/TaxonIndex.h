#pragma once
// An index of the master taxon list's code column: finds the lowest row whose code equals a
// given code without regard to ASCII case. Built once per analysis in time proportional to
// the number of master rows; each look-up is independent of that number.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace frusta::engine {

class TaxonIndex {
public:
    // `codes` is the code column, one text per master row; it must outlive the index.
    // A null column gives an index that finds nothing.
    explicit TaxonIndex(const std::vector<std::string>* codes);

    // The lowest row whose code equals `code` (ASCII case folded); -1 when none.
    int32_t find(std::string_view code) const;

private:
    struct Slot {
        int32_t row = -1;
        uint32_t hashTag = 0; // high bits of the hash, to skip most text comparisons
    };

    const std::vector<std::string>* codes_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

} // namespace frusta::engine
