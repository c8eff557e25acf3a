#pragma once
// MdbReadError: the contents of an Access file cannot be read (damaged or hostile data).
// The message is a plain reason that completes "The file is damaged: ...".
#include <stdexcept>

namespace frusta {

class MdbReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace frusta
