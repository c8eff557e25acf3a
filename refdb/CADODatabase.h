#pragma once
// Placeholder until the database access layer lands.
#include <string>

namespace frusta {

class CADODatabase {
public:
    virtual ~CADODatabase() = default;
    bool Open(const std::string&, const std::string& = {}, const std::string& = {}) { return false; }
    void Close() {}
    std::string GetLastErrorString() const { return {}; }
};

} // namespace frusta
