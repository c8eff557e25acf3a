#include "refdb/MdbSession.h"

#include "refdb/AdoConstants.h"
#include "refdb/MdbReadError.h"
#include "refdb/RowSetCodec.h"

// mdbtools.h includes these inside its extern "C" block; they must come first.
#include <glib.h>
#include <iconv.h>
#include <locale.h>

#include <mdbtools.h>

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace frusta {

namespace {

// Column types of newer Access versions that mdbtools.h does not name.
constexpr int kMdbBigInt = 0x13;

// Texts and memos longer than this many bytes are cut.
constexpr std::size_t kBindSize = 65536;

struct TableDefDeleter {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using TableDefPtr = std::unique_ptr<MdbTableDef, TableDefDeleter>;

struct GFreeDeleter {
    void operator()(char* p) const { g_free(p); }
};
using GString = std::unique_ptr<char, GFreeDeleter>;

uint64_t readLittleEndian(const unsigned char* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// The ADO description of an Access column, as the Jet and ACE providers report it.
FieldDesc describe(const MdbColumn* col, bool jet3) {
    FieldDesc f;
    f.name = col->name;
    f.attributes = ado::adFldIsNullable | ado::adFldMayBeNull;
    switch (col->col_type) {
    case MDB_BOOL:
        f.type = ado::adBoolean;
        f.definedSize = 2;
        f.attributes = 0; // Yes/No fields cannot hold a Null
        break;
    case MDB_BYTE:
        f.type = ado::adUnsignedTinyInt;
        f.definedSize = 1;
        break;
    case MDB_INT:
        f.type = ado::adSmallInt;
        f.definedSize = 2;
        break;
    case MDB_LONGINT:
        f.type = ado::adInteger;
        f.definedSize = 4;
        break;
    case MDB_MONEY:
        f.type = ado::adCurrency;
        f.definedSize = 8;
        break;
    case MDB_FLOAT:
        f.type = ado::adSingle;
        f.definedSize = 4;
        break;
    case MDB_DOUBLE:
        f.type = ado::adDouble;
        f.definedSize = 8;
        break;
    case MDB_DATETIME:
        f.type = ado::adDate;
        f.definedSize = 8;
        break;
    case MDB_BINARY:
        f.type = ado::adVarBinary;
        f.definedSize = col->col_size;
        break;
    case MDB_TEXT:
        f.type = ado::adVarWChar;
        f.definedSize = jet3 ? col->col_size : col->col_size / 2; // Jet 4 stores UCS-2
        break;
    case MDB_OLE:
        f.type = ado::adLongVarBinary;
        f.definedSize = 0x3FFFFFFF;
        f.attributes |= ado::adFldLong;
        break;
    case MDB_MEMO:
        f.type = ado::adLongVarWChar;
        f.definedSize = ado::kLongTextDefinedSize;
        f.attributes |= ado::adFldLong;
        break;
    case MDB_REPID:
        f.type = ado::adGUID;
        f.definedSize = 16;
        break;
    case MDB_NUMERIC:
        f.type = ado::adNumeric;
        f.definedSize = 19;
        break;
    case kMdbBigInt:
        f.type = ado::adBigInt;
        f.definedSize = 8;
        break;
    default: // attachments, multi-valued and other complex fields
        f.type = ado::adVariant;
        f.definedSize = 0;
        break;
    }
    if (f.type != ado::adVarWChar && f.type != ado::adLongVarWChar && f.type != ado::adVarBinary &&
        f.type != ado::adLongVarBinary && f.type != ado::adVariant)
        f.attributes |= ado::adFldFixed;
    return f;
}

// The fixed number of bytes a column of this type occupies, 0 for variable-length types.
int fixedSize(int colType) {
    switch (colType) {
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
    case MDB_FLOAT:
        return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME:
    case kMdbBigInt:
        return 8;
    case MDB_REPID:
        return 16;
    case MDB_NUMERIC:
        return 17;
    default:
        return 0;
    }
}

std::string convertedText(MdbHandle* mdb, int start, int colType, int size) {
    GString s(mdb_col_to_string(mdb, mdb->pg_buf, start, colType, size));
    return s ? std::string(s.get()) : std::string();
}

Variant readValue(MdbHandle* mdb, const MdbColumn* col, const MdbField& f) {
    if (col->col_type == MDB_BOOL)
        return Variant::fromBool(!f.is_null); // a Yes/No value lives in the null mask
    if (f.is_null)
        return Variant::null();
    const auto pageSize = static_cast<int>(mdb->fmt->pg_size);
    if (f.start < 0 || f.siz < 0 || f.start > pageSize || f.siz > pageSize - f.start ||
        pageSize > MDB_PGSIZE)
        throw MdbReadError("a row lies outside its page");
    const int need = fixedSize(col->col_type);
    if (f.siz < need)
        throw MdbReadError("a value is shorter than its type");
    const unsigned char* p = mdb->pg_buf + f.start;
    switch (col->col_type) {
    case MDB_BYTE:
        return Variant::fromUI1(p[0]);
    case MDB_INT:
        return Variant::fromI2(static_cast<int16_t>(readLittleEndian(p, 2)));
    case MDB_LONGINT:
        return Variant::fromI4(static_cast<int32_t>(readLittleEndian(p, 4)));
    case kMdbBigInt:
        return Variant::fromI8(static_cast<int64_t>(readLittleEndian(p, 8)));
    case MDB_MONEY:
        return Variant::fromCurrency(static_cast<int64_t>(readLittleEndian(p, 8)));
    case MDB_FLOAT: {
        const auto bits = static_cast<uint32_t>(readLittleEndian(p, 4));
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return Variant::fromR4(v);
    }
    case MDB_DOUBLE:
    case MDB_DATETIME: {
        const uint64_t bits = readLittleEndian(p, 8);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return col->col_type == MDB_DOUBLE ? Variant::fromR8(v) : Variant::fromDate(v);
    }
    case MDB_BINARY:
        return Variant::fromBytes(std::vector<uint8_t>(p, p + f.siz));
    case MDB_TEXT:
    case MDB_MEMO:
        return Variant::fromText(convertedText(mdb, f.start, col->col_type, f.siz));
    case MDB_REPID: {
        GString s(mdb_uuid_to_string(mdb->pg_buf, f.start));
        return Variant::fromText(s ? s.get() : "");
    }
    case MDB_NUMERIC: {
        GString s(mdb_numeric_to_string(mdb, f.start, col->col_scale, col->col_prec));
        Decimal d;
        if (!s || !parseDecimal(s.get(), d))
            return Variant::null();
        return Variant::fromDecimal(d);
    }
    default: // OLE objects and complex fields are not read
        return Variant::null();
    }
}

} // namespace

struct MdbSession::Impl {
    MdbHandle* mdb = nullptr;
    std::vector<MdbCatalogEntry*> tables;

    ~Impl() {
        if (mdb)
            mdb_close(mdb);
    }
};

MdbSession::MdbSession(const std::filesystem::path& path) : impl_(std::make_unique<Impl>()) {
    // libmdb converts texts to the character set named by MDBICONV; the rest of the
    // system expects UTF-8.
    if (const char* cs = std::getenv("MDBICONV"); cs && strcasecmp(cs, "UTF-8") != 0)
        setenv("MDBICONV", "UTF-8", 1);
    impl_->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!impl_->mdb)
        throw MdbReadError("the file cannot be opened as an Access database");
    mdb_set_bind_size(impl_->mdb, kBindSize);
    if (!mdb_read_catalog(impl_->mdb, MDB_TABLE))
        throw MdbReadError("the catalogue of the database cannot be read");
    GPtrArray* catalog = impl_->mdb->catalog;
    for (guint i = 0; catalog && i < catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
        if (entry && mdb_is_user_table(entry))
            impl_->tables.push_back(entry);
    }
}

MdbSession::~MdbSession() = default;

std::vector<std::string> MdbSession::tableNames() const {
    std::vector<std::string> names;
    for (const auto* e : impl_->tables)
        names.emplace_back(e->object_name);
    return names;
}

RowSet MdbSession::readTable(const std::string& storedName) {
    MdbCatalogEntry* entry = nullptr;
    for (auto* e : impl_->tables)
        if (storedName == e->object_name)
            entry = e;
    if (!entry)
        throw MdbReadError("no table named " + storedName);
    MdbHandle* mdb = impl_->mdb;
    TableDefPtr table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get()) || !table->columns ||
        table->columns->len != table->num_cols || table->num_cols > MDB_MAX_COLS)
        throw MdbReadError("the definition of table " + storedName + " cannot be read");

    const bool jet3 = mdb->f->jet_version == MDB_VER_JET3;
    const unsigned nCols = table->num_cols;
    std::vector<const MdbColumn*> columns(nCols);
    RowSet out;
    for (unsigned c = 0; c < nCols; ++c) {
        columns[c] = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, c));
        out.fields.push_back(describe(columns[c], jet3));
    }

    std::vector<MdbField> fields(nCols + 1);
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        if (out.rows.size() >= kMaxRowSetValues / std::max(1u, nCols))
            throw MdbReadError("table " + storedName + " has too many rows");
        // mdb_fetch_row has just read row cur_row - 1 of the page in pg_buf; split it into
        // its fields again to see the null mask and the value positions.
        int start = 0;
        size_t length = 0;
        if (table->cur_row == 0 ||
            mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &length) != 0)
            throw MdbReadError("a row of table " + storedName + " cannot be found");
        std::fill(fields.begin(), fields.end(), MdbField{});
        // The count is that of the columns stored in the row; columns added to the table
        // later read as Null.
        if (mdb_crack_row(table.get(), start, length, fields.data()) <= 0)
            throw MdbReadError("a row of table " + storedName + " cannot be read");
        std::vector<Variant> row;
        row.reserve(nCols);
        for (unsigned c = 0; c < nCols; ++c)
            row.push_back(readValue(mdb, columns[c], fields[c]));
        out.rows.push_back(std::move(row));
    }
    return out;
}

} // namespace frusta
