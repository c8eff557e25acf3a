#include "refdb/IsolatedCall.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <system_error>

// Sanitizers that reserve shadow memory cannot run under a limit of address space.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define FRUSTA_SHADOW_MEMORY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
#define FRUSTA_SHADOW_MEMORY 1
#endif
#endif
#ifdef FRUSTA_SHADOW_MEMORY
#include <sanitizer/common_interface_defs.h>
#endif

namespace frusta {

namespace {

using Clock = std::chrono::steady_clock;

// The child's reply: a tag, the length of what follows, then that many bytes.
enum Tag : char { kReturned = 'R', kThrew = 'T', kOutOfMemory = 'M' };
constexpr std::size_t kHeaderSize = 1 + sizeof(uint64_t);

class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// ---- In the child: only system calls and the work itself, then _exit. ----

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

[[noreturn]] void reply(int fd, Tag tag, const char* data, std::size_t size) {
    char header[kHeaderSize];
    header[0] = tag;
    const uint64_t length = size;
    std::memcpy(header + 1, &length, sizeof length);
    const bool sent = writeAll(fd, header, sizeof header) && writeAll(fd, data, size);
    ::_exit(sent ? 0 : 1);
}

// A field of a process's memory figures in /proc (0 the mapped size, 1 the resident size),
// in bytes; 0 when unknown. Only system calls: the child uses it too.
std::size_t memoryFigure(const char* statmPath, int field) {
    const int fd = ::open(statmPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[128] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    std::size_t pages = 0;
    for (ssize_t i = 0, f = 0; i < n && f <= field; ++i) {
        if (text[i] == ' ')
            ++f;
        else if (f == field && text[i] >= '0' && text[i] <= '9')
            pages = pages * 10 + static_cast<std::size_t>(text[i] - '0');
    }
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

constexpr int kMappedField = 0;
constexpr int kResidentField = 1;

// Lowers a limit; the hard limit is `extra` above the soft one, neither above the current.
void lowerLimit(int resource, rlim_t soft, rlim_t extra) {
    rlimit current{};
    if (::getrlimit(resource, &current) != 0)
        return;
    const rlim_t hard = current.rlim_max;
    const auto capped = [hard](rlim_t v) { return hard == RLIM_INFINITY ? v : std::min(v, hard); };
    const rlimit lowered{capped(soft), capped(soft + extra)};
    ::setrlimit(resource, &lowered);
}

void limitChild(const IsolationLimits& limits) {
    lowerLimit(RLIMIT_CORE, 0, 0);
    // The processor-time limit ends the child even when this process can no longer: at the
    // soft limit it gets SIGXCPU, a second later SIGKILL.
    const auto seconds = static_cast<rlim_t>(
        std::max<long long>(1, std::chrono::ceil<std::chrono::seconds>(limits.deadline).count()));
    lowerLimit(RLIMIT_CPU, seconds, 1);
#ifndef FRUSTA_SHADOW_MEMORY
    const std::size_t mapped = memoryFigure("/proc/self/statm", kMappedField);
    lowerLimit(RLIMIT_AS, mapped + limits.memory + limits.memory / 4, 0);
#endif
}

// The child takes the default actions of signals, whatever handlers and mask the thread that
// forked it had, and dies with this process.
void resetSignals(pid_t parent) {
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGXCPU, SIGPIPE, SIGTERM})
        ::signal(sig, SIG_DFL);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(1);
}

// The child speaks only through the pipe: what the work prints (a library's warnings about
// a damaged file, possibly without end) is discarded. Sanitizer reports still reach the
// standard error this process had.
void silence() {
#ifdef FRUSTA_SHADOW_MEMORY
    if (const int reports = ::dup(STDERR_FILENO); reports >= 0)
        __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<intptr_t>(reports)));
#endif
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0)
        return;
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::close(null);
}

[[noreturn]] void runChild(int out, pid_t parent, const std::function<std::string()>& work,
                           const IsolationLimits& limits) {
    resetSignals(parent);
    silence();
    limitChild(limits);
    try {
        const std::string result = work();
        reply(out, kReturned, result.data(), result.size());
    } catch (const std::bad_alloc&) {
        reply(out, kOutOfMemory, nullptr, 0);
    } catch (const std::exception& e) {
        reply(out, kThrew, e.what(), std::strlen(e.what()));
    } catch (...) {
        constexpr char unknown[] = "an unknown error occurred";
        reply(out, kThrew, unknown, sizeof unknown - 1);
    }
}

// ---- In this process. ----

// A forked child that is reaped whatever happens: killed first when it is still running.
class ChildProcess {
public:
    // Cannot throw: nothing may stand between the fork and this guard.
    explicit ChildProcess(pid_t pid) noexcept : pid_(pid) {
        std::snprintf(statm_, sizeof statm_, "/proc/%d/statm", static_cast<int>(pid));
    }
    ~ChildProcess() {
        if (!reaped_)
            kill();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Whether the child has ended, without waiting for it.
    bool ended() {
        if (!reaped_)
            reap(WNOHANG);
        return reaped_;
    }
    void kill() {
        ::kill(pid_, SIGKILL);
        while (!reaped_)
            reap(0);
    }
    std::size_t residentBytes() const { return memoryFigure(statm_, kResidentField); }
    // How it ended; unknown when something else reaped it (SIGCHLD ignored).
    bool endedBySignal(int& signal) const {
        signal = statusKnown_ && WIFSIGNALED(status_) ? WTERMSIG(status_) : 0;
        return signal != 0;
    }
    bool exitedWithError() const {
        return statusKnown_ && WIFEXITED(status_) && WEXITSTATUS(status_) != 0;
    }

private:
    void reap(int options) {
        const pid_t r = ::waitpid(pid_, &status_, options);
        if (r == pid_) {
            reaped_ = true;
            statusKnown_ = true;
        } else if (r < 0 && errno == ECHILD) {
            reaped_ = true;
        }
    }

    pid_t pid_;
    char statm_[32];
    int status_ = 0;
    bool reaped_ = false;
    bool statusKnown_ = false;
};

IsolatedResult failure(IsolatedStatus status, const char* reason) {
    return {status, {}, reason};
}

IsolatedResult timedOut() {
    return failure(IsolatedStatus::TimedOut, "reading it did not finish");
}
IsolatedResult crashed() {
    return failure(IsolatedStatus::Crashed, "reading it stopped unexpectedly");
}
IsolatedResult outOfMemory() {
    return failure(IsolatedStatus::OutOfMemory, "reading it needed more memory than allowed");
}
IsolatedResult malformed() {
    return failure(IsolatedStatus::BadReply, "reading it gave a malformed result");
}
IsolatedResult oversized() {
    return failure(IsolatedStatus::BadReply, "reading it gave more data than allowed");
}

// Reads what the pipe holds, waiting at most `waitMs` for something. False at its end.
bool readAvailable(int fd, std::string& into, int waitMs) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, waitMs) <= 0)
        return true;
    char chunk[65536];
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0)
        return errno == EINTR || errno == EAGAIN;
    into.append(chunk, static_cast<std::size_t>(got));
    return got > 0;
}

IsolatedResult interpret(std::string reply, const ChildProcess& child) {
    int signal = 0;
    if (child.endedBySignal(signal))
        return signal == SIGXCPU ? timedOut() : crashed();
    if (child.exitedWithError() || reply.size() < kHeaderSize)
        return crashed();
    uint64_t length = 0;
    std::memcpy(&length, reply.data() + 1, sizeof length);
    if (length > reply.size() - kHeaderSize)
        return crashed();
    if (length < reply.size() - kHeaderSize)
        return malformed();
    const char tag = reply[0];
    reply.erase(0, kHeaderSize);
    switch (tag) {
    case kReturned:
        return {IsolatedStatus::Returned, std::move(reply), {}};
    case kThrew:
        return {IsolatedStatus::Threw, {}, std::move(reply)};
    case kOutOfMemory:
        return outOfMemory();
    default:
        return malformed();
    }
}

// Gathers the child's reply while watching its time and memory; `inherited` is the resident
// memory it started with.
IsolatedResult collect(int fd, ChildProcess& child, const IsolationLimits& limits,
                       std::size_t inherited) {
    const auto deadline = Clock::now() + limits.deadline;
    const std::size_t most = kHeaderSize + limits.maxReply;
    std::string reply;
    bool open = true;
    // The child's end is watched for, not only the pipe's: a child forked meanwhile by another
    // thread holds a copy of the write end, so the pipe can stay open after this child ended.
    while (!child.ended()) {
        using std::chrono::milliseconds;
        const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            child.kill();
            return timedOut();
        }
        if (child.residentBytes() > inherited + limits.memory) {
            child.kill();
            return outOfMemory();
        }
        const int wait = static_cast<int>(std::min<long long>(left, open ? 10 : 1));
        if (open)
            open = readAvailable(fd, reply, wait);
        else
            ::poll(nullptr, 0, wait);
        if (reply.size() > most) {
            child.kill();
            return oversized();
        }
    }
    // What the child wrote before it ended is still in the pipe.
    while (open) {
        const std::size_t before = reply.size();
        open = readAvailable(fd, reply, 0);
        if (reply.size() > most)
            return oversized();
        if (reply.size() == before)
            break;
    }
    return interpret(std::move(reply), child);
}

} // namespace

IsolatedResult runIsolated(const std::function<std::string()>& work,
                           const IsolationLimits& limits) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot create a pipe");
    UniqueFd readEnd(fds[0]);
    UniqueFd writeEnd(fds[1]);
    const pid_t parent = ::getpid();
    const std::size_t inherited = memoryFigure("/proc/self/statm", kResidentField);
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::system_error(errno, std::generic_category(), "cannot start a process");
    if (pid == 0) {
        readEnd.reset();
        runChild(writeEnd.get(), parent, work, limits);
    }
    ChildProcess child(pid);
    writeEnd.reset();
    return collect(readEnd.get(), child, limits, inherited);
}

} // namespace frusta
