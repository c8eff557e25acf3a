#pragma once
// Another program holding an SQLite write transaction on a reference database.
#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace frusta::test {

// Another process with an exclusive write transaction open on an SQLite database, until the
// object is destroyed; throws when the transaction cannot be begun.
class ForeignWriteTransaction {
public:
    explicit ForeignWriteTransaction(const std::filesystem::path& database) {
        int ready[2], gate[2];
        if (pipe(ready) != 0 || pipe(gate) != 0)
            throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(gate[1]);
            sqlite3* db = nullptr;
            const char held =
                sqlite3_open(database.c_str(), &db) == SQLITE_OK &&
                sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
            [[maybe_unused]] ssize_t n = ::write(ready[1], &held, 1);
            char c;
            n = ::read(gate[0], &c, 1); // returns when the parent closes its end
            _exit(0);
        }
        ::close(ready[1]);
        ::close(gate[0]);
        release_ = gate[1];
        char held = 0;
        const bool begun = ::read(ready[0], &held, 1) == 1 && held;
        ::close(ready[0]);
        if (!begun) {
            release();
            throw std::runtime_error("no write transaction could be begun on " + database.string());
        }
    }
    ~ForeignWriteTransaction() { release(); }
    ForeignWriteTransaction(const ForeignWriteTransaction&) = delete;
    ForeignWriteTransaction& operator=(const ForeignWriteTransaction&) = delete;

private:
    void release() {
        ::close(release_);
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    pid_t pid_ = -1;
    int release_ = -1;
};

} // namespace frusta::test
