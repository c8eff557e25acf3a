#pragma once
// The ADO constants that travel through the database layer: data type codes of fields
// (DataTypeEnum), field attributes, object states and the HRESULT codes this layer reports.
#include <cstdint>

namespace frusta::ado {

// DataTypeEnum: the type code a field reports.
enum DataType : int16_t {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBSTR = 8,
    adBoolean = 11,
    adVariant = 12,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adBigInt = 20,
    adGUID = 72,
    adWChar = 130,
    adNumeric = 131,
    adVarBinary = 204,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adLongVarBinary = 205,
};

// FieldAttributeEnum values used here.
enum FieldAttribute : int32_t {
    adFldFixed = 0x10,
    adFldIsNullable = 0x20,
    adFldMayBeNull = 0x40,
    adFldLong = 0x80,
};

// The defined size ADO reports for long text (Memo) fields.
inline constexpr int32_t kLongTextDefinedSize = 536870910;

} // namespace frusta::ado

namespace frusta::hr {

// HRESULT codes reported by the providers and by the ADO layer itself.
inline constexpr uint32_t S_OK = 0x00000000;
inline constexpr uint32_t E_FAIL = 0x80004005;                  // unspecified error
inline constexpr uint32_t E_OUTOFMEMORY = 0x8007000E;           // allocation failed
inline constexpr uint32_t DB_E_ERRORSINCOMMAND = 0x80040E14;    // statement error
inline constexpr uint32_t DB_E_NOTABLE = 0x80040E37;            // table or query not found
inline constexpr uint32_t DB_E_PARAMNOTOPTIONAL = 0x80040E10;   // unknown column in a statement
inline constexpr uint32_t DB_E_CANTCONVERTVALUE = 0x80040E07;   // type mismatch in criteria
inline constexpr uint32_t ADO_E_BOFEOF = 0x800A0BCD;            // no current record
inline constexpr uint32_t ADO_E_ITEMNOTFOUND = 0x800A0CC1;      // no field at that position
inline constexpr uint32_t ADO_E_OBJECTCLOSED = 0x800A0E78;      // operation on a closed object
inline constexpr uint32_t ADO_E_INVALIDCONNECTION = 0x800A0E7D; // connection closed
inline constexpr uint32_t ADO_E_PROVIDERNOTFOUND = 0x800A0E7A;  // provider cannot be found

} // namespace frusta::hr
