#include "workbook/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <unistd.h>
#include <utility>

namespace frusta {

namespace {

// Writes of a few megabytes at most, so that one call never holds the kernel for long.
constexpr std::size_t kMaxWrite = std::size_t{4} << 20;

std::string hiddenPattern(const std::string& folder, const std::string& name) {
    return folder + "/." + name + ".XXXXXX";
}

// Replaces the trailing XXXXXX of `pattern` with random letters and digits.
void randomise(std::string& pattern) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::minstd_rand engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    for (std::size_t i = pattern.size() - 6; i < pattern.size(); ++i)
        pattern[i] = kChars[pick(engine)];
}

} // namespace

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

int FileDescriptor::release() {
    return std::exchange(fd_, -1);
}

int FileDescriptor::close() {
    if (fd_ < 0)
        return 0;
    // The descriptor is gone even when close fails; it must not be closed again.
    return ::close(release()) == 0 ? 0 : errno;
}

int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), std::min(bytes.size(), kMaxWrite));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int syncDescriptor(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

FileDescriptor createUniqueFile(const std::string& folder, const std::string& name,
                                std::string& path) {
    path = hiddenPattern(folder, name);
    FileDescriptor fd(::mkstemp(path.data()));
    if (!fd)
        path.clear();
    return fd;
}

int linkUnique(const std::string& file, const std::string& folder, const std::string& name,
               std::string& linkPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = hiddenPattern(folder, name);
        randomise(candidate);
        if (::link(file.c_str(), candidate.c_str()) == 0) {
            linkPath = std::move(candidate);
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

} // namespace frusta
