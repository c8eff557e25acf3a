#pragma once
// Safe saving: every file is written to a temporary file in its target's folder and flushed
// to disk; only then are the temporary files renamed over their targets and the folder is
// flushed. A failure at any step leaves every target as it was and no temporary file behind.
// Several files saved as one set are replaced all together or not at all.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace frusta {

// Fills the fresh, empty temporary file `tempPath` (for libraries that write files by
// name); false with a reason on failure.
using FileWriter = std::function<bool(const std::string& tempPath, std::string& error)>;

// Why a save failed: the file concerned and the reason, worded for a user.
struct SaveFailure {
    std::string target;
    std::string reason;
    // "can't save 'TARGET': REASON"
    std::string message() const;
};

// Files of one folder replaced together. Other programs saving the same names through this
// class are kept out while the set is put in place, so the folder always holds one whole set.
class AtomicFileSet {
public:
    void add(std::filesystem::path target, std::string bytes);
    // Bytes that the caller keeps unchanged until the set is committed.
    void addUnowned(std::filesystem::path target, std::string_view bytes);
    void add(std::filesystem::path target, FileWriter write);
    // A file of an earlier set that the new one has no part for: removed with the set.
    void remove(std::filesystem::path target);

    // Saves the set; on failure nothing has changed and the failure says why.
    std::optional<SaveFailure> commit();

private:
    struct Entry {
        std::filesystem::path target;
        std::string owned;                     // bytes kept by the set
        std::optional<std::string_view> bytes; // bytes kept by the caller
        bool ownsBytes = false;
        FileWriter write;
        bool removal = false;
    };
    std::vector<Entry> entries_;
};

// One file: `write` fills a temporary file beside `target`, which then replaces it.
bool writeAtomically(const std::string& target, const FileWriter& write, std::string& error);
// One file of the given bytes.
std::optional<SaveFailure> writeFileAtomically(const std::filesystem::path& target,
                                               std::string_view bytes);

// A reason for an errno value, worded for a user ("permission denied", "the disk is full").
std::string describeErrno(int err);

} // namespace frusta
