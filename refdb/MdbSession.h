#pragma once
// MdbSession: an Access file (Jet 3, Jet 4 or ACE) open in libmdb, its user tables read into
// RowSets with the ADO type codes and values the OLE DB providers would give.
// libmdb trusts the file: damaged data can make it loop, exhaust memory or crash. A session
// is therefore only used inside an isolated child process; MdbReader is the safe interface.
#include "refdb/RowSet.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace frusta {

class MdbSession {
public:
    // Opens the file and reads its catalogue; throws MdbReadError when libmdb cannot.
    explicit MdbSession(const std::filesystem::path& path);
    ~MdbSession();
    MdbSession(const MdbSession&) = delete;
    MdbSession& operator=(const MdbSession&) = delete;

    // The names of the user tables, in catalogue order.
    std::vector<std::string> tableNames() const;

    // Every row of the user table of this exact name, in stored order. Throws MdbReadError.
    RowSet readTable(const std::string& storedName);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace frusta
