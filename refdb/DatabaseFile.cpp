#include "refdb/DatabaseFile.h"

#include <array>
#include <cstring>
#include <fstream>

namespace frusta {

namespace {

// The header of an Access file: a 4-byte magic, the engine name, then the version byte.
constexpr std::array<unsigned char, 4> kAccessMagic = {0x00, 0x01, 0x00, 0x00};
constexpr const char kJetName[] = "Standard Jet DB";
constexpr const char kAceName[] = "Standard ACE DB";
constexpr std::size_t kVersionOffset = 0x14;
constexpr const char kSqliteMagic[] = "SQLite format 3"; // followed by a NUL byte

DatabaseFileKind accessKind(const unsigned char* head, std::size_t n) {
    if (n <= kVersionOffset || std::memcmp(head, kAccessMagic.data(), kAccessMagic.size()) != 0)
        return DatabaseFileKind::Unknown;
    const char* name = reinterpret_cast<const char*>(head + 4);
    const unsigned version = head[kVersionOffset];
    if (std::memcmp(name, kJetName, sizeof kJetName) == 0) {
        if (version == 0)
            return DatabaseFileKind::Jet3;
        if (version == 1)
            return DatabaseFileKind::Jet4;
        return DatabaseFileKind::Unknown;
    }
    // ACE files carry their own engine name; Access 2007 to 2019 versions are 2 to 6.
    if (std::memcmp(name, kAceName, sizeof kAceName) == 0 && version >= 2 && version <= 6)
        return DatabaseFileKind::Ace;
    return DatabaseFileKind::Unknown;
}

} // namespace

DatabaseFileKind databaseFileKind(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return DatabaseFileKind::Missing;
    if (!std::filesystem::is_regular_file(status))
        return DatabaseFileKind::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return DatabaseFileKind::Unreadable;
    unsigned char head[32] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    const auto n = static_cast<std::size_t>(in.gcount());
    if (n >= sizeof kSqliteMagic && std::memcmp(head, kSqliteMagic, sizeof kSqliteMagic) == 0)
        return DatabaseFileKind::SQLite;
    return accessKind(head, n);
}

bool isAccessKind(DatabaseFileKind kind) {
    return kind == DatabaseFileKind::Jet3 || kind == DatabaseFileKind::Jet4 ||
           kind == DatabaseFileKind::Ace;
}

} // namespace frusta
