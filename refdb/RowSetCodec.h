#pragma once
// RowSetCodec: RowSets and lists of names as bytes, to carry them from the process that read
// a database file to the one that uses them. Both ends are the same program on the same
// machine, so numbers travel in the machine's own byte order. Decoding trusts nothing: the
// bytes may come from a process that went wrong.
#include "refdb/RowSet.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace frusta {

// The bytes are not an encoding made by the functions below.
class RowSetDecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most values (rows times fields, or rows) one RowSet may hold; a larger table is taken
// for damaged data rather than read into memory.
inline constexpr std::size_t kMaxRowSetValues = 5'000'000;

std::string encodeNames(const std::vector<std::string>& names);
std::vector<std::string> decodeNames(std::string_view bytes);

// Each value keeps its type and the member that type uses. Throws std::invalid_argument
// when a row does not hold one value per field or the set is larger than allowed.
std::string encodeRowSet(const RowSet& rows);
RowSet decodeRowSet(std::string_view bytes);

} // namespace frusta
