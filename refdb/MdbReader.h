#pragma once
// MdbReader: reads the user tables of an Access file (Jet 3, Jet 4 or ACE) into RowSets, with
// the ADO type codes and values the OLE DB providers would give. Any file is safe to give
// it: every libmdb call runs in a child process under limits of time and memory, so a
// damaged file that makes libmdb loop, exhaust memory or crash ends in MdbReadError.
#include "refdb/IsolatedCall.h"
#include "refdb/MdbReadError.h"
#include "refdb/RowSet.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace frusta {

class MdbReader {
public:
    // Opens the file and reads its catalogue; throws MdbReadError when that fails.
    explicit MdbReader(const std::filesystem::path& path, const IsolationLimits& limits = {});

    // The names of the user tables, in catalogue order.
    const std::vector<std::string>& tableNames() const { return tables_; }

    // The stored name of the user table whose name equals `name` without regard to case.
    std::optional<std::string> findTable(const std::string& name) const;

    // Every row of a table found by findTable, in stored order. Throws MdbReadError.
    RowSet readTable(const std::string& storedName) const;

private:
    std::filesystem::path path_;
    IsolationLimits limits_;
    std::vector<std::string> tables_;
};

} // namespace frusta
