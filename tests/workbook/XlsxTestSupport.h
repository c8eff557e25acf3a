#pragma once
// Helpers of the .xlsx tests: temporary folders, and packages assembled part by part so
// that each test can state exactly the XML it feeds the reader.
#include "workbook/Book.h"

#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace xlsxtest {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "frusta-xlsx-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

inline const char* const kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline const char* const kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline const char* const kPackageRelNs =
    "http://schemas.openxmlformats.org/package/2006/relationships";

inline std::string relationship(const std::string& id, const std::string& kind,
                                const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelNs + "/" + kind + "\" Target=\"" +
           target + "\"/>";
}

inline std::string relationships(const std::string& items) {
    return std::string("<?xml version=\"1.0\"?><Relationships xmlns=\"") + kPackageRelNs + "\">" +
           items + "</Relationships>";
}

inline std::string worksheet(const std::string& sheetData) {
    return std::string("<?xml version=\"1.0\"?><worksheet xmlns=\"") + kMainNs +
           "\"><dimension ref=\"A1\"/><sheetData>" + sheetData + "</sheetData></worksheet>";
}

inline std::string sharedStrings(const std::string& items) {
    return std::string("<sst xmlns=\"") + kMainNs + "\">" + items + "</sst>";
}

// A package: part name -> content, written with libzip.
class Package {
public:
    std::map<std::string, std::string> parts;
    bool store = false; // no compression

    // A workbook with the given worksheets (sheet data XML), named S1, S2, ...
    static Package workbook(const std::vector<std::string>& sheetData, const std::string& sst = "",
                            const std::string& workbookPr = "") {
        Package p;
        p.parts["[Content_Types].xml"] =
            "<?xml version=\"1.0\"?><Types "
            "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
            "<Default Extension=\"rels\" "
            "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
            "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
            "<Override PartName=\"/xl/workbook.xml\" "
            "ContentType=\"application/"
            "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/></Types>";
        p.parts["_rels/.rels"] =
            relationships(relationship("rId1", "officeDocument", "xl/workbook.xml"));
        std::string sheets, rels;
        for (std::size_t i = 0; i < sheetData.size(); ++i) {
            const std::string n = std::to_string(i + 1);
            sheets += "<sheet name=\"S" + n + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
            rels += relationship("rId" + n, "worksheet", "worksheets/sheet" + n + ".xml");
            p.parts["xl/worksheets/sheet" + n + ".xml"] = worksheet(sheetData[i]);
        }
        if (!sst.empty()) {
            rels += relationship("rIdS", "sharedStrings", "sharedStrings.xml");
            p.parts["xl/sharedStrings.xml"] = sharedStrings(sst);
        }
        p.parts["xl/workbook.xml"] = std::string("<?xml version=\"1.0\"?><workbook xmlns=\"") +
                                     kMainNs + "\" xmlns:r=\"" + kRelNs + "\">" + workbookPr +
                                     "<sheets>" + sheets + "</sheets></workbook>";
        p.parts["xl/_rels/workbook.xml.rels"] = relationships(rels);
        return p;
    }

    void write(const std::string& path) const {
        int err = 0;
        zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
        if (!archive)
            std::abort();
        for (const auto& [name, content] : parts) {
            zip_source_t* src = zip_source_buffer(archive, content.data(), content.size(), 0);
            const zip_int64_t index = zip_file_add(archive, name.c_str(), src, ZIP_FL_OVERWRITE);
            if (index < 0)
                std::abort();
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                     store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
        }
        if (zip_close(archive) != 0)
            std::abort();
    }
};

// Loads `path` into a fresh .xlsx book; the error message is "ok" on success.
struct Loaded {
    std::unique_ptr<frusta::Book> book;
    bool ok;
    std::string error;
};

inline Loaded load(const std::string& path) {
    auto book = frusta::Book::createXml();
    const bool ok = book->load(path);
    std::string error = book->errorMessage();
    return {std::move(book), ok, error};
}

inline Loaded load(const Package& package, const TempDir& dir, const std::string& name = "t.xlsx") {
    package.write(dir.file(name));
    return load(dir.file(name));
}

inline std::string readFile(const std::string& path) {
    std::string data;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            data.append(buf, n);
        std::fclose(f);
    }
    return data;
}

inline void writeFile(const std::string& path, const std::string& data) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
}

} // namespace xlsxtest
