#pragma once
// AccessProvider: the Jet 4.0 and ACE 12.0 OLE DB providers over libmdb. Jet reads Jet 3
// and Jet 4 files and refuses ACE files, as the real provider does; ACE reads all three.
#include "refdb/DataProvider.h"
#include "refdb/MdbReader.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace frusta {

enum class AccessEngine { Jet4, Ace12 };

// The limits of time and memory under which Access files are read: IsolationLimits' own
// unless set.
IsolationLimits accessReadLimits();
void setAccessReadLimits(const IsolationLimits& limits);

class AccessProvider : public DataProvider {
public:
    // Opens the file; throws ComError (0x80004005) when it is missing, unreadable, not an
    // Access file, of a format the engine does not read, or damaged (also when reading it
    // loops, crashes or runs out of memory: see MdbReader).
    AccessProvider(AccessEngine engine, const std::filesystem::path& file);

    RowSet openTable(const std::string& name) override;
    RowSet execute(const std::string& text) override;
    RowSet callProcedure(const std::string& name) override;

private:
    std::string source() const;
    [[noreturn]] void fail(uint32_t code, const std::string& description) const;
    // The system could not start the reading (no process or pipe to be had).
    [[noreturn]] void failToRead(const std::system_error& e) const;
    RowSet readTable(const std::string& name);

    AccessEngine engine_;
    std::filesystem::path file_;
    std::unique_ptr<MdbReader> reader_;
};

} // namespace frusta
