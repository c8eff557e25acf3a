#pragma once
// AdoConnection: the connection object a CADODatabase holds for its whole life and its
// result sets share. It is open while it holds a provider session; every open starts a new
// generation, so that result sets opened before a Close know they are closed too.
#include "refdb/DataProvider.h"

#include <cstdint>
#include <memory>
#include <string>

namespace frusta {

class AdoConnection {
public:
    // Opens the data source; throws ComError. An open connection must be closed first.
    void open(const std::string& connectionString);
    void close();
    bool isOpen() const { return provider_ != nullptr; }
    uint64_t generation() const { return generation_; }

    // The session; throws ComError (0x800A0E78) when the connection is closed.
    DataProvider& provider();

private:
    std::unique_ptr<DataProvider> provider_;
    uint64_t generation_ = 0;
};

} // namespace frusta
