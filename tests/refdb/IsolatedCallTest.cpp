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

IsolationLimits quick(std::chrono::milliseconds deadline = 5000ms) {
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

} // namespace

TEST(IsolatedCall, ReturnsTheFunctionsBytesWhole) {
    // Larger than a pipe holds at once, with every byte value; and nothing at all.
    const std::string big = patterned((std::size_t{3} << 20) + 7);
    const auto r = runIsolated([&] { return big; }, quick());
    EXPECT_EQ(r.status, IsolatedStatus::Returned) << r.reason;
    EXPECT_TRUE(r.bytes == big);
    EXPECT_EQ(r.reason, "");
    const auto empty = runIsolated([] { return std::string(); }, quick());
    EXPECT_EQ(empty.status, IsolatedStatus::Returned);
    EXPECT_EQ(empty.bytes, "");
}

TEST(IsolatedCall, WhatTheFunctionThrowsBecomesTheReason) {
    const auto r = runIsolated(
        []() -> std::string { throw std::runtime_error("the catalogue cannot be read"); }, quick());
    EXPECT_EQ(r.status, IsolatedStatus::Threw);
    EXPECT_EQ(r.reason, "the catalogue cannot be read");
    EXPECT_EQ(r.bytes, "");
    const auto odd = runIsolated([]() -> std::string { throw 42; }, quick());
    EXPECT_EQ(odd.status, IsolatedStatus::Threw);
    EXPECT_EQ(odd.reason, "an unknown error occurred");
    const auto oom = runIsolated([]() -> std::string { throw std::bad_alloc(); }, quick());
    EXPECT_EQ(oom.status, IsolatedStatus::OutOfMemory);
    EXPECT_EQ(oom.reason, "reading it needed more memory than allowed");
}

TEST(IsolatedCall, AChildThatHangsIsKilledAtTheDeadline) {
    // Busy on the processor, and asleep in a system call.
    for (const auto& work :
         std::vector<std::function<std::string()>>{[]() -> std::string { spin(); },
                                                   []() -> std::string {
                                                       for (;;)
                                                           ::pause();
                                                   }}) {
        const auto r = runIsolated(work, quick(300ms));
        EXPECT_EQ(r.status, IsolatedStatus::TimedOut);
        EXPECT_EQ(r.reason, "reading it did not finish");
    }
}

TEST(IsolatedCall, AChildThatEndsWithoutAnswerHasStoppedUnexpectedly) {
    struct Case {
        const char* what;
        std::function<std::string()> work;
        IsolatedStatus status;
    } cases[] = {
        {"abort", []() -> std::string { std::abort(); }, IsolatedStatus::Crashed},
        {"segmentation fault",
         []() -> std::string {
             ::raise(SIGSEGV);
             return "x";
         },
         IsolatedStatus::Crashed},
        {"exit without reply", []() -> std::string { ::_exit(0); }, IsolatedStatus::Crashed},
        {"exit with an error", []() -> std::string { ::_exit(3); }, IsolatedStatus::Crashed},
        {"processor time used up",
         []() -> std::string {
             ::raise(SIGXCPU);
             return "x";
         },
         IsolatedStatus::TimedOut},
    };
    for (const auto& c : cases) {
        const auto r = runIsolated(c.work, quick());
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_EQ(r.reason, c.status == IsolatedStatus::Crashed ? "reading it stopped unexpectedly"
                                                                : "reading it did not finish")
            << c.what;
    }
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
                const std::string expected = patterned(static_cast<std::size_t>(1000 * t + i));
                switch ((t + i) % 4) {
                case 0: {
                    const auto r = runIsolated([&] { return std::string(expected); }, quick());
                    EXPECT_EQ(r.status, IsolatedStatus::Returned) << r.reason;
                    EXPECT_TRUE(r.bytes == expected);
                    break;
                }
                case 1:
                    EXPECT_EQ(runIsolated([]() -> std::string { spin(); }, quick(100ms)).status,
                              IsolatedStatus::TimedOut);
                    break;
                case 2:
                    EXPECT_EQ(runIsolated([]() -> std::string { std::abort(); }, quick()).status,
                              IsolatedStatus::Crashed);
                    break;
                default: {
                    const std::string message =
                        "call " + std::to_string(t) + "." + std::to_string(i);
                    const auto r = runIsolated(
                        [&]() -> std::string { throw std::runtime_error(message); }, quick());
                    EXPECT_EQ(r.status, IsolatedStatus::Threw);
                    EXPECT_EQ(r.reason, message);
                }
                }
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
