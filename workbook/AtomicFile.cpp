#include "workbook/AtomicFile.h"

#include "workbook/FileDescriptor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace frusta {

namespace fs = std::filesystem;

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
    case EIO:
        return "the disk reported an error (input/output error)";
    default:
        return std::strerror(err);
    }
}

std::string SaveFailure::message() const {
    return "can't save '" + target + "': " + reason;
}

namespace {

// A filesystem without hard links (FAT, some network shares): the previous file is then
// moved aside instead of given a second name.
bool withoutHardLinks(int err) {
    return err == EPERM || err == EOPNOTSUPP || err == ENOSYS || err == EMLINK || err == EXDEV;
}

// Some filesystems cannot flush a folder and say so; the save has not failed.
bool folderSyncUnsupported(int err) {
    return err == EINVAL || err == EOPNOTSUPP;
}

// Permissions of a new file: those of the file it replaces, else the usual ones.
mode_t modeFor(const struct stat* previous) {
    if (previous)
        return previous->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// One file of the set on its way to its target.
struct Staged {
    std::string target;
    std::string name;
    std::optional<std::string_view> bytes;
    const FileWriter* write = nullptr;
    bool removal = false;
    bool skipped = false; // a removal that finds a folder under the name: left alone
    std::string temp;     // the new contents, until renamed over the target
    std::string backup;   // the previous file's second name, until the set is in place
    bool aside = false;   // no hard links: the previous file is renamed to `backup`
    bool moved = false;   // the previous file is at `backup` (aside) or gone (removal)
    bool placed = false;
};

class SetCommit {
public:
    SetCommit(std::string folder, std::vector<Staged> files)
        : folder_(std::move(folder)), files_(std::move(files)) {}
    ~SetCommit() { discard(); }
    SetCommit(const SetCommit&) = delete;
    SetCommit& operator=(const SetCommit&) = delete;

    std::optional<SaveFailure> run() {
        for (Staged& f : files_)
            if (!check(f))
                return failure_;
        for (Staged& f : files_)
            if (!f.removal && !stage(f))
                return failure_;
        lockFolder();
        for (Staged& f : files_)
            if (!keepPrevious(f))
                return failure_;
        for (Staged& f : files_)
            if (!place(f))
                return rollBack();
        if (const int err = syncFolder()) {
            fail(files_.front(), describeErrno(err));
            return rollBack();
        }
        return std::nullopt;
    }

private:
    bool fail(const Staged& f, std::string reason) {
        failure_ = SaveFailure{f.target, std::move(reason)};
        return false;
    }
    bool failErrno(const Staged& f, int err) { return fail(f, describeErrno(err)); }

    // Refused before anything is written: a folder under the name of a new file, a
    // read-only file under the name of any file of the set.
    bool check(Staged& f) {
        struct stat st {};
        if (::stat(f.target.c_str(), &st) != 0)
            return true;
        if (S_ISDIR(st.st_mode))
            return f.removal || failErrno(f, EISDIR);
        if (::access(f.target.c_str(), W_OK) != 0)
            return failErrno(f, EACCES);
        return true;
    }

    // The new contents in a temporary file beside the target, on disk.
    bool stage(Staged& f) {
        FileDescriptor fd = createUniqueFile(folder_, f.name, f.temp);
        if (!fd)
            return failErrno(f, errno);
        struct stat st {};
        const bool existed = ::stat(f.target.c_str(), &st) == 0;
        ::fchmod(fd.get(), modeFor(existed ? &st : nullptr));
        if (f.bytes) {
            if (const int err = writeAll(fd.get(), *f.bytes))
                return failErrno(f, err);
            return flushAndClose(f, fd);
        }
        if (const int err = fd.close())
            return failErrno(f, err);
        std::string why;
        if (!(*f.write)(f.temp, why))
            return fail(f, why.empty() ? "write failed" : why);
        // The writer closed the file itself: open it again to flush it to disk.
        fd = FileDescriptor(::open(f.temp.c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd)
            return failErrno(f, errno);
        return flushAndClose(f, fd);
    }

    bool flushAndClose(Staged& f, FileDescriptor& fd) {
        if (const int err = syncDescriptor(fd.get()))
            return failErrno(f, err);
        if (const int err = fd.close())
            return failErrno(f, err);
        return true;
    }

    // Other programs saving through this class into the folder wait until the set is in
    // place. Where the folder cannot be opened or locked the set is still saved, unguarded.
    void lockFolder() {
        folderFd_ = FileDescriptor(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folderFd_)
            while (::flock(folderFd_.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
    }

    // A second name for the file being replaced, to put it back if the set fails.
    bool keepPrevious(Staged& f) {
        struct stat st {};
        if (::lstat(f.target.c_str(), &st) != 0)
            return true;
        if (f.removal && S_ISDIR(st.st_mode)) {
            f.skipped = true;
            return true;
        }
        const int err = linkUnique(f.target, folder_, f.name, f.backup);
        if (err == 0)
            return true;
        if (!withoutHardLinks(err))
            return failErrno(f, err);
        FileDescriptor placeholder = createUniqueFile(folder_, f.name, f.backup);
        if (!placeholder)
            return failErrno(f, errno);
        f.aside = true;
        return true;
    }

    bool place(Staged& f) {
        if (f.skipped)
            return true;
        if (f.aside) {
            if (std::rename(f.target.c_str(), f.backup.c_str()) != 0)
                return failErrno(f, errno);
            f.moved = true;
        }
        if (f.removal) {
            if (!f.aside && !f.backup.empty()) {
                if (::unlink(f.target.c_str()) != 0)
                    return failErrno(f, errno);
                f.moved = true;
            }
        } else if (!f.temp.empty()) {
            if (std::rename(f.temp.c_str(), f.target.c_str()) != 0)
                return failErrno(f, errno);
            f.temp.clear();
        }
        f.placed = true;
        return true;
    }

    int syncFolder() {
        if (!folderFd_)
            return 0;
        const int err = syncDescriptor(folderFd_.get());
        return folderSyncUnsupported(err) ? 0 : err;
    }

    // Puts every previous file back and removes the new ones.
    std::optional<SaveFailure> rollBack() {
        for (auto it = files_.rbegin(); it != files_.rend(); ++it) {
            Staged& f = *it;
            const bool replaced = f.placed && !f.removal && !f.skipped;
            if (!f.backup.empty() && (replaced || f.moved)) {
                if (std::rename(f.backup.c_str(), f.target.c_str()) == 0)
                    f.backup.clear();
            } else if (replaced) {
                ::unlink(f.target.c_str());
            }
        }
        syncFolder();
        return failure_;
    }

    // Temporary files and second names that are left: gone, on success and on failure.
    void discard() {
        for (Staged& f : files_) {
            if (!f.temp.empty())
                ::unlink(f.temp.c_str());
            if (!f.backup.empty())
                ::unlink(f.backup.c_str());
        }
    }

    std::string folder_;
    std::vector<Staged> files_;
    FileDescriptor folderFd_;
    std::optional<SaveFailure> failure_;
};

std::string folderOf(const fs::path& target) {
    const fs::path folder = target.parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

} // namespace

void AtomicFileSet::add(fs::path target, std::string bytes) {
    Entry& e = entries_.emplace_back();
    e.target = std::move(target);
    e.owned = std::move(bytes);
    e.ownsBytes = true;
}

void AtomicFileSet::addUnowned(fs::path target, std::string_view bytes) {
    Entry& e = entries_.emplace_back();
    e.target = std::move(target);
    e.bytes = bytes;
}

void AtomicFileSet::add(fs::path target, FileWriter write) {
    Entry& e = entries_.emplace_back();
    e.target = std::move(target);
    e.write = std::move(write);
}

void AtomicFileSet::remove(fs::path target) {
    Entry& e = entries_.emplace_back();
    e.target = std::move(target);
    e.removal = true;
}

std::optional<SaveFailure> AtomicFileSet::commit() {
    if (entries_.empty())
        return std::nullopt;
    const std::string folder = folderOf(entries_.front().target);
    std::vector<Staged> files;
    for (const Entry& e : entries_) {
        Staged f;
        f.target = e.target.string();
        f.name = e.target.filename().string();
        if (f.name.empty())
            return SaveFailure{f.target, "no file name"};
        if (folderOf(e.target) != folder)
            return SaveFailure{f.target, "the files of one set must be in one folder"};
        if (e.ownsBytes)
            f.bytes = std::string_view(e.owned);
        else
            f.bytes = e.bytes;
        f.write = e.write ? &e.write : nullptr;
        f.removal = e.removal;
        files.push_back(std::move(f));
    }
    return SetCommit(folder, std::move(files)).run();
}

bool writeAtomically(const std::string& target, const FileWriter& write, std::string& error) {
    AtomicFileSet set;
    set.add(target, write);
    if (const auto failure = set.commit()) {
        error = failure->message();
        return false;
    }
    return true;
}

std::optional<SaveFailure> writeFileAtomically(const fs::path& target, std::string_view bytes) {
    AtomicFileSet set;
    set.addUnowned(target, bytes);
    return set.commit();
}

} // namespace frusta
