#pragma once
// CPbtApp: the application object. Owns what all analyses share for the whole run: the
// reference database connection, the master taxon list, the most recently loaded class
// boundary and confidence-of-class tables, the class names and the program's file paths.
#include "app/Outcome.h"
#include "app/ReferenceFacts.h"
#include "refdb/SuggestionIndex.h"
#include "refdb/TranslationTable.h"
#include "refdb/dbTable.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace frusta {

class CADODatabase;
class CADORecordset;
class UserPort;

struct StartupOptions {
    // The program folder; empty means the folder of the running executable.
    std::filesystem::path programFolder;
    // A reference database named by the user; used instead of the one in the program folder.
    std::optional<std::filesystem::path> database;
};

class CPbtApp {
public:
    CPbtApp();
    ~CPbtApp();
    CPbtApp(const CPbtApp&) = delete;
    CPbtApp& operator=(const CPbtApp&) = delete;

    // Start-up without window work: paths, database, master taxon list, class names.
    // Failures are reported through the port; the program runs on without reference data.
    bool InitInstance(UserPort& port, const StartupOptions& options = {});
    int ExitInstance();

    // Switches to the reference database `file` and loads its master taxon list. On failure
    // the messages of start-up are shown and the previous database and list stay in use.
    bool UseReferenceDatabase(const std::filesystem::path& file, UserPort& port);

    bool LoadTaxonList();
    Outcome LoadBoundaries(const std::string& siteType, UserPort& port);
    bool LoadCocCoefficients(const std::string& siteType);

    // The statements the two loaders issue for a site type.
    static std::string boundaryQuery(const std::string& siteType);
    static std::string cocQuery(const std::string& siteType);

    std::unique_ptr<CADODatabase> database;
    std::string connectionString;
    std::vector<std::string> classNames;
    // The class names that results show and save: `classNames`, or the five defaults when
    // start-up left none.
    const std::vector<std::string>& shownClassNames() const;
    std::string helpFileArg;
    std::string exampleFileArg;
    std::shared_ptr<const dbTable> taxonTable;
    std::shared_ptr<const dbTable> boundaryTable;
    std::shared_ptr<const dbTable> cocTable;

    // The user's taxon translations, applied to every analysis; none when not chosen.
    std::shared_ptr<const TranslationTable> translations;
    // The index for suggesting list entries, built on first use for the master list in use;
    // null without a master list.
    const SuggestionIndex* suggestionIndex() const;
    // The database file in use and its About text, the file's digest taken on first use
    // after each change of database (or of the file).
    const ReferenceFacts& referenceFacts() const;

    std::filesystem::path programFolder;
    std::filesystem::path databasePath;
    std::filesystem::path helpPath;
    std::filesystem::path examplePath;

    // Why the last load of class boundaries or coefficients failed, in the database's words
    // or saying what the table lacks; empty after a load that worked.
    std::string lastLoadFailure;

    // When set, the class boundaries and coefficients loaded for a site type are kept and
    // reused by later loads, so that a run over many workbooks reads the database only once
    // for each; off by default (each load then reads the database afresh).
    bool keepReferenceTables = false;

private:
    // Opens the reference database at start-up: the one named in the options, else
    // FRUSTA2.mdb in the program folder (Jet, then ACE), else the bundled FRUSTA2.sqlite.
    bool OpenReferenceDatabase(const StartupOptions& options);
    bool OpenWith(const char* provider, const std::filesystem::path& file);

    // Opens the database for a load; false, with the reason kept, when it cannot be opened.
    bool OpenForLoad();
    // The result set of `query`; false, with the reason kept and the database closed, when
    // the query fails.
    bool Query(CADORecordset& rs, const std::string& query);

    struct KeptCoc {
        std::shared_ptr<const dbTable> table; // null: too few rows
        std::string failure;
    };
    std::map<std::string, std::shared_ptr<const dbTable>> keptBoundaries_;
    std::map<std::string, KeptCoc> keptCoc_;

    std::string aboutText_; // of the database in use
    mutable std::shared_ptr<const dbTable> indexedList_;
    mutable std::unique_ptr<SuggestionIndex> suggestionIndex_;
    mutable ReferenceFacts facts_;
};

// The five status class names for class codes 1 to 5.
const std::vector<std::string>& defaultClassNames();
// The name of class code `code` (1 High to 5 Bad) in `names`; empty for any other code or
// when `names` has no such entry.
std::string classNameOf(const std::vector<std::string>& names, int code);

// "Provider=<provider>;Data Source=<file>", the file quoted when it needs to be.
std::string connectionStringFor(const char* provider, const std::filesystem::path& file);

// The folder of the running executable (from /proc/self/exe); empty when unknown.
std::filesystem::path executableFolder();

} // namespace frusta
