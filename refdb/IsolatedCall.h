#pragma once
// runIsolated: runs a function in a child process of its own, under limits of time and
// memory, and brings back the bytes it returns. Code that may loop, exhaust memory or crash
// on hostile input (a library reading a damaged file) cannot take the program down with it:
// the child is killed at the deadline and always reaped, and how it failed becomes a reason.
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace frusta {

struct IsolationLimits {
    // Wall-clock time for the whole call; the child's processor time is limited to the same.
    std::chrono::milliseconds deadline{20'000};
    // Memory the child may use beyond what it inherits. This process watches its resident
    // memory; without sanitizers (whose shadow memory needs vast address space) its address
    // space is limited too, a quarter above this.
    std::size_t memory = std::size_t{1} << 30;
    // The largest result the function may return.
    std::size_t maxReply = std::size_t{512} << 20;
};

enum class IsolatedStatus {
    Returned,    // the function returned: bytes holds its result
    Threw,       // it threw: reason holds the exception's message
    TimedOut,    // it ran past the deadline or its processor time
    OutOfMemory, // it used more memory than allowed, or threw std::bad_alloc
    Crashed,     // the child ended without a complete reply: a signal, an exit
    BadReply,    // the reply was malformed or larger than allowed
};

struct IsolatedResult {
    IsolatedStatus status = IsolatedStatus::Crashed;
    std::string bytes;  // the function's result when it returned
    std::string reason; // otherwise a plain reason, phrased for the reading of a file
};

// The function runs in a forked child that has no other threads: it may use what it
// captured, but nothing guarded by a lock that another thread of this process could have
// held at the fork. Its side effects stay in the child. Throws std::system_error only when
// no child can be started.
IsolatedResult runIsolated(const std::function<std::string()>& work,
                           const IsolationLimits& limits = {});

} // namespace frusta
