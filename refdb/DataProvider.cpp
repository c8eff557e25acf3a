#include "refdb/DataProvider.h"

#include "refdb/AccessProvider.h"
#include "refdb/AdoConstants.h"
#include "refdb/ComError.h"
#include "refdb/ConnectionString.h"
#include "refdb/SqliteProvider.h"

#include <strings.h>

namespace frusta {

std::unique_ptr<DataProvider> openDataProvider(const std::string& connectionString) {
    const ConnectionString cs(connectionString);
    const std::string provider = cs.provider();
    const std::filesystem::path file = cs.dataSource();
    if (strcasecmp(provider.c_str(), kJetProvider) == 0)
        return std::make_unique<AccessProvider>(AccessEngine::Jet4, file);
    if (strcasecmp(provider.c_str(), kAceProvider) == 0)
        return std::make_unique<AccessProvider>(AccessEngine::Ace12, file);
    if (strcasecmp(provider.c_str(), kSqliteProvider) == 0)
        return std::make_unique<SqliteProvider>(file);
    const std::string named = provider.empty()
                                  ? std::string("the connection string names no provider")
                                  : "'" + provider + "' is not one of " + kJetProvider + ", " +
                                        kAceProvider + " and " + kSqliteProvider;
    throw ComError(hr::ADO_E_PROVIDERNOTFOUND, "ADODB.Connection",
                   "Provider cannot be found. It may not be properly installed (" + named + ").");
}

} // namespace frusta
