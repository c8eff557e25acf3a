#include "workbook/xlsx/PartStream.h"

#include "workbook/xlsx/ZipPackage.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace frusta::xlsx {

PartStream::PartStream(std::unique_ptr<ZipEntryReader> entry) : entry_(std::move(entry)) {
    if (entry_->size() < kAheadFrom)
        return;
    try {
        slots_.assign(kSlots, std::vector<char>(kSlotBytes));
        producer_ = std::thread([this] { produce(); });
    } catch (const std::exception&) {
        slots_.clear(); // no thread to be had: read on this one
    }
}

PartStream::~PartStream() {
    if (!producer_.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    producer_.join();
}

long PartStream::read(char* buffer, std::size_t capacity, std::string& error) {
    return producer_.joinable() ? readAhead(buffer, capacity, error)
                                : entry_->read(buffer, capacity, error);
}

void PartStream::produce() {
    while (fillNext()) {
    }
}

// Fills the next free slot; false once the part has ended, failed, or nobody reads on.
bool PartStream::fillNext() {
    int slot = 0;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return stopping_ || count_ < kSlots; });
        if (stopping_)
            return false;
        slot = (head_ + count_) % kSlots;
    }
    // The slot is this thread's alone until it is counted in.
    std::string error;
    long n = -1;
    try {
        n = entry_->read(slots_[slot].data(), kSlotBytes, error);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read the part '" + entry_->name() + "'";
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (n > 0) {
            sizes_[slot] = n;
            ++count_;
        } else {
            ended_ = true;
            failure_ = std::move(error);
        }
    }
    changed_.notify_all();
    return n > 0;
}

long PartStream::readAhead(char* buffer, std::size_t capacity, std::string& error) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return count_ > 0 || ended_; });
    if (count_ == 0) {
        if (failure_.empty())
            return 0;
        error = failure_;
        return -1;
    }
    const auto available = static_cast<std::size_t>(sizes_[head_]) - offset_;
    const std::size_t n = std::min(capacity, available);
    const char* data = slots_[head_].data() + offset_;
    // The slot at the head is the reader's while it is counted in: copy without the lock.
    lock.unlock();
    std::memcpy(buffer, data, n);
    offset_ += n;
    if (offset_ < static_cast<std::size_t>(sizes_[head_]))
        return static_cast<long>(n);
    lock.lock();
    offset_ = 0;
    head_ = (head_ + 1) % kSlots;
    --count_;
    lock.unlock();
    changed_.notify_all();
    return static_cast<long>(n);
}

} // namespace frusta::xlsx
