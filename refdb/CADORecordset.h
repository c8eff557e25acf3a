#pragma once
// CADORecordset: one result set read over a CADODatabase's connection: a table or a SELECT
// statement, walked from the first record to the last. Open and the GetFieldValue forms
// catch errors into lastError and return false; the other operations let a ComError pass.
#include "refdb/FieldInfo.h"
#include "refdb/RowSet.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace frusta {

class AdoConnection;
class CADODatabase;
class ComError;

class CADORecordset {
public:
    enum OpenOption : int32_t { openUnknown = 0, openQuery = 1, openTable = 2, openStoredProc = 3 };

    // The database must outlive the result set.
    explicit CADORecordset(CADODatabase& database);
    virtual ~CADORecordset();
    CADORecordset(const CADORecordset&) = delete;
    CADORecordset& operator=(const CADORecordset&) = delete;

    // Opens a table name or SQL text (an empty source reopens the previous one).
    bool Open(const std::string& source = {}, int32_t option = openUnknown);
    bool IsOpen() const;
    void Close();

    int32_t GetRecordCount() const;
    int32_t GetFieldCount() const;
    bool GetFieldInfo(int index, FieldInfo& info) const;

    void MoveFirst();
    void MoveNext();
    bool IsEof() const;

    // The value of the field at a 0-based position of the current record, converted to
    // the output's type. `long` carries a 32-bit value.
    bool GetFieldValue(int index, double& out);
    bool GetFieldValue(int index, long& out);
    bool GetFieldValue(int index, int& out);
    bool GetFieldValue(int index, bool& out);
    bool GetFieldValue(int index, std::string& out, const std::string& dateFormat = {});

    std::string GetLastErrorString() const { return lastError; }
    // The description part of the last error report alone.
    std::string GetLastErrorDescription() const { return lastErrorDescription; }
    std::string GetQuery() const { return query; }
    uint32_t GetLastErrorCode() const { return lastErrorCode; }

private:
    void ReportComError(const ComError& error);
    // The value at `index` of the current record; throws ComError.
    const Variant& currentValue(int index) const;
    // Reads the current record's field through `read`; a failure is reported and gives false.
    template <typename Read> bool readField(int index, Read read);
    // Throws ComError unless the result set is open.
    void requireOpen() const;

    std::shared_ptr<AdoConnection> connection;
    std::optional<RowSet> recordset;
    uint64_t openedGeneration = 0;
    std::size_t position = 0;
    std::string lastError;
    std::string lastErrorDescription;
    uint32_t lastErrorCode = 0;
    std::string query;
};

} // namespace frusta
