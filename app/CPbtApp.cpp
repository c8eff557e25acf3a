#include "app/CPbtApp.h"

#include "app/UserPort.h"
#include "refdb/CADODatabase.h"
#include "refdb/CADORecordset.h"
#include "refdb/ConnectionString.h"
#include "refdb/DataProvider.h"
#include "refdb/DatabaseFile.h"
#include "refdb/dbTableLoad.h"

#include <system_error>

namespace frusta {

namespace {

const char kTaxonTable[] = "NBSMasterTaxonList_PhaseII";
const char* const kCannotOpenBoundaries = "Error opening boundary database";

std::string quotedArg(const std::filesystem::path& path) {
    return " \"" + path.string() + "\"";
}

// The SQL text form of a key: quotes inside are doubled so that the key stays one value.
std::string sqlText(const std::string& value) {
    std::string out;
    for (char c : value) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

} // namespace

const std::vector<std::string>& defaultClassNames() {
    static const std::vector<std::string> names = {"High", "Good", "Moderate", "Poor", "Bad"};
    return names;
}

std::string classNameOf(const std::vector<std::string>& names, int code) {
    return code >= 1 && code <= 5 && static_cast<std::size_t>(code) <= names.size()
               ? names[static_cast<std::size_t>(code - 1)]
               : std::string();
}

const std::vector<std::string>& CPbtApp::shownClassNames() const {
    return classNames.size() == 5 ? classNames : defaultClassNames();
}

std::string connectionStringFor(const char* provider, const std::filesystem::path& file) {
    return std::string("Provider=") + provider +
           ";Data Source=" + connectionStringValue(file.string());
}

std::filesystem::path executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
}

std::string CPbtApp::boundaryQuery(const std::string& siteType) {
    return "Select * from Boundaries where SiteType = '" + sqlText(siteType) + "'";
}

std::string CPbtApp::cocQuery(const std::string& siteType) {
    return "Select * from CoC where SiteType = '" + sqlText(siteType) + "' order by Coefficient";
}

CPbtApp::CPbtApp() : database(std::make_unique<CADODatabase>()) {}
CPbtApp::~CPbtApp() = default;

bool CPbtApp::InitInstance(UserPort& port, const StartupOptions& options) {
    programFolder = options.programFolder.empty() ? executableFolder() : options.programFolder;
    databasePath = programFolder / "FRUSTA2.mdb";
    helpPath = programFolder / "FRUSTA2.pdf";
    examplePath = programFolder / "TestData" / "FRUSTA2TestData.xls";
    helpFileArg = quotedArg(helpPath);
    exampleFileArg = quotedArg(examplePath);

    if (!OpenReferenceDatabase(options)) {
        port.message(database->GetLastErrorString(), Buttons::Ok);
        port.message("Error opening database", Buttons::Ok);
        return true;
    }
    if (!LoadTaxonList()) {
        port.message("Error retrieving taxon list", Buttons::Ok);
        return true;
    }
    aboutText_ = readAboutText(*database);
    database->Close();
    classNames = defaultClassNames();
    return true;
}

const SuggestionIndex* CPbtApp::suggestionIndex() const {
    if (!taxonTable)
        return nullptr;
    if (indexedList_ != taxonTable || !suggestionIndex_) {
        suggestionIndex_ = std::make_unique<SuggestionIndex>(*taxonTable);
        indexedList_ = taxonTable;
    }
    return suggestionIndex_.get();
}

const ReferenceFacts& CPbtApp::referenceFacts() const {
    const auto now = fileFacts(databasePath, false);
    const bool same = facts_.path == databasePath && facts_.file && now &&
                      facts_.file->size == now->size && facts_.file->modified == now->modified;
    if (!same) {
        facts_.path = databasePath;
        facts_.file = fileFacts(databasePath);
    }
    facts_.about = aboutText_;
    return facts_;
}

bool CPbtApp::OpenWith(const char* provider, const std::filesystem::path& file) {
    connectionString = connectionStringFor(provider, file);
    return database->Open(connectionString, "", "");
}

bool CPbtApp::OpenReferenceDatabase(const StartupOptions& options) {
    std::filesystem::path file = databasePath;
    if (options.database) {
        file = *options.database;
    } else if (databaseFileKind(file) == DatabaseFileKind::Missing) {
        // No Access database beside the program: the bundled demonstration database.
        databasePath = programFolder / "FRUSTA2.sqlite";
        return OpenWith(kSqliteProvider, databasePath);
    }
    databasePath = file;
    if (databaseFileKind(file) == DatabaseFileKind::SQLite)
        return OpenWith(kSqliteProvider, file);
    return OpenWith(kJetProvider, file) || OpenWith(kAceProvider, file);
}

bool CPbtApp::UseReferenceDatabase(const std::filesystem::path& file, UserPort& port) {
    const std::string oldConnection = connectionString;
    const std::filesystem::path oldPath = databasePath;
    auto restore = [&] {
        database->Close();
        connectionString = oldConnection;
        databasePath = oldPath;
    };
    StartupOptions options;
    options.database = file;
    if (!OpenReferenceDatabase(options)) {
        const std::string report = database->GetLastErrorString();
        restore();
        port.message(report, Buttons::Ok);
        port.message("Error opening database", Buttons::Ok);
        return false;
    }
    auto previousList = taxonTable;
    if (!LoadTaxonList()) {
        taxonTable = previousList;
        restore();
        port.message("Error retrieving taxon list", Buttons::Ok);
        return false;
    }
    aboutText_ = readAboutText(*database);
    database->Close();
    classNames = defaultClassNames();
    keptBoundaries_.clear();
    keptCoc_.clear();
    return true;
}

int CPbtApp::ExitInstance() {
    database->Close();
    return 0;
}

bool CPbtApp::LoadTaxonList() {
    CADORecordset rs(*database);
    if (!rs.Open(kTaxonTable, CADORecordset::openTable))
        return false;
    taxonTable = loadDbTable(rs);
    rs.Close();
    return true;
}

bool CPbtApp::OpenForLoad() {
    lastLoadFailure.clear();
    if (database->Open(connectionString, "", ""))
        return true;
    lastLoadFailure = database->GetLastErrorDescription();
    return false;
}

bool CPbtApp::Query(CADORecordset& rs, const std::string& query) {
    if (rs.Open(query, CADORecordset::openUnknown))
        return true;
    lastLoadFailure = rs.GetLastErrorDescription();
    database->Close();
    return false;
}

Outcome CPbtApp::LoadBoundaries(const std::string& siteType, UserPort& port) {
    if (auto kept = keptBoundaries_.find(siteType);
        keepReferenceTables && kept != keptBoundaries_.end()) {
        lastLoadFailure.clear();
        boundaryTable = kept->second;
        return Outcome::done();
    }
    if (!OpenForLoad())
        return fail(port, {kCannotOpenBoundaries});
    CADORecordset rs(*database);
    if (!Query(rs, boundaryQuery(siteType)))
        return fail(port, {kCannotOpenBoundaries});
    boundaryTable = loadDbTable(rs);
    rs.Close();
    database->Close();
    if (keepReferenceTables)
        keptBoundaries_[siteType] = boundaryTable;
    return Outcome::done();
}

bool CPbtApp::LoadCocCoefficients(const std::string& siteType) {
    if (auto kept = keptCoc_.find(siteType); keepReferenceTables && kept != keptCoc_.end()) {
        cocTable = kept->second.table;
        lastLoadFailure = kept->second.failure;
        return cocTable != nullptr;
    }
    if (!OpenForLoad())
        return false;
    CADORecordset rs(*database);
    if (!Query(rs, cocQuery(siteType)))
        return false;
    auto table = loadDbTable(rs);
    rs.Close();
    database->Close();
    if (table->rowCount < 4) {
        lastLoadFailure = "the table CoC holds " + std::to_string(table->rowCount) +
                          " coefficients for '" + siteType + "', not the 4 needed";
        table.reset();
    }
    cocTable = std::move(table);
    if (keepReferenceTables)
        keptCoc_[siteType] = {cocTable, lastLoadFailure};
    return cocTable != nullptr;
}

} // namespace frusta
