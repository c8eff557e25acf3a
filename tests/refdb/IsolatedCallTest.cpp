// Work run in an isolated child: its result comes back whole, and a child that hangs, crashes,
// exhausts memory or says too much ends in a plain reason, with nothing left behind.
#include "refdb/IsolatedCall.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

using namespace frusta;
using namespace std::chrono_literals;

namespace {

IsolationLimits quick(std::chrono::milliseconds deadline) {
    IsolationLimits limits;
    limits.deadline = deadline;
    return limits;
}

std::size_t openDescriptors() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                      std::filesystem::directory_iterator()));
}

bool hasChildren() {
    errno = 0;
    return !(::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD);
}

std::string patterned(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i * 7919) >> 3);
    return s;
}

[[noreturn]] void spin() {
    volatile unsigned long n = 0;
    for (;;)
        n = n + 1;
}

struct Outcome {
    const char* what;
    std::function<std::string()> work;
    IsolatedStatus status;
    std::string reason;
    std::string bytes = {};
};

// Every way a call can end. `tag` makes the returned bytes and thrown message of one call
// its own; `size` is the size of the returned bytes.
std::vector<Outcome> outcomes(const std::string& tag, std::size_t size) {
    const std::string stopped = "reading it stopped unexpectedly";
    const std::string unfinished = "reading it did not finish";
    const std::string bytes = tag + patterned(size);
    return {
        {"returns", [bytes] { return bytes; }, IsolatedStatus::Returned, "", bytes},
        {"returns nothing", [] { return std::string(); }, IsolatedStatus::Returned, "", ""},
        {"throws", [tag]() -> std::string { throw std::runtime_error(tag); }, IsolatedStatus::Threw,
         tag},
        {"throws no exception", []() -> std::string { throw 42; }, IsolatedStatus::Threw,
         "an unknown error occurred"},
        {"throws bad_alloc", []() -> std::string { throw std::bad_alloc(); },
         IsolatedStatus::OutOfMemory, "reading it needed more memory than allowed"},
        {"busy past the deadline", []() -> std::string { spin(); }, IsolatedStatus::TimedOut,
         unfinished},
        {"asleep past the deadline",
         []() -> std::string {
             for (;;)
                 ::pause();
         },
         IsolatedStatus::TimedOut, unfinished},
        {"processor time used up",
         []() -> std::string {
             ::raise(SIGXCPU);
             return "x";
         },
         IsolatedStatus::TimedOut, unfinished},
        {"abort", []() -> std::string { std::abort(); }, IsolatedStatus::Crashed, stopped},
        {"segmentation fault",
         []() -> std::string {
             ::raise(SIGSEGV);
             return "x";
         },
         IsolatedStatus::Crashed, stopped},
        {"exit without reply", []() -> std::string { ::_exit(0); }, IsolatedStatus::Crashed,
         stopped},
        {"exit with an error", []() -> std::string { ::_exit(3); }, IsolatedStatus::Crashed,
         stopped},
    };
}

void expectOutcome(const Outcome& o) {
    SCOPED_TRACE(o.what);
    // Only the hanging children wait for the deadline.
    const auto r =
        runIsolated(o.work, quick(o.status == IsolatedStatus::TimedOut ? 300ms : 5000ms));
    EXPECT_EQ(r.status, o.status);
    EXPECT_EQ(r.reason, o.reason);
    EXPECT_TRUE(r.bytes == o.bytes) << r.bytes.size() << " bytes";
}

} // namespace

TEST(IsolatedCall, EachWayAChildEndsHasItsStatusAndReason) {
    // Returned bytes larger than a pipe holds at once, with every byte value.
    for (const auto& o : outcomes("the catalogue cannot be read", (std::size_t{3} << 20) + 7))
        expectOutcome(o);
}

TEST(IsolatedCall, MemoryAndReplySizeAreLimited) {
    IsolationLimits limits = quick(20'000ms);
    limits.memory = std::size_t{64} << 20;
    const auto r = runIsolated(
        []() -> std::string {
            std::vector<std::vector<char>> held;
            for (;;)
                held.emplace_back(std::size_t{1} << 20, 'x');
        },
        limits);
    EXPECT_EQ(r.status, IsolatedStatus::OutOfMemory);
    EXPECT_EQ(r.reason, "reading it needed more memory than allowed");

    limits.maxReply = 1000;
    const auto fits = runIsolated([] { return std::string(1000, 'a'); }, limits);
    EXPECT_EQ(fits.status, IsolatedStatus::Returned);
    const auto large = runIsolated([] { return std::string(1001, 'a'); }, limits);
    EXPECT_EQ(large.status, IsolatedStatus::BadReply);
    EXPECT_EQ(large.reason, "reading it gave more data than allowed");
    const auto endless = runIsolated([] { return patterned(std::size_t{1} << 20); }, limits);
    EXPECT_EQ(endless.status, IsolatedStatus::BadReply);
}

TEST(IsolatedCall, ConcurrentCallsGetTheirOwnResultsAndLeaveNothingBehind) {
    const std::size_t descriptors = openDescriptors();
    ASSERT_FALSE(hasChildren());
    // Threads that allocate while others fork, each call with its own outcome.
    std::vector<std::future<void>> threads;
    for (int t = 0; t < 4; ++t)
        threads.push_back(std::async(std::launch::async, [t] {
            for (int i = 0; i < 8; ++i) {
                const std::string tag = "call " + std::to_string(t) + "." + std::to_string(i);
                const auto all = outcomes(tag, static_cast<std::size_t>(1000 * t + i));
                expectOutcome(all[static_cast<std::size_t>(3 * t + i) % all.size()]);
                std::vector<std::unique_ptr<char[]>> churn;
                for (int k = 0; k < 100; ++k)
                    churn.emplace_back(new char[64 + k]);
            }
        }));
    for (auto& t : threads)
        t.get();
    EXPECT_FALSE(hasChildren());
    EXPECT_EQ(openDescriptors(), descriptors);
}
