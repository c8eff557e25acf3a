// The fault-injecting file layer: definitions of the C library's file functions that come
// first in symbol lookup (linked before the C library, or named in LD_PRELOAD), count the
// operations of saving and pass them on, except the one armed to fail. It reaches what no
// layer inside the program could: the writes that libxlsxwriter and minizip make through
// their own stdio calls to their temporary files and to the .xlsx.
#include "FaultFs.h"

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <stdio_ext.h>
#include <string>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>
#include <vector>

extern char** environ;

namespace {

struct Tracked {
    bool folder = false;   // a folder opened to be flushed
    bool writable = false; // opened for writing: its close is counted
    std::string path;
};

struct Hook {
    std::string path;
    std::string command;
    bool done = false;
};

// What befalls a child process (a forked reading) that opens a given file.
struct ChildTrap {
    std::string action; // "kill", "stall" or empty
    std::string path;
    pid_t parent = 0; // the process that set the trap, which it spares
};

struct State {
    std::recursive_mutex mutex;
    std::vector<std::string> watched;
    long count = 0;
    long armedAt = 0;
    int armedErr = 0;
    std::string armedKind; // fail the first operation of this kind instead
    bool fired = false;
    std::vector<std::string> log;
    std::unordered_map<int, Tracked> fds;
    std::unordered_map<FILE*, int> files;
    std::unordered_map<FILE*, int> broken; // streams after an injected failure: their errno
    std::vector<Hook> hooks;
    ChildTrap trap;
    std::string report;
    long slowRenameMs = 0; // each rename under a watched folder waits this long first
    pid_t owner = 0;
    std::string described;
};

void splitInto(const char* text, char separator, std::vector<std::string>& out) {
    std::string part;
    for (const char* p = text; *p; ++p) {
        if (*p == separator) {
            if (!part.empty())
                out.push_back(part);
            part.clear();
        } else {
            part += *p;
        }
    }
    if (!part.empty())
        out.push_back(part);
}

void configureFromEnvironment(State& s) {
    if (const char* w = std::getenv("FRUSTA_FAULT_WATCH"))
        splitInto(w, ':', s.watched);
    if (const char* at = std::getenv("FRUSTA_FAULT_AT"))
        s.armedAt = std::atol(at);
    if (const char* err = std::getenv("FRUSTA_FAULT_ERRNO"))
        s.armedErr = std::atoi(err);
    if (const char* r = std::getenv("FRUSTA_FAULT_REPORT"))
        s.report = r;
    if (const char* slow = std::getenv("FRUSTA_FAULT_SLOW_RENAME_MS"))
        s.slowRenameMs = std::atol(slow);
    if (const char* h = std::getenv("FRUSTA_FAULT_HOOKS")) {
        std::vector<std::string> lines;
        splitInto(h, '\n', lines);
        for (const std::string& line : lines)
            if (const auto tab = line.find('\t'); tab != std::string::npos)
                s.hooks.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    s.owner = getpid();
}

// Never destroyed: the program may write and close files until its very end.
State& state() {
    static State* s = [] {
        auto* created = new State;
        configureFromEnvironment(*created);
        return created;
    }();
    return *s;
}

template <typename F> F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
#define REAL(name) static const auto real_##name = real<decltype(&::name)>(#name)

std::string absolute(int dirfd, const char* path) {
    if (!path)
        return {};
    if (path[0] == '/')
        return path;
    std::string base;
    if (dirfd == AT_FDCWD) {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd))
            base = cwd;
    } else {
        char link[64], target[4096];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
        const ssize_t n = readlink(link, target, sizeof target - 1);
        if (n > 0)
            base.assign(target, static_cast<std::size_t>(n));
    }
    return base + "/" + path;
}

bool isWatched(State& s, const std::string& path) {
    for (const std::string& w : s.watched)
        if (path == w ||
            (path.size() > w.size() && path.compare(0, w.size(), w) == 0 && path[w.size()] == '/'))
            return true;
    return false;
}

// Counts an operation; the errno it must fail with, or 0.
int decide(State& s, const char* kind, const std::string& path) {
    ++s.count;
    s.log.push_back(std::string(kind) + " " + path);
    const bool chosen = s.armedKind.empty() ? s.count == s.armedAt : s.armedKind == kind;
    if (chosen && s.armedErr != 0 && !s.fired) {
        s.fired = true;
        return s.armedErr;
    }
    return 0;
}

void setTrap(State& s, const std::string& action, const std::string& path) {
    s.trap = {action, path, getpid()};
}

// A child process that opens the trapped file is killed, or stalls until its parent kills it.
void springTrap(State& s, const std::string& path) {
    if (s.trap.action.empty() || s.trap.path != path || getpid() == s.trap.parent)
        return;
    if (s.trap.action == "kill")
        ::kill(getpid(), SIGKILL);
    if (s.trap.action == "stall")
        for (;;)
            pause();
}

// A hook command of this library itself: "@kill-children-opening PATH", "@stall-children-
// opening PATH" or "@spare-children"; false for a shell command.
bool runInternal(State& s, const std::string& command) {
    if (command.empty() || command[0] != '@')
        return false;
    const auto space = command.find(' ');
    const std::string verb = command.substr(1, space == std::string::npos ? space : space - 1);
    const std::string path = space == std::string::npos ? "" : command.substr(space + 1);
    if (verb == "kill-children-opening")
        setTrap(s, "kill", path);
    else if (verb == "stall-children-opening")
        setTrap(s, "stall", path);
    else
        setTrap(s, "", "");
    return true;
}

// Runs the hook for `path` once, with the variables of this library removed.
void runHooks(State& s, const std::string& path) {
    springTrap(s, path);
    for (Hook& hook : s.hooks) {
        if (hook.done || hook.path != path)
            continue;
        hook.done = true;
        if (runInternal(s, hook.command))
            continue;
        std::vector<char*> env;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "FRUSTA_FAULT_", 13) != 0 &&
                std::strncmp(*e, "LD_PRELOAD=", 11) != 0)
                env.push_back(*e);
        env.push_back(nullptr);
        const pid_t child = fork();
        if (child == 0) {
            const char* argv[] = {"sh", "-c", hook.command.c_str(), nullptr};
            execve("/bin/sh", const_cast<char* const*>(argv), env.data());
            _exit(127);
        }
        int status = 0;
        if (child > 0)
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
    }
}

void track(State& s, int fd, bool folder, bool writable, const std::string& path) {
    if (fd >= 0)
        s.fds[fd] = {folder, writable, path};
}

std::string pathOf(State& s, int fd) {
    const auto it = s.fds.find(fd);
    return it == s.fds.end() ? std::string() : it->second.path;
}

const Tracked* tracked(State& s, int fd) {
    const auto it = s.fds.find(fd);
    return it == s.fds.end() ? nullptr : &it->second;
}

// The errno of an injected failure on a write to `fd`, or 0.
int writeFault(int fd) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const Tracked* t = tracked(s, fd);
    return t && !t->folder ? decide(s, "write", t->path) : 0;
}

// A stream that failed stays in error, as after a real failure: ferror() reports it, its
// buffered data is lost and every later write fails too.
void breakStream(State& s, FILE* stream, int err) {
    s.broken[stream] = err;
    __fpurge(stream);
    stream->_flags |= _IO_ERR_SEEN;
}

int streamFault(FILE* stream, const char* kind) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (!stream || !s.files.count(stream))
        return 0;
    if (const auto it = s.broken.find(stream); it != s.broken.end())
        return it->second;
    const int err = decide(s, kind, pathOf(s, s.files[stream]));
    if (err)
        breakStream(s, stream, err);
    return err;
}

int openCommon(int dirfd, const char* path, int flags, mode_t mode,
               int (*open)(int, const char*, int, ...)) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const std::string full = absolute(dirfd, path);
    runHooks(s, full);
    const bool watched = isWatched(s, full);
    if (watched && (flags & O_CREAT))
        if (const int err = decide(s, "create", full)) {
            errno = err;
            return -1;
        }
    const int fd = open(dirfd, path, flags, mode);
    if (watched)
        track(s, fd, (flags & O_DIRECTORY) != 0, (flags & (O_WRONLY | O_RDWR | O_CREAT)) != 0,
              full);
    return fd;
}

FILE* openStream(const char* path, const char* mode, FILE* (*open)(const char*, const char*)) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const std::string full = absolute(AT_FDCWD, path);
    runHooks(s, full);
    const bool watched = isWatched(s, full);
    const bool writing = mode && (std::strchr(mode, 'w') || std::strchr(mode, 'a'));
    if (watched && writing)
        if (const int err = decide(s, "create", full)) {
            errno = err;
            return nullptr;
        }
    FILE* f = open(path, mode);
    if (f && watched && (writing || std::strchr(mode, '+'))) {
        s.files[f] = fileno(f);
        track(s, fileno(f), false, true, full);
    }
    return f;
}

int pathFault(const char* kind, int dirfd1, const char* p1, int dirfd2, const char* p2) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const std::string a = absolute(dirfd1, p1);
    const std::string b = p2 ? absolute(dirfd2, p2) : std::string();
    if (isWatched(s, a) || (p2 && isWatched(s, b)))
        return decide(s, kind, p2 ? a + " -> " + b : a);
    return 0;
}

int syncFault(int fd) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const Tracked* t = tracked(s, fd);
    if (!t)
        return 0;
    return decide(s, t->folder ? "dirsync" : "fsync", t->path);
}

// Forgets `fd`; the errno its close must report, or 0.
int closeFault(int fd) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const auto it = s.fds.find(fd);
    if (it == s.fds.end())
        return 0;
    const Tracked t = std::move(it->second);
    s.fds.erase(it);
    return t.writable && !t.folder ? decide(s, "close", t.path) : 0;
}

// Widens the moment in which a set of files is being put in place, so that two programs
// saving at once meet there.
void slowDown(const char* from, const char* to) {
    State& s = state();
    long ms = 0;
    {
        std::lock_guard lock(s.mutex);
        if (s.slowRenameMs > 0 &&
            (isWatched(s, absolute(AT_FDCWD, from)) || isWatched(s, absolute(AT_FDCWD, to))))
            ms = s.slowRenameMs;
    }
    if (ms > 0)
        usleep(static_cast<useconds_t>(ms * 1000));
}

int failWith(int err, int result) {
    errno = err;
    return result;
}

mode_t modeArgument(int flags, va_list ap) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE
               ? static_cast<mode_t>(va_arg(ap, int))
               : 0;
}

} // namespace

extern "C" {

void frusta_fault_reset(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.watched.clear();
    s.count = 0;
    s.armedAt = 0;
    s.armedErr = 0;
    s.armedKind.clear();
    s.fired = false;
    s.log.clear();
    setTrap(s, "", "");
}

void frusta_fault_trap_children(const char* action, const char* path) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    setTrap(s, action ? action : "", path ? path : "");
}

void frusta_fault_watch(const char* folder) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.watched.emplace_back(folder);
}

void frusta_fault_arm(long op, int err) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.count = 0;
    s.log.clear();
    s.fired = false;
    s.armedAt = op;
    s.armedErr = err;
    s.armedKind.clear();
}

void frusta_fault_arm_kind(const char* kind, int err) {
    frusta_fault_arm(0, err);
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.armedKind = kind;
}

long frusta_fault_count(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.count;
}

int frusta_fault_fired(void) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.fired ? 1 : 0;
}

const char* frusta_fault_describe(long op) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.described = op >= 1 && op <= static_cast<long>(s.log.size()) ? s.log[op - 1] : "";
    return s.described.c_str();
}

// ---- Creating ----

int open(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = modeArgument(flags, ap);
    va_end(ap);
    static const auto real_openat = real<int (*)(int, const char*, int, ...)>("openat");
    return openCommon(AT_FDCWD, path, flags, mode, real_openat);
}

int open64(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = modeArgument(flags, ap);
    va_end(ap);
    static const auto real_openat = real<int (*)(int, const char*, int, ...)>("openat64");
    return openCommon(AT_FDCWD, path, flags, mode, real_openat);
}

int openat(int dirfd, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = modeArgument(flags, ap);
    va_end(ap);
    static const auto real_openat = real<int (*)(int, const char*, int, ...)>("openat");
    return openCommon(dirfd, path, flags, mode, real_openat);
}

int openat64(int dirfd, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = modeArgument(flags, ap);
    va_end(ap);
    static const auto real_openat = real<int (*)(int, const char*, int, ...)>("openat64");
    return openCommon(dirfd, path, flags, mode, real_openat);
}

int __open_2(const char* path, int flags) {
    return open(path, flags);
}

int __open64_2(const char* path, int flags) {
    return open64(path, flags);
}

int creat(const char* path, mode_t mode) {
    return open(path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}

int creat64(const char* path, mode_t mode) {
    return open64(path, O_CREAT | O_WRONLY | O_TRUNC, mode);
}

static int makeTemp(char* pattern, int (*make)(char*, int), int flags) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const std::string full = absolute(AT_FDCWD, pattern);
    const bool watched = isWatched(s, full);
    if (watched)
        if (const int err = decide(s, "create", full))
            return failWith(err, -1);
    const int fd = make(pattern, flags);
    if (watched)
        track(s, fd, false, true, absolute(AT_FDCWD, pattern));
    return fd;
}

int mkstemp(char* pattern) {
    REAL(mkostemp);
    return makeTemp(pattern, real_mkostemp, 0);
}

int mkstemp64(char* pattern) {
    REAL(mkostemp64);
    return makeTemp(pattern, real_mkostemp64, 0);
}

int mkostemp(char* pattern, int flags) {
    REAL(mkostemp);
    return makeTemp(pattern, real_mkostemp, flags);
}

int mkostemp64(char* pattern, int flags) {
    REAL(mkostemp64);
    return makeTemp(pattern, real_mkostemp64, flags);
}

FILE* fopen(const char* path, const char* mode) {
    REAL(fopen);
    return openStream(path, mode, real_fopen);
}

FILE* fopen64(const char* path, const char* mode) {
    REAL(fopen64);
    return openStream(path, mode, real_fopen64);
}

FILE* fdopen(int fd, const char* mode) {
    REAL(fdopen);
    FILE* f = real_fdopen(fd, mode);
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (f && tracked(s, fd))
        s.files[f] = fd;
    return f;
}

int mkdir(const char* path, mode_t mode) {
    REAL(mkdir);
    if (const int err = pathFault("mkdir", AT_FDCWD, path, AT_FDCWD, nullptr))
        return failWith(err, -1);
    return real_mkdir(path, mode);
}

int link(const char* from, const char* to) {
    REAL(link);
    if (const int err = pathFault("link", AT_FDCWD, from, AT_FDCWD, to))
        return failWith(err, -1);
    return real_link(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    REAL(linkat);
    if (const int err = pathFault("link", fromDir, from, toDir, to))
        return failWith(err, -1);
    return real_linkat(fromDir, from, toDir, to, flags);
}

// ---- Writing ----

ssize_t write(int fd, const void* data, size_t n) {
    REAL(write);
    if (const int err = writeFault(fd))
        return failWith(err, -1);
    return real_write(fd, data, n);
}

ssize_t pwrite(int fd, const void* data, size_t n, off_t at) {
    REAL(pwrite);
    if (const int err = writeFault(fd))
        return failWith(err, -1);
    return real_pwrite(fd, data, n, at);
}

ssize_t pwrite64(int fd, const void* data, size_t n, off64_t at) {
    REAL(pwrite64);
    if (const int err = writeFault(fd))
        return failWith(err, -1);
    return real_pwrite64(fd, data, n, at);
}

ssize_t writev(int fd, const struct iovec* iov, int count) {
    REAL(writev);
    if (const int err = writeFault(fd))
        return failWith(err, -1);
    return real_writev(fd, iov, count);
}

size_t fwrite(const void* data, size_t size, size_t n, FILE* stream) {
    REAL(fwrite);
    if (const int err = streamFault(stream, "write"))
        return static_cast<size_t>(failWith(err, 0));
    return real_fwrite(data, size, n, stream);
}

int fputs(const char* text, FILE* stream) {
    REAL(fputs);
    if (const int err = streamFault(stream, "write"))
        return failWith(err, EOF);
    return real_fputs(text, stream);
}

int fputc(int c, FILE* stream) {
    REAL(fputc);
    if (const int err = streamFault(stream, "write"))
        return failWith(err, EOF);
    return real_fputc(c, stream);
}

int putc(int c, FILE* stream) {
    REAL(putc);
    if (const int err = streamFault(stream, "write"))
        return failWith(err, EOF);
    return real_putc(c, stream);
}

int vfprintf(FILE* stream, const char* format, va_list ap) {
    REAL(vfprintf);
    if (const int err = streamFault(stream, "write"))
        return failWith(err, -1);
    return real_vfprintf(stream, format, ap);
}

int fprintf(FILE* stream, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    const int n = vfprintf(stream, format, ap);
    va_end(ap);
    return n;
}

int __vfprintf_chk(FILE* stream, int flag, const char* format, va_list ap) {
    static const auto real_chk = real<int (*)(FILE*, int, const char*, va_list)>("__vfprintf_chk");
    if (const int err = streamFault(stream, "write"))
        return failWith(err, -1);
    return real_chk(stream, flag, format, ap);
}

int __fprintf_chk(FILE* stream, int flag, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    const int n = __vfprintf_chk(stream, flag, format, ap);
    va_end(ap);
    return n;
}

int fflush(FILE* stream) {
    REAL(fflush);
    if (const int err = streamFault(stream, "flush"))
        return failWith(err, EOF);
    return real_fflush(stream);
}

// ---- Flushing to disk, closing, renaming ----

int fsync(int fd) {
    REAL(fsync);
    if (const int err = syncFault(fd))
        return failWith(err, -1);
    return real_fsync(fd);
}

int fdatasync(int fd) {
    REAL(fdatasync);
    if (const int err = syncFault(fd))
        return failWith(err, -1);
    return real_fdatasync(fd);
}

int close(int fd) {
    REAL(close);
    const int err = closeFault(fd);
    const int result = real_close(fd);
    return err ? failWith(err, -1) : result;
}

int fclose(FILE* stream) {
    REAL(fclose);
    int err = 0;
    {
        State& s = state();
        std::lock_guard lock(s.mutex);
        if (const auto it = s.files.find(stream); it != s.files.end()) {
            const int fd = it->second;
            s.files.erase(it);
            err = closeFault(fd);
            if (const auto b = s.broken.find(stream); b != s.broken.end()) {
                err = b->second;
                __fpurge(stream);
                s.broken.erase(b);
            }
        }
    }
    const int result = real_fclose(stream);
    return err ? failWith(err, EOF) : result;
}

int rename(const char* from, const char* to) {
    REAL(rename);
    if (const int err = pathFault("rename", AT_FDCWD, from, AT_FDCWD, to))
        return failWith(err, -1);
    slowDown(from, to);
    return real_rename(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    REAL(renameat);
    if (const int err = pathFault("rename", fromDir, from, toDir, to))
        return failWith(err, -1);
    return real_renameat(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    REAL(renameat2);
    if (const int err = pathFault("rename", fromDir, from, toDir, to))
        return failWith(err, -1);
    return real_renameat2(fromDir, from, toDir, to, flags);
}

} // extern "C"

namespace {

// The report of a program controlled by the environment, written when it ends.
__attribute__((destructor)) void writeReport() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.report.empty() || getpid() != s.owner)
        return;
    std::string text = "ops " + std::to_string(s.count) + "\nfired " + (s.fired ? "1" : "0") + "\n";
    for (std::size_t i = 0; i < s.log.size(); ++i)
        text += std::to_string(i + 1) + " " + s.log[i] + "\n";
    static const auto real_openat = real<int (*)(int, const char*, int, ...)>("openat");
    REAL(write);
    REAL(close);
    const int fd = real_openat(AT_FDCWD, s.report.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t n = real_write(fd, text.data(), text.size());
        real_close(fd);
    }
}

} // namespace
