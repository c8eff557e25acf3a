#include "app/RecentFileList.h"

#include <algorithm>

namespace frusta {

RecentFileList::RecentFileList(std::vector<std::string> entries) {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (!it->empty())
            add(*it);
}

void RecentFileList::add(const std::string& path) {
    remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kRecentFileCount)
        entries_.resize(kRecentFileCount);
}

void RecentFileList::remove(const std::string& path) {
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
}

namespace {

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '/') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

} // namespace

std::string abbreviatePath(const std::string& path, std::size_t maxLength) {
    if (path.size() <= maxLength)
        return path;
    const std::vector<std::string> parts = splitPath(path);
    const std::string& name = parts.back();
    if (parts.size() < 3)
        return name;
    // The first folder ("" for an absolute path), then "...", then trailing parts.
    const std::string head = parts[0] + "/...";
    std::string tail = "/" + name;
    if (head.size() + tail.size() > maxLength)
        return name;
    for (std::size_t i = parts.size() - 2; i >= 1; --i) {
        const std::string longer = "/" + parts[i] + tail;
        if (head.size() + longer.size() > maxLength)
            break;
        tail = longer;
    }
    return head + tail;
}

std::string recentFileMenuText(std::size_t index, const std::string& path) {
    std::string shown;
    for (char c : abbreviatePath(path, kRecentFileDisplayLength)) {
        shown += c;
        if (c == '&')
            shown += '&'; // a literal ampersand in a menu text
    }
    return "&" + std::to_string(index + 1) + " " + shown;
}

} // namespace frusta
