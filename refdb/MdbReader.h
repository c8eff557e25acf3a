#pragma once
// MdbReader: reads the user tables of an Access file (Jet 3, Jet 4 or ACE) through libmdb
// into RowSets, with the ADO type codes and values the OLE DB providers would give.
#include "refdb/RowSet.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace frusta {

// The file's contents cannot be read (damaged or hostile data).
class MdbReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class MdbReader {
public:
    // Opens the file and reads its catalogue; throws MdbReadError when libmdb cannot.
    explicit MdbReader(const std::filesystem::path& path);
    ~MdbReader();
    MdbReader(const MdbReader&) = delete;
    MdbReader& operator=(const MdbReader&) = delete;

    // The names of the user tables, in catalogue order.
    std::vector<std::string> tableNames() const;

    // The stored name of the user table whose name equals `name` without regard to case.
    std::optional<std::string> findTable(const std::string& name) const;

    // Every row of a table found by findTable, in stored order. Throws MdbReadError.
    RowSet readTable(const std::string& storedName);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace frusta
