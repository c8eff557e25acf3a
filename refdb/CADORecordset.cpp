#include "refdb/CADORecordset.h"

#include "refdb/AdoConnection.h"
#include "refdb/AdoConstants.h"
#include "refdb/CADODatabase.h"
#include "refdb/ComError.h"
#include "refdb/VariantConvert.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>

namespace frusta {

namespace {

const char kSource[] = "ADODB.Recordset";

// The size in bytes ADO reports for a value: UTF-16 bytes for texts.
int32_t actualSizeOf(const Variant& v, int32_t definedSize) {
    switch (v.vt) {
    case VarType::Empty:
    case VarType::Null:
        return 0;
    case VarType::Bstr: {
        int32_t units = 0;
        for (unsigned char c : v.text) {
            if ((c & 0xC0) != 0x80)
                ++units;
            if ((c & 0xF8) == 0xF0)
                ++units; // a character outside the basic plane takes two UTF-16 units
        }
        return units * 2;
    }
    case VarType::Bytes:
        return static_cast<int32_t>(v.bytes.size());
    default:
        return definedSize;
    }
}

// Copies a name into the fixed field, cutting it at a character boundary.
void copyName(const std::string& name, char (&out)[30]) {
    std::size_t n = std::min(name.size(), sizeof out - 1);
    while (n > 0 && n < name.size() && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80)
        --n;
    std::memcpy(out, name.data(), n);
    out[n] = '\0';
}

} // namespace

CADORecordset::CADORecordset(CADODatabase& database) : connection(database.connectionObject()) {}

CADORecordset::~CADORecordset() {
    Close();
}

bool CADORecordset::Open(const std::string& source, int32_t option) {
    Close();
    if (!source.empty())
        query = source;
    query.erase(query.begin(), std::find_if(query.begin(), query.end(),
                                            [](unsigned char c) { return !std::isspace(c); }));
    if (option < openUnknown || option > openStoredProc)
        return false;
    try {
        if (!connection->isOpen())
            throw ComError(hr::ADO_E_INVALIDCONNECTION, kSource,
                           "The connection cannot be used to perform this operation. It is "
                           "either closed or invalid in this context.");
        DataProvider& provider = connection->provider();
        // A SELECT, or any text with openUnknown or openQuery, is run as a command of
        // unknown type, which also accepts a bare table name.
        const bool isSelect = query.size() >= 7 && strncasecmp(query.c_str(), "select ", 7) == 0 &&
                              option == openUnknown;
        if (isSelect || option == openUnknown || option == openQuery)
            recordset = provider.execute(query);
        else if (option == openTable)
            recordset = provider.openTable(query);
        else
            recordset = provider.callProcedure(query);
        openedGeneration = connection->generation();
        position = 0;
        return true;
    } catch (const ComError& e) {
        recordset.reset();
        ReportComError(e);
        return false;
    }
}

bool CADORecordset::IsOpen() const {
    return recordset.has_value() && connection && connection->isOpen() &&
           connection->generation() == openedGeneration;
}

void CADORecordset::Close() {
    recordset.reset();
    position = 0;
}

void CADORecordset::requireOpen() const {
    if (!IsOpen())
        throw ComError(hr::ADO_E_OBJECTCLOSED, kSource,
                       "Operation is not allowed when the object is closed.");
}

int32_t CADORecordset::GetRecordCount() const {
    requireOpen();
    return static_cast<int32_t>(recordset->rows.size());
}

int32_t CADORecordset::GetFieldCount() const {
    requireOpen();
    return static_cast<int32_t>(recordset->fields.size());
}

bool CADORecordset::GetFieldInfo(int index, FieldInfo& info) const {
    requireOpen();
    if (index < 0 || static_cast<std::size_t>(index) >= recordset->fields.size())
        throw ComError(hr::ADO_E_ITEMNOTFOUND, kSource,
                       "Item cannot be found in the collection corresponding to the requested "
                       "name or ordinal.");
    const FieldDesc& f = recordset->fields[static_cast<std::size_t>(index)];
    std::memset(&info, 0, sizeof info);
    copyName(f.name, info.name);
    info.type = f.type;
    info.definedSize = f.definedSize;
    info.attributes = f.attributes;
    if (!IsEof())
        info.actualSize =
            actualSizeOf(recordset->rows[position][static_cast<std::size_t>(index)], f.definedSize);
    return true;
}

void CADORecordset::MoveFirst() {
    requireOpen();
    position = 0;
}

void CADORecordset::MoveNext() {
    requireOpen();
    if (position >= recordset->rows.size())
        throw ComError(hr::ADO_E_BOFEOF, kSource,
                       "Either BOF or EOF is True, or the current record has been deleted. "
                       "Requested operation requires a current record.");
    ++position;
}

bool CADORecordset::IsEof() const {
    requireOpen();
    return position >= recordset->rows.size();
}

const Variant& CADORecordset::currentValue(int index) const {
    requireOpen();
    if (index < 0 || static_cast<std::size_t>(index) >= recordset->fields.size())
        throw ComError(hr::ADO_E_ITEMNOTFOUND, kSource,
                       "Item cannot be found in the collection corresponding to the requested "
                       "name or ordinal.");
    if (position >= recordset->rows.size())
        throw ComError(hr::ADO_E_BOFEOF, kSource,
                       "Either BOF or EOF is True, or the current record has been deleted. "
                       "Requested operation requires a current record.");
    return recordset->rows[position][static_cast<std::size_t>(index)];
}

template <typename Read> bool CADORecordset::readField(int index, Read read) {
    try {
        return read(currentValue(index));
    } catch (const ComError& e) {
        ReportComError(e);
        return false;
    }
}

bool CADORecordset::GetFieldValue(int index, double& out) {
    return readField(index, [&](const Variant& v) {
        out = variantToDouble(v);
        return true;
    });
}

bool CADORecordset::GetFieldValue(int index, long& out) {
    return readField(index, [&](const Variant& v) {
        out = variantToLong(v);
        return true;
    });
}

bool CADORecordset::GetFieldValue(int index, int& out) {
    return readField(index, [&](const Variant& v) {
        out = variantToInt(v);
        return true;
    });
}

bool CADORecordset::GetFieldValue(int index, bool& out) {
    return readField(index, [&](const Variant& v) { return variantToBool(v, out); });
}

bool CADORecordset::GetFieldValue(int index, std::string& out, const std::string& dateFormat) {
    return readField(index, [&](const Variant& v) { return variantToText(v, dateFormat, out); });
}

void CADORecordset::ReportComError(const ComError& error) {
    lastErrorDescription = error.description();
    lastError = "Query = " + query + "\n" + formatComErrorReport("CADORecordset", error);
    lastErrorCode = error.code();
}

} // namespace frusta
