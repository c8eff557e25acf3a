#pragma once
// A small SQLite reference database made on the fly for tests: Boundaries and CoC tables
// (and optionally a master taxon list), reached through the SQLite provider.
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace frusta::test {

class TestDatabase {
public:
    TestDatabase() {
        char pattern[] = "/tmp/frusta-testdb-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0)
            throw std::runtime_error("mkstemp");
        ::close(fd);
        path_ = pattern;
        if (sqlite3_open(path_.c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("sqlite3_open");
    }
    ~TestDatabase() {
        sqlite3_close(db_);
        std::filesystem::remove(path_);
    }
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    void exec(const std::string& sql) {
        char* msg = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
            std::string m = msg ? msg : "sqlite error";
            sqlite3_free(msg);
            throw std::runtime_error(m + " in " + sql);
        }
    }

    // Boundaries 0.8 / 0.6 / 0.4 / 0.2 for the river metrics and DAM, lake types HA and MA,
    // and four CoC coefficients each for TDI and LTDI.
    void addStandardTables() {
        exec("CREATE TABLE Boundaries (SiteType TEXT, LakeType TEXT, MedianTDI DOUBLE, HG DOUBLE, "
             "GM DOUBLE, MP DOUBLE, PB DOUBLE)");
        exec("INSERT INTO Boundaries VALUES ('TDI3', '', 0, 0.8, 0.6, 0.4, 0.2), "
             "('TDI4', '', 0, 0.8, 0.6, 0.4, 0.2), ('DAM', '', 0, 0.8, 0.6, 0.4, 0.2), "
             "('LTDI2', 'HA', 20, 0.9, 0.7, 0.5, 0.3), ('LTDI2', 'MA', 30, 0.9, 0.7, 0.5, 0.3), "
             "('LTDI1', 'HA', 25, 0.9, 0.7, 0.5, 0.3)");
        exec("CREATE TABLE CoC (SiteType TEXT, Coefficient INTEGER, Value DOUBLE)");
        exec("INSERT INTO CoC VALUES ('TDI', 3, 1), ('TDI', 1, 0), ('TDI', 0, 0.1), ('TDI', 2, 0), "
             "('LTDI', 0, 0.1), ('LTDI', 1, 0), ('LTDI', 2, 0), ('LTDI', 3, 1)");
    }

    std::string connectionString() const { return "Provider=SQLite;Data Source=" + path_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    sqlite3* db_ = nullptr;
};

} // namespace frusta::test
