#pragma once
// Helpers of the fault tests: folders watched by the fault-injecting file layer, their
// files and bytes, and a small rivers workbook opened and analysed as the user does.
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "faultfs/FaultFs.h"
#include "workbook/Book.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace frusta::faulttest {

namespace fs = std::filesystem;

inline const fs::path kProgramDir = FRUSTA_PROGRAM_DIR;

// A new folder, removed with everything in it at the end. In memory where the system has
// such a folder: the tests flush thousands of files to disk.
class Folder {
public:
    Folder() {
        const fs::path base =
            ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "frusta-faults-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path_ = fs::canonical(pattern);
    }
    ~Folder() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    // Every file of the folder, hidden ones too, with its bytes.
    std::map<std::string, std::string> contents() const {
        std::map<std::string, std::string> out;
        for (const auto& entry : fs::directory_iterator(path_)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            out[entry.path().filename().string()] = bytes.str();
        }
        return out;
    }
    // Makes the folder hold exactly `files`.
    void restore(const std::map<std::string, std::string>& files) const {
        for (const auto& entry : fs::directory_iterator(path_))
            fs::remove_all(entry.path());
        for (const auto& [name, bytes] : files)
            std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

private:
    fs::path path_;
};

inline void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The fault layer watching `folders` (and nothing else) for the life of the object, with
// libxlsxwriter's temporary files in a watched folder of their own.
class Watch {
public:
    explicit Watch(const std::vector<fs::path>& folders) {
        frusta_fault_reset();
        for (const fs::path& f : folders)
            frusta_fault_watch(f.c_str());
        frusta_fault_watch(scratch_.path().c_str());
        const char* old = std::getenv("TMPDIR");
        hadTmp_ = old != nullptr;
        oldTmp_ = old ? old : "";
        setenv("TMPDIR", scratch_.path().c_str(), 1);
    }
    ~Watch() {
        frusta_fault_reset();
        if (hadTmp_)
            setenv("TMPDIR", oldTmp_.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    const Folder& scratch() const { return scratch_; }

private:
    Folder scratch_;
    std::string oldTmp_;
    bool hadTmp_ = false;
};

// Three river samples at two sites and four taxa, one of them unknown: small enough for a
// save to be failed at each of its operations, with every sheet and table of the results.
inline void writeSmallRiversWorkbook(const fs::path& file) {
    auto book = Book::createXml();
    Sheet* s = book->addSheet("Rivers");
    const char* labels[] = {"Sample name",       "Site code",       "Sampling date",
                            "Alkalinity (mg/l)", "Calcium (ueq/l)", "DOC (mg/l)"};
    for (int r = 0; r < 6; ++r)
        s->writeStr(r, 0, labels[r]);
    const char* samples[] = {"S1", "S2", "S3"};
    const char* sites[] = {"SITE01", "SITE01", "SITE02"};
    for (int c = 0; c < 3; ++c) {
        s->writeStr(0, c + 2, samples[c]);
        s->writeStr(1, c + 2, sites[c]);
        s->writeNum(2, c + 2, 40179 + 40 * c);
        s->writeNum(3, c + 2, 20 + 30 * c);
    }
    const char* codes[] = {"AC004A", "AH006A", "AD002A", "ZZ999Z"};
    const double counts[4][3] = {{10, 4, 0}, {3, 8, 12}, {0, 5, 7}, {2, 0, 1}};
    for (int t = 0; t < 4; ++t) {
        s->writeStr(6 + t, 0, codes[t]);
        s->writeStr(6 + t, 1, std::string("Taxon ") + codes[t]);
        for (int c = 0; c < 3; ++c)
            s->writeNum(6 + t, c + 2, counts[t][c]);
    }
    if (!book->save(file.string()))
        std::abort();
}

// A workbook read and analysed with the bundled reference database.
struct AnalysedDocument {
    CPbtApp app;
    ScriptedPort port;
    CPbtDoc doc{app, port};
    bool analysed = false;

    AnalysedDocument(const fs::path& workbook, int family) {
        StartupOptions options;
        options.programFolder = kProgramDir;
        app.InitInstance(port, options);
        port.worksheet = WorksheetChoice{0, family, true, 7, 3};
        analysed = doc.OnOpenDocument(workbook.string()) && doc.RunAnalysis();
        if (analysed && doc.m_bDoUncertainty)
            analysed = doc.RunUncertainty().ok();
        port.shown.clear();
    }
};

} // namespace frusta::faulttest
