#pragma once
// How far the reading of a workbook has come, and a request to stop it. The reader reports
// and looks at the request on its own thread or threads; the front end shows the fraction
// and makes the request from another. Lock-free: both sides only touch atomics.
#include <atomic>
#include <cstdint>
#include <functional>

namespace frusta {

// The reason that a load stopped at the user's request.
inline constexpr const char* kLoadCancelled = "the reading was cancelled";

class LoadProgress {
public:
    // Called with the share read at every report, on the reader's thread (optional; set it
    // before the work starts).
    std::function<void(double)> onReport;

    // `done` of `total` units (bytes, rows) are read.
    void report(std::uint64_t done, std::uint64_t total) {
        if (total == 0)
            return;
        const std::uint64_t part = done >= total ? kScale : done * kScale / total;
        permille_.store(static_cast<std::uint32_t>(part), std::memory_order_relaxed);
        if (onReport)
            onReport(static_cast<double>(part) / kScale);
    }
    // The share read so far, 0 to 1.
    double fraction() const {
        return permille_.load(std::memory_order_relaxed) / static_cast<double>(kScale);
    }
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

private:
    static constexpr std::uint64_t kScale = 1000;
    std::atomic<std::uint32_t> permille_{0};
    std::atomic<bool> cancelled_{false};
};

} // namespace frusta
