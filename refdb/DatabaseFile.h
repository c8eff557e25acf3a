#pragma once
// Recognises the kind of a database file from its first bytes: Access (Jet 3, Jet 4 or ACE)
// or SQLite.
#include <filesystem>
#include <string>

namespace frusta {

enum class DatabaseFileKind {
    Missing,    // no such file
    Unreadable, // a folder, or the file cannot be read
    Unknown,    // readable, but neither Access nor SQLite
    Jet3,       // Access 97
    Jet4,       // Access 2000 to 2003
    Ace,        // Access 2007 and later (.accdb)
    SQLite,
};

DatabaseFileKind databaseFileKind(const std::filesystem::path& path);

bool isAccessKind(DatabaseFileKind kind);

} // namespace frusta
