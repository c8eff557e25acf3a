#pragma once
// ComError: a failure inside the database layer as ADO would raise it: an HRESULT code,
// the source that raised it and a description. The operations that catch it turn it into
// the fixed-form error report; the others let it pass to their caller.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace frusta {

class ComError : public std::runtime_error {
public:
    ComError(uint32_t code, std::string source, std::string description);

    uint32_t code() const { return code_; }
    const std::string& source() const { return source_; }
    const std::string& description() const { return description_; }

private:
    uint32_t code_;
    std::string source_;
    std::string description_;
};

// The meaning of an error code as the system message table gives it; codes without a system
// text get "IDispatch error #%d" (dispatch range) or "Unknown error 0x%0lX".
std::string codeMeaning(uint32_t code);

// The report "<className> Error\n\tCode = ...\n\tCode meaning = ...\n\tSource = ...\n
// \tDescription = ...\n" for the given class name ("CADODataBase" or "CADORecordset").
std::string formatComErrorReport(const char* className, const ComError& error);

} // namespace frusta
