#include "app/RememberedPaths.h"

#include "refdb/DatabaseFile.h"
#include "workbook/Book.h"

#include <unistd.h>

namespace frusta {

bool stillAWorkbook(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    return ::access(file.c_str(), R_OK) != 0 || looksLikeWorkbook(file.string());
}

bool stillADatabase(const std::filesystem::path& file) {
    switch (databaseFileKind(file)) {
    case DatabaseFileKind::Missing:
    case DatabaseFileKind::Unreadable:
    case DatabaseFileKind::Unknown:
        return false;
    default:
        return true;
    }
}

} // namespace frusta
