#include "engine/TaxonIndex.h"

#include "engine/CaseFold.h"

namespace frusta::engine {

namespace {

std::size_t tableSizeFor(std::size_t entries) {
    std::size_t size = 16;
    while (size < entries * 2)
        size *= 2;
    return size;
}

} // namespace

TaxonIndex::TaxonIndex(const std::vector<std::string>* codes) : codes_(codes) {
    if (!codes_ || codes_->empty())
        return;
    slots_.resize(tableSizeFor(codes_->size()));
    mask_ = slots_.size() - 1;
    const auto rows = static_cast<int32_t>(codes_->size());
    // Rows go in in ascending order and a code already present is not replaced, so the
    // lowest row of every code is the one kept.
    for (int32_t row = 0; row < rows; ++row) {
        const std::string& code = (*codes_)[row];
        const uint64_t h = foldedHash(code);
        const auto tag = static_cast<uint32_t>(h >> 32);
        for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.row < 0) {
                slot = {row, tag};
                break;
            }
            if (slot.hashTag == tag && equalsIgnoreCase((*codes_)[slot.row], code))
                break;
        }
    }
}

int32_t TaxonIndex::find(std::string_view code) const {
    if (slots_.empty())
        return -1;
    const uint64_t h = foldedHash(code);
    const auto tag = static_cast<uint32_t>(h >> 32);
    for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
        const Slot& slot = slots_[i];
        if (slot.row < 0)
            return -1;
        if (slot.hashTag == tag && equalsIgnoreCase((*codes_)[slot.row], code))
            return slot.row;
    }
}

} // namespace frusta::engine
