#pragma once
// What the fault tests do to a reference database between start-up and the opening of a
// workbook, and the reason the program then gives.
#include "faults/FaultTestSupport.h"
#include "refdb/AccessProvider.h"
#include "support/ForeignWriteTransaction.h"
#include "support/PermissionsEnforced.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace frusta::faulttest {

inline const std::vector<std::string> kFailedLoad = {"Error opening boundary database",
                                                     "Error retrieving boundary data"};

// Something done to the database file; the object it returns undoes it when destroyed (a
// lock released, permissions enforced for the reading), or null.
struct Trouble {
    std::string name;
    std::function<std::shared_ptr<void>(const fs::path& db)> cause;
    std::string reason; // "DB" stands for the database's path
};

inline std::shared_ptr<void> none() {
    return nullptr;
}

inline std::string withPath(std::string text, const fs::path& db) {
    if (const auto at = text.find("DB"); at != std::string::npos)
        text.replace(at, 2, db.string());
    return text;
}

inline const std::vector<Trouble>& sqliteTroubles() {
    static const std::vector<Trouble> all = {
        {"deleted",
         [](const fs::path& db) {
             fs::remove(db);
             return none();
         },
         "Could not find file 'DB'."},
        {"cut short",
         [](const fs::path& db) {
             fs::resize_file(db, fs::file_size(db) / 2);
             return none();
         },
         "Unrecognized database format 'DB'. The file cannot be read as an SQLite database: "
         "database disk image is malformed."},
        {"replaced by a workbook",
         [](const fs::path& db) {
             fs::copy_file(kProgramDir / "TestData/FRUSTA2TestData.xls", db,
                           fs::copy_options::overwrite_existing);
             return none();
         },
         "Unrecognized database format 'DB'. The file is not an SQLite database."},
        {"unreadable",
         [](const fs::path& db) {
             fs::permissions(db, fs::perms::none);
             return std::static_pointer_cast<void>(std::make_shared<test::PermissionsEnforced>());
         },
         "The file 'DB' cannot be opened: it is a folder, or it cannot be read."},
        {"locked by another program's write transaction",
         [](const fs::path& db) {
             return std::static_pointer_cast<void>(
                 std::make_shared<test::ForeignWriteTransaction>(db));
         },
         "The database 'DB' is locked: another program is changing it. Try again when it has "
         "finished."},
    };
    return all;
}

// Child processes that open `db` (the readings of an Access file) killed, or stalled past a
// brief time limit, while the object lives.
class ChildTrap {
public:
    ChildTrap(const char* action, const fs::path& db) : usual_(accessReadLimits()) {
        IsolationLimits brief = usual_;
        brief.deadline = std::chrono::milliseconds(400);
        setAccessReadLimits(brief);
        frusta_fault_trap_children(action, db.c_str());
    }
    ~ChildTrap() {
        frusta_fault_trap_children("", "");
        setAccessReadLimits(usual_);
    }
    ChildTrap(const ChildTrap&) = delete;
    ChildTrap& operator=(const ChildTrap&) = delete;

private:
    IsolationLimits usual_;
};

inline const std::vector<Trouble>& accessTroubles() {
    static const std::vector<Trouble> all = {
        {"reading killed",
         [](const fs::path& db) {
             return std::static_pointer_cast<void>(std::make_shared<ChildTrap>("kill", db));
         },
         "Unrecognized database format 'DB'. The file is damaged: reading it stopped "
         "unexpectedly."},
        {"reading out of time",
         [](const fs::path& db) {
             return std::static_pointer_cast<void>(std::make_shared<ChildTrap>("stall", db));
         },
         "Unrecognized database format 'DB'. The file is damaged: reading it did not finish."},
    };
    return all;
}

} // namespace frusta::faulttest
