#include "refdb/SqliteBuilder.h"

#include <sqlite3.h>

#include <charconv>
#include <memory>
#include <system_error>

namespace frusta {

namespace {

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StmtFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

const char* declaredType(TsvType type) {
    switch (type) {
    case TsvType::Text:
        return "VARCHAR(255) COLLATE NOCASE";
    case TsvType::Memo:
        return "MEMO COLLATE NOCASE";
    case TsvType::Int:
        return "SMALLINT";
    case TsvType::Long:
        return "INTEGER";
    case TsvType::Single:
        return "SINGLE";
    case TsvType::Double:
        return "DOUBLE";
    case TsvType::Bool:
        return "BOOLEAN NOT NULL";
    case TsvType::Date:
        return "DATETIME";
    }
    return "TEXT";
}

void check(sqlite3* db, int rc, const std::string& what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw TsvError(what + ": " + sqlite3_errmsg(db));
}

void exec(sqlite3* db, const std::string& sql) {
    check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), sql);
}

void bindCell(sqlite3_stmt* st, int index, const std::string& cell, TsvType type) {
    if (cell.empty() && type != TsvType::Text) {
        sqlite3_bind_null(st, index);
        return;
    }
    switch (type) {
    case TsvType::Int:
    case TsvType::Long:
    case TsvType::Bool: {
        long long v = 0;
        std::from_chars(cell.data(), cell.data() + cell.size(), v);
        sqlite3_bind_int64(st, index, v);
        return;
    }
    case TsvType::Single:
    case TsvType::Double: {
        double v = 0;
        std::from_chars(cell.data(), cell.data() + cell.size(), v);
        sqlite3_bind_double(st, index, v);
        return;
    }
    default:
        sqlite3_bind_text(st, index, cell.data(), static_cast<int>(cell.size()), SQLITE_TRANSIENT);
    }
}

void writeTable(sqlite3* db, const TsvTable& table) {
    std::string create = "CREATE TABLE " + quoted(table.name) + " (";
    std::string insert = "INSERT INTO " + quoted(table.name) + " VALUES (";
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        create += (c ? ", " : "") + quoted(table.columns[c].name) + " " +
                  declaredType(table.columns[c].type);
        insert += c ? ", ?" : "?";
    }
    exec(db, create + ")");
    sqlite3_stmt* raw = nullptr;
    check(db, sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &raw, nullptr), insert);
    std::unique_ptr<sqlite3_stmt, StmtFinalizer> st(raw);
    for (const auto& row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c)
            bindCell(st.get(), static_cast<int>(c) + 1, row[c], table.columns[c].type);
        check(db, sqlite3_step(st.get()), "inserting into " + table.name);
        sqlite3_reset(st.get());
    }
}

} // namespace

void buildSqliteDatabase(const std::filesystem::path& file, const std::vector<TsvTable>& tables) {
    std::filesystem::path temp = file;
    temp += ".tmp";
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(temp.c_str(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        std::unique_ptr<sqlite3, DbCloser> db(raw);
        if (rc != SQLITE_OK)
            throw TsvError(temp.string() + ": cannot be created");
        exec(db.get(), "PRAGMA journal_mode = OFF");
        exec(db.get(), "BEGIN");
        for (const auto& table : tables)
            writeTable(db.get(), table);
        exec(db.get(), "COMMIT");
    }
    std::filesystem::rename(temp, file, ec);
    if (ec)
        throw TsvError(file.string() + ": cannot be written: " + ec.message());
}

} // namespace frusta
