#pragma once
// The few file operations of saving, each checked: a descriptor that is closed once, writes
// that go on until every byte is taken, and names that no other file has yet.
#include <string>
#include <string_view>

namespace frusta {

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release();
    // Closes the descriptor; 0 or the errno of a failed close (the data may then be lost).
    int close();

private:
    int fd_ = -1;
};

// Writes every byte; 0 or the errno of the failure.
int writeAll(int fd, std::string_view bytes);
// Flushes the file or folder to disk; 0 or the errno of the failure.
int syncDescriptor(int fd);

// A new empty file "<folder>/.<name>.XXXXXX" with a name of its own; its path is stored in
// `path`. An invalid descriptor (errno set) on failure.
FileDescriptor createUniqueFile(const std::string& folder, const std::string& name,
                                std::string& path);
// A second name for `file` that no other file has: a hard link "<folder>/.<name>.XXXXXX";
// 0 or the errno of the failure.
int linkUnique(const std::string& file, const std::string& folder, const std::string& name,
               std::string& linkPath);

} // namespace frusta
