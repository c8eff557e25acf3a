#include "workbook/xls/RecordReader.h"

#include "workbook/xls/BiffRecords.h"
#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/XlsText.h"

#include <algorithm>

namespace frusta::xls {

bool RecordReader::next(Record& record) {
    if (pos_ + 4 > stream_.size()) {
        truncated_ = pos_ < stream_.size();
        pos_ = stream_.size();
        return false;
    }
    const uint8_t* p = stream_.data() + pos_;
    record.type = le16(p);
    record.size = le16(p + 2);
    if (pos_ + 4 + record.size > stream_.size()) {
        truncated_ = true;
        pos_ = stream_.size();
        return false;
    }
    record.data = p + 4;
    record.offset = pos_;
    pos_ += 4 + record.size;
    return true;
}

int RecordReader::peekType() const {
    return pos_ + 4 <= stream_.size() ? le16(stream_.data() + pos_) : -1;
}

void ContinuedData::load(const Record& first, RecordReader& reader) {
    segs_.clear();
    segs_.push_back({first.data, first.size});
    Record r;
    while (reader.peekType() == rec::Continue && reader.next(r))
        segs_.push_back({r.data, r.size});
    seg_ = 0;
    pos_ = 0;
}

void ContinuedData::settle() {
    while (seg_ < segs_.size() && pos_ >= segs_[seg_].size) {
        ++seg_;
        pos_ = 0;
    }
}

bool ContinuedData::skip(std::size_t n) {
    while (n > 0) {
        settle();
        if (atEnd())
            return false;
        const std::size_t step = std::min(n, left());
        pos_ += step;
        n -= step;
    }
    return true;
}

bool ContinuedData::readBytes(std::size_t n, std::string& out) {
    out.clear();
    while (n > 0) {
        settle();
        if (atEnd())
            return false;
        const std::size_t step = std::min(n, left());
        out.append(reinterpret_cast<const char*>(segs_[seg_].data + pos_), step);
        pos_ += step;
        n -= step;
    }
    return true;
}

bool ContinuedData::readU8(uint8_t& v) {
    settle();
    if (atEnd())
        return false;
    v = segs_[seg_].data[pos_++];
    return true;
}

bool ContinuedData::readU16(uint16_t& v) {
    uint8_t a, b;
    if (!readU8(a) || !readU8(b))
        return false;
    v = static_cast<uint16_t>(a | (b << 8));
    return true;
}

bool ContinuedData::readU32(uint32_t& v) {
    uint16_t a, b;
    if (!readU16(a) || !readU16(b))
        return false;
    v = a | (static_cast<uint32_t>(b) << 16);
    return true;
}

bool ContinuedData::readString(std::size_t cch, bool extendedFields, const CharDecoder& decoder,
                               std::string& out) {
    out.clear();
    uint8_t flags;
    if (!readU8(flags))
        return false;
    bool wide = (flags & 0x01) != 0;
    uint16_t runs = 0;
    uint32_t extSize = 0;
    if (extendedFields) {
        if ((flags & 0x08) && !readU16(runs))
            return false;
        if ((flags & 0x04) && !readU32(extSize))
            return false;
    }
    uint32_t pendingHigh = 0;
    std::size_t remaining = cch;
    while (remaining > 0) {
        if (left() == 0) {
            // The characters go on in the next record, which re-states the flag byte.
            if (seg_ >= segs_.size())
                return false;
            ++seg_;
            pos_ = 0;
            if (seg_ >= segs_.size())
                return false;
            if (segs_[seg_].size == 0)
                continue;
            wide = (segs_[seg_].data[pos_++] & 0x01) != 0;
            continue;
        }
        const std::size_t charSize = wide ? 2 : 1;
        const std::size_t n = std::min(remaining, left() / charSize);
        if (n == 0) { // half a character before the boundary: no such thing, skip it
            pos_ = segs_[seg_].size;
            continue;
        }
        const uint8_t* p = segs_[seg_].data + pos_;
        if (wide)
            decoder.appendUtf16(p, n, out, pendingHigh);
        else
            decoder.appendCompressed(p, n, out);
        pos_ += n * charSize;
        remaining -= n;
    }
    CharDecoder::finish(out, pendingHigh);
    return skip(4 * static_cast<std::size_t>(runs)) && skip(extSize);
}

bool readPlainString(const uint8_t* p, std::size_t n, bool shortCount, const CharDecoder& decoder,
                     std::string& out, std::size_t* used) {
    out.clear();
    const std::size_t countSize = shortCount ? 1 : 2;
    if (n < countSize + 1)
        return false;
    const std::size_t cch = shortCount ? p[0] : le16(p);
    const bool wide = (p[countSize] & 0x01) != 0;
    const std::size_t bytes = cch * (wide ? 2 : 1);
    if (countSize + 1 + bytes > n)
        return false;
    const uint8_t* chars = p + countSize + 1;
    if (wide) {
        uint32_t pendingHigh = 0;
        decoder.appendUtf16(chars, cch, out, pendingHigh);
        CharDecoder::finish(out, pendingHigh);
    } else {
        decoder.appendCompressed(chars, cch, out);
    }
    if (used)
        *used = countSize + 1 + bytes;
    return true;
}

} // namespace frusta::xls
