#pragma once
// DataProvider: one open session on a data source, standing in for an OLE DB provider.
// Every operation throws ComError on failure.
#include "refdb/RowSet.h"

#include <memory>
#include <string>

namespace frusta {

class DataProvider {
public:
    virtual ~DataProvider() = default;

    // The rows of a table (a command of type adCmdTable).
    virtual RowSet openTable(const std::string& name) = 0;
    // The rows of a command text, or of a table when the text is a bare table name
    // (adCmdUnknown).
    virtual RowSet execute(const std::string& text) = 0;
    // The rows of a stored procedure (adCmdStoredProc).
    virtual RowSet callProcedure(const std::string& name) = 0;
};

// Opens the data source named by the connection string ("Provider=...;Data Source=PATH")
// with the provider it names: "Microsoft.Jet.OLEDB.4.0" (Jet 3 and Jet 4 files),
// "Microsoft.ACE.OLEDB.12.0" (those and ACE files) or "SQLite". Throws ComError.
std::unique_ptr<DataProvider> openDataProvider(const std::string& connectionString);

// The provider names, as a connection string writes them.
inline constexpr const char kJetProvider[] = "Microsoft.Jet.OLEDB.4.0";
inline constexpr const char kAceProvider[] = "Microsoft.ACE.OLEDB.12.0";
inline constexpr const char kSqliteProvider[] = "SQLite";

} // namespace frusta
