#include "refdb/ComError.h"

#include "refdb/AdoConstants.h"

#include <cstdio>

namespace frusta {

ComError::ComError(uint32_t code, std::string source, std::string description)
    : std::runtime_error(description), code_(code), source_(std::move(source)),
      description_(std::move(description)) {}

namespace {

// The texts the system message table holds for the codes this layer can report.
const char* systemMessage(uint32_t code) {
    switch (code) {
    case 0x80004001:
        return "Not implemented";
    case hr::E_FAIL:
        return "Unspecified error";
    case 0x8000FFFF:
        return "Catastrophic failure";
    case 0x80070002:
        return "The system cannot find the file specified.";
    case 0x80070005:
        return "Access is denied.";
    case hr::E_OUTOFMEMORY:
        return "Not enough storage is available to complete this operation.";
    case 0x80070057:
        return "The parameter is incorrect.";
    default:
        return nullptr;
    }
}

} // namespace

std::string codeMeaning(uint32_t code) {
    if (const char* text = systemMessage(code))
        return text;
    char buf[32];
    const uint32_t dispatchBase = 0x80040200;
    if (code >= dispatchBase && code < 0x80050000 && code != dispatchBase)
        std::snprintf(buf, sizeof buf, "IDispatch error #%d",
                      static_cast<int>(code - dispatchBase));
    else
        std::snprintf(buf, sizeof buf, "Unknown error 0x%0lX", static_cast<unsigned long>(code));
    return buf;
}

std::string formatComErrorReport(const char* className, const ComError& error) {
    char code[16];
    std::snprintf(code, sizeof code, "%08lx", static_cast<unsigned long>(error.code()));
    return std::string(className) + " Error\n\tCode = " + code +
           "\n\tCode meaning = " + codeMeaning(error.code()) + "\n\tSource = " + error.source() +
           "\n\tDescription = " + error.description() + "\n";
}

} // namespace frusta
