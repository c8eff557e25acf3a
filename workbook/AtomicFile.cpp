#include "workbook/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace frusta {

std::string describeErrno(int err) {
    switch (err) {
    case EACCES:
    case EPERM:
        return "permission denied";
    case ENOSPC:
    case EDQUOT:
        return "the disk is full";
    case EFBIG:
        return "the file is larger than the disk or the system's file size limit allows";
    case ENOENT:
    case ENOTDIR:
        return "the folder does not exist";
    case EROFS:
        return "the disk is read-only";
    case EISDIR:
        return "a folder of that name exists";
    case ENAMETOOLONG:
        return "the file name is too long";
    default:
        return std::strerror(err);
    }
}

bool writeAtomically(const std::string& target,
                     const std::function<bool(const std::string&, std::string&)>& write,
                     std::string& error) {
    namespace fs = std::filesystem;
    const fs::path targetPath(target);
    if (targetPath.filename().empty()) {
        error = "can't save '" + target + "': no file name";
        return false;
    }
    fs::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = ".";
    std::string pattern = (folder / ("." + targetPath.filename().string() + ".XXXXXX")).string();
    int fd = mkstemp(pattern.data());
    if (fd < 0) {
        error = "can't save '" + target + "': " + describeErrno(errno);
        return false;
    }
    ::close(fd);
    const std::string temp = pattern;
    auto fail = [&](const std::string& why) {
        ::unlink(temp.c_str());
        error = "can't save '" + target + "': " + why;
        return false;
    };
    std::string why;
    if (!write(temp, why))
        return fail(why.empty() ? "write failed" : why);
    // Flush to disk so that a full disk shows up here rather than after the rename.
    fd = ::open(temp.c_str(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        return fail(describeErrno(err));
    }
    ::close(fd);
    // Keep the permissions of a file being replaced; a new file gets the usual ones.
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return fail(describeErrno(EISDIR));
        ::chmod(temp.c_str(), st.st_mode & 07777);
        if (::access(target.c_str(), W_OK) != 0)
            return fail(describeErrno(EACCES));
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(temp.c_str(), 0666 & ~mask);
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0)
        return fail(describeErrno(errno));
    return true;
}

} // namespace frusta
