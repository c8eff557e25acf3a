#pragma once
// CADODatabase: one connection to the reference database. Open and Close it with a
// connection string "Provider=...;Data Source=PATH"; a failed Open leaves a fixed-form
// error report in lastError and returns false. Nothing here shows a message.
#include <cstdint>
#include <memory>
#include <string>

namespace frusta {

class AdoConnection;
class ComError;

class CADODatabase {
public:
    CADODatabase();
    virtual ~CADODatabase();
    CADODatabase(const CADODatabase&) = delete;
    CADODatabase& operator=(const CADODatabase&) = delete;

    // Closes an open connection first; a non-empty connection string replaces the stored
    // one. The user and password are passed on for completeness; the providers ignore them.
    bool Open(const std::string& connectionString = {}, const std::string& user = {},
              const std::string& password = {});
    bool IsOpen() const;
    void Close();

    std::string GetLastErrorString() const { return lastError; }
    std::string GetConnectionString() const { return connectionString; }
    std::string GetLastErrorDescription() const { return lastErrorDescription; }
    uint32_t GetLastErrorCode() const { return lastErrorCode; }

    // The connection object, shared with the result sets opened on it.
    const std::shared_ptr<AdoConnection>& connectionObject() const { return connection; }

private:
    void ReportComError(const ComError& error);

    std::shared_ptr<AdoConnection> connection;
    std::string connectionString;
    std::string lastError;
    std::string lastErrorDescription;
    uint32_t lastErrorCode = 0;
    int32_t connectionTimeout = 0; // seconds; 0 leaves the provider's default
};

} // namespace frusta
