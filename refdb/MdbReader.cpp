#include "refdb/MdbReader.h"

#include "refdb/MdbSession.h"
#include "refdb/RowSetCodec.h"

#include <algorithm>

namespace frusta {

namespace {

// Runs `work` isolated and returns its bytes; its failure becomes MdbReadError.
std::string isolated(const std::function<std::string()>& work, const IsolationLimits& limits) {
    IsolatedResult result = runIsolated(work, limits);
    if (result.status != IsolatedStatus::Returned)
        throw MdbReadError(result.reason);
    return std::move(result.bytes);
}

// Decodes what a child sent; bytes that do not decode are the child's fault, not the user's.
template <typename Decode>
auto decoded(const std::string& bytes, Decode decode) -> decltype(decode(bytes)) {
    try {
        return decode(bytes);
    } catch (const RowSetDecodeError&) {
        throw MdbReadError("reading it gave a malformed result");
    }
}

bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](unsigned char x, unsigned char y) { return lower(x) == lower(y); });
}

} // namespace

MdbReader::MdbReader(const std::filesystem::path& path, const IsolationLimits& limits)
    : path_(path), limits_(limits) {
    const std::string bytes =
        isolated([&] { return encodeNames(MdbSession(path_).tableNames()); }, limits_);
    tables_ = decoded(bytes, [](const std::string& b) { return decodeNames(b); });
}

std::optional<std::string> MdbReader::findTable(const std::string& name) const {
    for (const auto& t : tables_)
        if (equalsIgnoringAsciiCase(t, name))
            return t;
    return std::nullopt;
}

RowSet MdbReader::readTable(const std::string& storedName) const {
    if (std::find(tables_.begin(), tables_.end(), storedName) == tables_.end())
        throw MdbReadError("no table named " + storedName);
    const std::string bytes =
        isolated([&] { return encodeRowSet(MdbSession(path_).readTable(storedName)); }, limits_);
    return decoded(bytes, [](const std::string& b) { return decodeRowSet(b); });
}

} // namespace frusta
