#pragma once
// SqliteProvider: an SQLite file read through libsqlite3, opened read-only. Answers table
// names and any single statement that only reads. Column types reach the rest of the
// system as ADO codes (see SqliteTypeMap.h).
#include "refdb/DataProvider.h"

#include <filesystem>

struct sqlite3;

namespace frusta {

class SqliteProvider : public DataProvider {
public:
    // Throws ComError (0x80004005) when the file is missing, unreadable or not SQLite.
    explicit SqliteProvider(const std::filesystem::path& file);
    ~SqliteProvider() override;
    SqliteProvider(const SqliteProvider&) = delete;
    SqliteProvider& operator=(const SqliteProvider&) = delete;

    RowSet openTable(const std::string& name) override;
    RowSet execute(const std::string& text) override;
    RowSet callProcedure(const std::string& name) override;

private:
    RowSet run(const std::string& sql, const std::string& tableName);

    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
};

} // namespace frusta
