#pragma once
// The recent-file list of the File menu: at most four paths, most recent first, each shown
// abbreviated to a fixed number of characters.
#include <cstddef>
#include <string>
#include <vector>

namespace frusta {

constexpr std::size_t kRecentFileCount = 4;
constexpr std::size_t kRecentFileDisplayLength = 30;

class RecentFileList {
public:
    explicit RecentFileList(std::vector<std::string> entries = {});

    // Puts `path` first; an entry for the same path moves up instead of repeating.
    void add(const std::string& path);
    // Drops the entry for `path` (after it could not be opened).
    void remove(const std::string& path);
    const std::vector<std::string>& entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

// A path shortened to at most `maxLength` characters for a menu: the whole path when it
// fits; else its first folder, "..." and as many trailing parts as fit; else the file name.
std::string abbreviatePath(const std::string& path, std::size_t maxLength);

// The menu text of recent-file entry `index` (0-based): "&1 name" with the abbreviated path.
std::string recentFileMenuText(std::size_t index, const std::string& path);

} // namespace frusta
