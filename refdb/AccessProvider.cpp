#include "refdb/AccessProvider.h"

#include "refdb/AccessSelect.h"
#include "refdb/AdoConstants.h"
#include "refdb/ComError.h"
#include "refdb/DatabaseFile.h"

#include <system_error>

namespace frusta {

namespace {

IsolationLimits& readLimits() {
    static IsolationLimits limits;
    return limits;
}

} // namespace

IsolationLimits accessReadLimits() {
    return readLimits();
}

void setAccessReadLimits(const IsolationLimits& limits) {
    readLimits() = limits;
}

AccessProvider::AccessProvider(AccessEngine engine, const std::filesystem::path& file)
    : engine_(engine), file_(file) {
    const std::string path = file.string();
    switch (databaseFileKind(file)) {
    case DatabaseFileKind::Missing:
        fail(hr::E_FAIL, "Could not find file '" + path + "'.");
    case DatabaseFileKind::Unreadable:
        fail(hr::E_FAIL,
             "The file '" + path + "' cannot be opened: it is a folder, or it cannot be read.");
    case DatabaseFileKind::Unknown:
    case DatabaseFileKind::SQLite:
        fail(hr::E_FAIL,
             "Unrecognized database format '" + path + "'. The file is not an Access database.");
    case DatabaseFileKind::Ace:
        if (engine == AccessEngine::Jet4)
            fail(hr::E_FAIL, "Unrecognized database format '" + path +
                                 "'. The file is in the Access 2007 or later (ACE) format, "
                                 "which the " +
                                 kJetProvider + " provider does not read.");
        break;
    case DatabaseFileKind::Jet3:
    case DatabaseFileKind::Jet4:
        break;
    }
    try {
        reader_ = std::make_unique<MdbReader>(file, accessReadLimits());
    } catch (const MdbReadError& e) {
        fail(hr::E_FAIL,
             "Unrecognized database format '" + path + "'. The file is damaged: " + e.what() + ".");
    } catch (const std::system_error& e) {
        failToRead(e);
    }
}

std::string AccessProvider::source() const {
    return engine_ == AccessEngine::Jet4 ? "Microsoft JET Database Engine"
                                         : "Microsoft Office Access Database Engine";
}

void AccessProvider::fail(uint32_t code, const std::string& description) const {
    throw ComError(code, source(), description);
}

RowSet AccessProvider::readTable(const std::string& name) {
    const auto stored = reader_->findTable(name);
    if (!stored) {
        const char* engine = engine_ == AccessEngine::Jet4
                                 ? "The Microsoft Jet database engine"
                                 : "The Microsoft Office Access database engine";
        fail(hr::DB_E_NOTABLE, std::string(engine) + " cannot find the input table or query '" +
                                   name +
                                   "'.  Make sure it exists and that its name is spelled "
                                   "correctly.");
    }
    try {
        return reader_->readTable(*stored);
    } catch (const MdbReadError& e) {
        fail(hr::E_FAIL, "The database '" + file_.string() + "' is damaged: " + e.what() + ".");
    } catch (const std::system_error& e) {
        failToRead(e);
    }
}

void AccessProvider::failToRead(const std::system_error& e) const {
    fail(hr::E_FAIL, "The database '" + file_.string() + "' cannot be read: " + e.what() + ".");
}

RowSet AccessProvider::openTable(const std::string& name) {
    const auto bare = bareTableName(name);
    return readTable(bare ? *bare : name);
}

RowSet AccessProvider::execute(const std::string& text) {
    if (const auto bare = bareTableName(text))
        return readTable(*bare);
    const SelectStatement statement = parseSelect(text, source());
    RowSet rows = readTable(statement.table);
    applySelect(statement, rows, source());
    return rows;
}

RowSet AccessProvider::callProcedure(const std::string& name) {
    fail(hr::DB_E_ERRORSINCOMMAND, "The saved query '" + name +
                                       "' cannot be run: this provider does not run stored "
                                       "procedures or saved queries.");
}

} // namespace frusta
