#include "refdb/CADODatabase.h"

#include "refdb/AdoConnection.h"
#include "refdb/ComError.h"

namespace frusta {

CADODatabase::CADODatabase() : connection(std::make_shared<AdoConnection>()) {}

CADODatabase::~CADODatabase() {
    Close();
}

bool CADODatabase::Open(const std::string& connString, const std::string&, const std::string&) {
    if (IsOpen())
        Close();
    if (!connString.empty())
        connectionString = connString;
    // connectionTimeout stays 0: the local providers have no time-out to set.
    (void)connectionTimeout;
    try {
        connection->open(connectionString);
        return true;
    } catch (const ComError& e) {
        ReportComError(e);
        return false;
    }
}

bool CADODatabase::IsOpen() const {
    return connection && connection->isOpen();
}

void CADODatabase::Close() {
    if (IsOpen())
        connection->close();
}

void CADODatabase::ReportComError(const ComError& error) {
    lastErrorDescription = error.description();
    lastError = "Connection String = " + connectionString + "\n" +
                formatComErrorReport("CADODataBase", error);
    lastErrorCode = error.code();
}

} // namespace frusta
