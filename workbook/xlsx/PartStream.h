#pragma once
// Reads one part of a package in order. A large part is inflated ahead on a second thread
// while the caller parses what came before, so that inflating and parsing overlap; a small
// one is read on the caller's thread.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace frusta::xlsx {

class ZipEntryReader;

class PartStream {
public:
    // Parts from this size up are inflated ahead.
    static constexpr std::uint64_t kAheadFrom = 4 * 1024 * 1024;

    explicit PartStream(std::unique_ptr<ZipEntryReader> entry);
    ~PartStream();
    PartStream(const PartStream&) = delete;
    PartStream& operator=(const PartStream&) = delete;

    // Reads up to `capacity` bytes; the count read, 0 at the end, -1 on failure with `error`.
    long read(char* buffer, std::size_t capacity, std::string& error);

private:
    static constexpr int kSlots = 4;
    static constexpr std::size_t kSlotBytes = 256 * 1024;

    void produce();
    bool fillNext();
    long readAhead(char* buffer, std::size_t capacity, std::string& error);

    std::unique_ptr<ZipEntryReader> entry_;
    // Inflated data in a ring of slots: the consumer reads slot head_, the producer fills
    // slot (head_ + count_) % kSlots while count_ < kSlots.
    std::vector<std::vector<char>> slots_;
    long sizes_[kSlots] = {};
    int head_ = 0;
    int count_ = 0;
    std::size_t offset_ = 0; // bytes of slot head_ already read
    bool ended_ = false;     // the producer has read the end or failed
    bool stopping_ = false;  // the consumer is gone
    std::string failure_;    // the producer's error, once the data before it is read
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread producer_;
};

} // namespace frusta::xlsx
