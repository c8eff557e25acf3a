#pragma once
// FieldInfo: the description of one field of a result set, filled by
// CADORecordset::GetFieldInfo.
#include <cstdint>

namespace frusta {

struct FieldInfo {
    char name[30];       // the field's name, cut to 29 bytes (at a character boundary)
    int16_t type;        // ADO data type code
    int32_t actualSize;  // size of the current value; 0 at the end of the result set
    int32_t definedSize; // the field's defined size
    int32_t attributes;  // ADO field attributes
};

} // namespace frusta
