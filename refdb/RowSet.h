#pragma once
// RowSet: a result set as a provider delivers it, field descriptions and the rows of values.
#include "refdb/Variant.h"

#include <cstdint>
#include <string>
#include <vector>

namespace frusta {

struct FieldDesc {
    std::string name;
    int16_t type = 0;        // ADO data type code
    int32_t definedSize = 0; // as ADO reports it (characters for text, bytes otherwise)
    int32_t attributes = 0;  // ADO field attributes
};

struct RowSet {
    std::vector<FieldDesc> fields;
    std::vector<std::vector<Variant>> rows; // each row has one value per field
};

} // namespace frusta
