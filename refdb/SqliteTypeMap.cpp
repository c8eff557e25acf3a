#include "refdb/SqliteTypeMap.h"

#include "refdb/AdoConstants.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <initializer_list>

namespace frusta {

namespace {

std::string normalised(const std::string& s) {
    std::string out;
    bool space = false;
    for (char c : s) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

bool oneOf(const std::string& name, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

// The first number inside parentheses, or `fallback`.
int32_t sizeArgument(const std::string& declared, int32_t fallback) {
    const auto open = declared.find('(');
    if (open == std::string::npos)
        return fallback;
    const long n = std::strtol(declared.c_str() + open + 1, nullptr, 10);
    return n > 0 && n < 0x40000000 ? static_cast<int32_t>(n) : fallback;
}

} // namespace

std::optional<AdoColumnType> adoTypeForDeclared(const std::string& declared) {
    const std::string full = normalised(declared);
    std::string base = full.substr(0, full.find('('));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    if (base.empty())
        return std::nullopt;
    using namespace ado;
    if (oneOf(base, {"SMALLINT", "INT2", "SHORT"}))
        return AdoColumnType{adSmallInt, 2};
    if (oneOf(base, {"INTEGER", "INT", "INT4", "LONG", "COUNTER"}))
        return AdoColumnType{adInteger, 4};
    if (oneOf(base, {"BIGINT", "INT8"}))
        return AdoColumnType{adBigInt, 8};
    if (oneOf(base, {"TINYINT", "BYTE"}))
        return AdoColumnType{adUnsignedTinyInt, 1};
    if (oneOf(base, {"SINGLE", "FLOAT4"}))
        return AdoColumnType{adSingle, 4};
    if (oneOf(base, {"DOUBLE", "DOUBLE PRECISION", "FLOAT", "FLOAT8", "REAL", "NUMBER"}))
        return AdoColumnType{adDouble, 8};
    if (oneOf(base, {"CURRENCY", "MONEY"}))
        return AdoColumnType{adCurrency, 8};
    if (oneOf(base, {"DATE", "DATETIME", "TIME", "TIMESTAMP"}))
        return AdoColumnType{adDate, 8};
    if (oneOf(base, {"BOOLEAN", "BOOL", "BIT", "YESNO", "LOGICAL"}))
        return AdoColumnType{adBoolean, 2};
    if (oneOf(base, {"VARCHAR", "NVARCHAR", "TEXT", "STRING", "CHARACTER VARYING",
                     "VARYING CHARACTER", "NATIVE CHARACTER"}))
        return AdoColumnType{adVarWChar, sizeArgument(full, 255)};
    if (oneOf(base, {"CHAR", "NCHAR", "CHARACTER"}))
        return AdoColumnType{adWChar, sizeArgument(full, 255)};
    if (oneOf(base, {"MEMO", "LONGTEXT", "LONGCHAR", "NOTE", "NTEXT", "CLOB"}))
        return AdoColumnType{adLongVarWChar, kLongTextDefinedSize};
    if (oneOf(base, {"BINARY", "VARBINARY"}))
        return AdoColumnType{adVarBinary, sizeArgument(full, 255)};
    if (oneOf(base, {"BLOB", "LONGBINARY", "OLEOBJECT", "IMAGE"}))
        return AdoColumnType{adLongVarBinary, 0x3FFFFFFF};
    if (oneOf(base, {"DECIMAL", "NUMERIC", "DEC"}))
        return AdoColumnType{adNumeric, 19};
    if (oneOf(base, {"GUID", "UNIQUEIDENTIFIER"}))
        return AdoColumnType{adGUID, 16};
    // SQLite's affinity rules, in their order.
    if (base.find("INT") != std::string::npos)
        return AdoColumnType{adInteger, 4};
    if (base.find("CHAR") != std::string::npos || base.find("CLOB") != std::string::npos ||
        base.find("TEXT") != std::string::npos)
        return AdoColumnType{adVarWChar, 255};
    if (base.find("BLOB") != std::string::npos)
        return AdoColumnType{adLongVarBinary, 0x3FFFFFFF};
    if (base.find("REAL") != std::string::npos || base.find("FLOA") != std::string::npos ||
        base.find("DOUB") != std::string::npos)
        return AdoColumnType{adDouble, 8};
    return std::nullopt;
}

AdoColumnType adoTypeForValues(const ValueKinds& k) {
    using namespace ado;
    if (k.text)
        return {adVarWChar, 255};
    if (k.blob)
        return {adLongVarBinary, 0x3FFFFFFF};
    if (k.real)
        return {adDouble, 8};
    if (k.wideInteger)
        return {adBigInt, 8};
    if (k.integer)
        return {adInteger, 4};
    return {adVarWChar, 255};
}

} // namespace frusta
