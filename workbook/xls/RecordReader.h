#pragma once
// BIFF record access over a workbook stream held in memory: records are returned as views
// into the stream, so reading allocates nothing per record.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace frusta::xls {

class CharDecoder;

struct Record {
    uint16_t type = 0;
    uint16_t size = 0;
    const uint8_t* data = nullptr;
    std::size_t offset = 0; // of the record header in the stream
};

class RecordReader {
public:
    RecordReader(std::span<const uint8_t> stream, std::size_t position)
        : stream_(stream), pos_(position) {}

    // The next record; false at the end of the stream or when a record runs past it
    // (truncated() tells which).
    bool next(Record& record);
    // The type of the record after the current one, or -1 at the end.
    int peekType() const;
    std::size_t position() const { return pos_; }
    // Moves on to `position` (never back, never past the end).
    void seek(std::size_t position) {
        if (position > pos_)
            pos_ = position < stream_.size() ? position : stream_.size();
    }
    bool truncated() const { return truncated_; }

private:
    std::span<const uint8_t> stream_;
    std::size_t pos_;
    bool truncated_ = false;
};

// The body of one record followed by the bodies of its CONTINUE records, read as one
// sequence. Strings need to know the record boundaries: a string's characters resume
// after a boundary with a re-stated compression flag byte.
class ContinuedData {
public:
    // Takes `first` and the CONTINUE records that follow it from `reader`.
    void load(const Record& first, RecordReader& reader);

    bool atEnd() const { return seg_ >= segs_.size(); }
    bool readU8(uint8_t& v);
    bool readU16(uint16_t& v);
    bool readU32(uint32_t& v);
    bool skip(std::size_t n);
    // Reads `n` bytes, across record boundaries, into `out`.
    bool readBytes(std::size_t n, std::string& out);

    // Reads a string whose character count (`cch`) has been read: the flag byte and the
    // characters, skipping rich-text runs and phonetic data when the flags announce them
    // (`extendedFields` is true for SST strings, which carry the run and phonetic sizes).
    bool readString(std::size_t cch, bool extendedFields, const CharDecoder& decoder,
                    std::string& out);

private:
    struct Segment {
        const uint8_t* data;
        std::size_t size;
    };
    std::size_t left() const { return seg_ < segs_.size() ? segs_[seg_].size - pos_ : 0; }
    void settle(); // steps over exhausted segments
    std::vector<Segment> segs_;
    std::size_t seg_ = 0;
    std::size_t pos_ = 0;
};

// Reads an XLUnicodeString held entirely in `p[0..n)`: a 16-bit (or, with `shortCount`,
// 8-bit) character count, a flag byte and the characters. False when it does not fit.
bool readPlainString(const uint8_t* p, std::size_t n, bool shortCount, const CharDecoder& decoder,
                     std::string& out, std::size_t* used = nullptr);

} // namespace frusta::xls
