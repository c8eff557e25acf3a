#pragma once
// The ADO type code of an SQLite column, from its declared type, chosen as the Access
// providers would report a column of the corresponding Access type:
//   SMALLINT, INT2, SHORT                       adSmallInt (Access Integer)
//   INTEGER, INT, INT4, LONG, COUNTER           adInteger (Access Long Integer)
//   BIGINT, INT8                                adBigInt
//   TINYINT, BYTE                               adUnsignedTinyInt (Access Byte)
//   SINGLE, FLOAT4                              adSingle
//   DOUBLE, DOUBLE PRECISION, FLOAT, FLOAT8,
//   REAL, NUMBER                                adDouble (REAL is SQLite's 8-byte real)
//   CURRENCY, MONEY                             adCurrency
//   DATE, DATETIME, TIME, TIMESTAMP             adDate
//   BOOLEAN, BOOL, BIT, YESNO, LOGICAL          adBoolean (Access Yes/No)
//   VARCHAR(n), NVARCHAR(n), TEXT, STRING       adVarWChar, size n (255 without one)
//   CHAR(n), NCHAR(n), CHARACTER(n)             adWChar, size n (255 without one)
//   MEMO, LONGTEXT, LONGCHAR, NOTE, NTEXT, CLOB adLongVarWChar (Access Memo)
//   BINARY(n), VARBINARY(n)                     adVarBinary
//   BLOB, LONGBINARY, OLEOBJECT, IMAGE          adLongVarBinary
//   DECIMAL, NUMERIC, DEC                       adNumeric
//   GUID, UNIQUEIDENTIFIER                      adGUID
// Names compare without regard to case. Other declared types follow SQLite's affinity
// rules (INT -> adInteger, CHAR/CLOB/TEXT -> adVarWChar, BLOB -> adLongVarBinary,
// REAL/FLOA/DOUB -> adDouble); a column with no declared type, or another one, takes its
// type from its values.
#include <cstdint>
#include <optional>
#include <string>

namespace frusta {

struct AdoColumnType {
    int16_t type = 0;
    int32_t definedSize = 0;
};

std::optional<AdoColumnType> adoTypeForDeclared(const std::string& declared);

// The ADO type of a column without a usable declared type, from the SQLite storage classes
// of its values: integers only -> adInteger (adBigInt when one does not fit 32 bits),
// any real -> adDouble, any text -> adVarWChar, blobs -> adLongVarBinary; all Null ->
// adVarWChar.
struct ValueKinds {
    bool integer = false;
    bool wideInteger = false;
    bool real = false;
    bool text = false;
    bool blob = false;
};
AdoColumnType adoTypeForValues(const ValueKinds& kinds);

} // namespace frusta
