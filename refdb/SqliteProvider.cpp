#include "refdb/SqliteProvider.h"

#include "refdb/AccessSelect.h"
#include "refdb/AdoConstants.h"
#include "refdb/ComError.h"
#include "refdb/DatabaseFile.h"
#include "refdb/SqliteTypeMap.h"
#include "refdb/VariantConvert.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

namespace frusta {

namespace {

const char kSource[] = "SQLite";

// Guards against hostile files: statements are stopped after this many progress calls
// (each one 1000 virtual machine steps), and results larger than this are refused.
constexpr int kMaxProgressCalls = 200'000;
constexpr std::size_t kMaxRows = 10'000'000;
// A program writing to the database holds it for a moment; a reading waits this long for it.
constexpr int kBusyTimeoutMs = 2000;

[[noreturn]] void fail(uint32_t code, const std::string& description) {
    throw ComError(code, kSource, description);
}

struct StatementDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// One value as SQLite stored it.
struct Cell {
    int storage = SQLITE_NULL;
    sqlite3_int64 integer = 0;
    double real = 0.0;
    std::string text; // text, or the bytes of a blob
};

Cell readCell(sqlite3_stmt* s, int col) {
    Cell c;
    c.storage = sqlite3_column_type(s, col);
    switch (c.storage) {
    case SQLITE_INTEGER:
        c.integer = sqlite3_column_int64(s, col);
        c.real = static_cast<double>(c.integer);
        break;
    case SQLITE_FLOAT:
        c.real = sqlite3_column_double(s, col);
        break;
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(s, col));
        c.text.assign(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(s, col)));
        return c;
    }
    default:
        break;
    }
    if (c.storage != SQLITE_NULL) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, col));
        c.text.assign(t ? t : "", static_cast<std::size_t>(sqlite3_column_bytes(s, col)));
    }
    return c;
}

bool isNumber(const Cell& c) {
    return c.storage == SQLITE_INTEGER || c.storage == SQLITE_FLOAT;
}

bool isWhole(const Cell& c, double lo, double hi) {
    return isNumber(c) && c.real == std::floor(c.real) && c.real >= lo && c.real <= hi;
}

// A value as it was stored, for a cell that does not fit its column's type.
Variant natural(const Cell& c) {
    switch (c.storage) {
    case SQLITE_INTEGER:
        return c.integer >= INT32_MIN && c.integer <= INT32_MAX
                   ? Variant::fromI4(static_cast<int32_t>(c.integer))
                   : Variant::fromI8(c.integer);
    case SQLITE_FLOAT:
        return Variant::fromR8(c.real);
    case SQLITE_TEXT:
        return Variant::fromText(c.text);
    case SQLITE_BLOB:
        return Variant::fromBytes(std::vector<uint8_t>(c.text.begin(), c.text.end()));
    default:
        return Variant::null();
    }
}

// "YYYY-MM-DD", optionally followed by " HH:MM" or "THH:MM:SS" and a fraction.
bool parseIsoDate(const std::string& text, double& oleDate) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &consumed) != 3)
        return false;
    if (consumed < static_cast<int>(text.size()) &&
        std::sscanf(text.c_str() + consumed + 1, "%2d:%2d:%2d", &h, &mi, &s) < 2)
        return false;
    if (y < 100 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 ||
        s > 59 || h < 0 || mi < 0 || s < 0)
        return false;
    oleDate = oleDateFromParts(y, mo, d, h, mi, s);
    return true;
}

Variant convert(const Cell& c, int16_t type) {
    if (c.storage == SQLITE_NULL)
        return Variant::null();
    using namespace ado;
    switch (type) {
    case adSmallInt:
        return isWhole(c, INT16_MIN, INT16_MAX) ? Variant::fromI2(static_cast<int16_t>(c.real))
                                                : natural(c);
    case adInteger:
        return isWhole(c, INT32_MIN, INT32_MAX) ? Variant::fromI4(static_cast<int32_t>(c.real))
                                                : natural(c);
    case adBigInt:
        return c.storage == SQLITE_INTEGER ? Variant::fromI8(c.integer) : natural(c);
    case adUnsignedTinyInt:
        return isWhole(c, 0, 255) ? Variant::fromUI1(static_cast<uint8_t>(c.real)) : natural(c);
    case adSingle:
        return isNumber(c) ? Variant::fromR4(static_cast<float>(c.real)) : natural(c);
    case adDouble:
        return isNumber(c) ? Variant::fromR8(c.real) : natural(c);
    case adCurrency:
        return isNumber(c) && std::fabs(c.real) < 9.2e14
                   ? Variant::fromCurrency(std::llround(c.real * 10000.0))
                   : natural(c);
    case adBoolean:
        return isNumber(c) ? Variant::fromBool(c.real != 0.0) : natural(c);
    case adDate: {
        double ole = 0.0;
        if (c.storage == SQLITE_TEXT && parseIsoDate(c.text, ole))
            return Variant::fromDate(ole);
        if (isNumber(c)) // SQLite keeps numeric dates as Julian day numbers
            return Variant::fromDate(c.real - 2415018.5);
        return natural(c);
    }
    case adNumeric: {
        Decimal d;
        return c.storage != SQLITE_BLOB && parseDecimal(c.text, d) ? Variant::fromDecimal(d)
                                                                   : natural(c);
    }
    case adVarBinary:
    case adLongVarBinary:
        return Variant::fromBytes(std::vector<uint8_t>(c.text.begin(), c.text.end()));
    default: // the text types
        return c.storage == SQLITE_BLOB ? natural(c) : Variant::fromText(c.text);
    }
}

int onProgress(void* counter) {
    return ++*static_cast<int*>(counter) > kMaxProgressCalls ? 1 : 0;
}

bool isLocked(int rc) {
    return (rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED;
}

[[noreturn]] void failLocked(const std::string& path) {
    fail(hr::E_FAIL, "The database '" + path +
                         "' is locked: another program is changing it. Try again when it has "
                         "finished.");
}

bool startsWith(const char* text, const char* prefix) {
    return text && std::string(text).rfind(prefix, 0) == 0;
}

} // namespace

SqliteProvider::SqliteProvider(const std::filesystem::path& file) : file_(file) {
    const std::string path = file.string();
    switch (databaseFileKind(file)) {
    case DatabaseFileKind::Missing:
        fail(hr::E_FAIL, "Could not find file '" + path + "'.");
    case DatabaseFileKind::Unreadable:
        fail(hr::E_FAIL, "The file '" + path +
                             "' cannot be opened: it is a folder, or it "
                             "cannot be read.");
    case DatabaseFileKind::SQLite:
        break;
    default:
        fail(hr::E_FAIL,
             "Unrecognized database format '" + path + "'. The file is not an SQLite database.");
    }
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        fail(hr::E_FAIL, "The file '" + path + "' cannot be opened: " + why + ".");
    }
    // A reference database is data: nothing in it may run code or change anything.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    char* error = nullptr;
    if (const int check =
            sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error);
        check != SQLITE_OK) {
        const std::string why = error ? error : "unknown error";
        sqlite3_free(error);
        sqlite3_close(db_);
        db_ = nullptr;
        if (isLocked(check))
            failLocked(path);
        fail(hr::E_FAIL, "Unrecognized database format '" + path +
                             "'. The file cannot be read as an SQLite database: " + why + ".");
    }
}

SqliteProvider::~SqliteProvider() {
    sqlite3_close(db_);
}

RowSet SqliteProvider::openTable(const std::string& name) {
    const auto bare = bareTableName(name);
    const std::string table = bare ? *bare : name;
    std::string quoted = "\"";
    for (char c : table)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return run("SELECT * FROM " + quoted + "\"", table);
}

RowSet SqliteProvider::execute(const std::string& text) {
    if (const auto bare = bareTableName(text))
        return openTable(*bare);
    return run(text, {});
}

RowSet SqliteProvider::callProcedure(const std::string& name) {
    fail(hr::DB_E_ERRORSINCOMMAND,
         "The procedure '" + name + "' cannot be run: SQLite has no stored procedures.");
}

RowSet SqliteProvider::run(const std::string& sql, const std::string& tableName) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()) + 1, &raw, &tail);
    Statement st(raw);
    if (isLocked(rc))
        failLocked(file_.string());
    if (rc != SQLITE_OK || !st) {
        const char* msg = rc != SQLITE_OK ? sqlite3_errmsg(db_) : "the statement is empty";
        if (startsWith(msg, "no such table")) {
            const std::string name = tableName.empty() ? std::string(msg + 15) : tableName;
            fail(hr::DB_E_NOTABLE, "Cannot find the input table or query '" + name +
                                       "'.  Make sure it exists and that its name is spelled "
                                       "correctly.");
        }
        if (startsWith(msg, "no such column"))
            fail(hr::DB_E_PARAMNOTOPTIONAL,
                 std::string("No value given for one or more required parameters: ") + msg + ".");
        fail(hr::DB_E_ERRORSINCOMMAND, std::string("Error in the statement: ") + msg + ".");
    }
    for (; tail && *tail; ++tail)
        if (*tail != ';' && !std::isspace(static_cast<unsigned char>(*tail)))
            fail(hr::DB_E_ERRORSINCOMMAND, "Error in the statement: only one statement can be "
                                           "run at a time.");
    if (!sqlite3_stmt_readonly(st.get()))
        fail(hr::DB_E_ERRORSINCOMMAND,
             "Error in the statement: the reference database is opened for reading only.");

    const int nCols = sqlite3_column_count(st.get());
    std::vector<std::vector<Cell>> cells;
    int progress = 0;
    sqlite3_progress_handler(db_, 1000, onProgress, &progress);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(st.get())) == SQLITE_ROW) {
        if (cells.size() >= kMaxRows)
            break;
        std::vector<Cell> row;
        row.reserve(static_cast<std::size_t>(nCols));
        for (int c = 0; c < nCols; ++c)
            row.push_back(readCell(st.get(), c));
        cells.push_back(std::move(row));
    }
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    if (step == SQLITE_ROW)
        fail(hr::E_FAIL, "The result has more rows than this program reads.");
    if (isLocked(step))
        failLocked(file_.string());
    if (step != SQLITE_DONE)
        fail(hr::E_FAIL, step == SQLITE_INTERRUPT
                             ? std::string("The statement took too long and was stopped.")
                             : "The database '" + file_.string() +
                                   "' cannot be read: " + sqlite3_errmsg(db_) + ".");

    RowSet out;
    for (int c = 0; c < nCols; ++c) {
        FieldDesc f;
        const char* name = sqlite3_column_name(st.get(), c);
        f.name = name ? name : "";
        const char* declared = sqlite3_column_decltype(st.get(), c);
        auto type = declared ? adoTypeForDeclared(declared) : std::nullopt;
        if (!type) {
            ValueKinds k;
            for (const auto& row : cells) {
                const Cell& cell = row[static_cast<std::size_t>(c)];
                k.integer |= cell.storage == SQLITE_INTEGER;
                k.wideInteger |= cell.storage == SQLITE_INTEGER &&
                                 (cell.integer < INT32_MIN || cell.integer > INT32_MAX);
                k.real |= cell.storage == SQLITE_FLOAT;
                k.text |= cell.storage == SQLITE_TEXT;
                k.blob |= cell.storage == SQLITE_BLOB;
            }
            type = adoTypeForValues(k);
        }
        f.type = type->type;
        f.definedSize = type->definedSize;
        f.attributes = ado::adFldIsNullable | ado::adFldMayBeNull;
        if (f.type != ado::adVarWChar && f.type != ado::adLongVarWChar &&
            f.type != ado::adVarBinary && f.type != ado::adLongVarBinary)
            f.attributes |= ado::adFldFixed;
        if (f.type == ado::adLongVarWChar || f.type == ado::adLongVarBinary)
            f.attributes |= ado::adFldLong;
        out.fields.push_back(f);
    }
    out.rows.reserve(cells.size());
    for (const auto& row : cells) {
        std::vector<Variant> values;
        values.reserve(row.size());
        for (std::size_t c = 0; c < row.size(); ++c)
            values.push_back(convert(row[c], out.fields[c].type));
        out.rows.push_back(std::move(values));
    }
    return out;
}

} // namespace frusta
