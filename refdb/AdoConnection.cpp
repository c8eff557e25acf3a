#include "refdb/AdoConnection.h"

#include "refdb/AdoConstants.h"
#include "refdb/ComError.h"

namespace frusta {

void AdoConnection::open(const std::string& connectionString) {
    if (provider_)
        throw ComError(hr::ADO_E_OBJECTCLOSED, "ADODB.Connection",
                       "Operation is not allowed when the object is open.");
    provider_ = openDataProvider(connectionString);
    ++generation_;
}

void AdoConnection::close() {
    provider_.reset();
}

DataProvider& AdoConnection::provider() {
    if (!provider_)
        throw ComError(hr::ADO_E_OBJECTCLOSED, "ADODB.Connection",
                       "Operation is not allowed when the object is closed.");
    return *provider_;
}

} // namespace frusta
