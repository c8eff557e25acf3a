#pragma once
// Helpers of the workbook tests: temporary folders and files, BIFF8 workbook streams built
// record by record, and .xlsx packages assembled part by part, so that each test states
// exactly the bytes or the XML it feeds a reader.
#include "workbook/Book.h"
#include "workbook/xls/CompoundFileWriter.h"
#include "workbook/xls/XlsCodec.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace frusta::wbtest {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "frusta-wb-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }
    // The names of the files in the folder, sorted.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

inline void writeFile(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

inline std::string dataFile(const std::string& relative) {
    return std::string(FRUSTA_TEST_DATA_DIR) + "/workbook/" + relative;
}

// ---- BIFF8 ----

using Bytes = std::vector<uint8_t>;

// A record body built field by field.
struct Body {
    Bytes b;
    Body& u8(uint32_t v) {
        b.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    Body& u16(uint32_t v) { return u8(v).u8(v >> 8); }
    Body& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Body& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
    }
    Body& raw(const std::string& s) {
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    // UTF-16 characters without a header.
    Body& wide(const std::u16string& s) {
        for (char16_t c : s)
            u16(c);
        return *this;
    }
    // An XLUnicodeString with a 16-bit count, compressed.
    Body& str(const std::string& latin1) { return u16(latin1.size()).u8(0).raw(latin1); }
};

struct Rec {
    uint16_t type;
    Bytes body;
};

inline Rec rec(uint16_t type, const Body& body) {
    return {type, body.b};
}

inline void append(Bytes& s, const Rec& r) {
    Body header;
    header.u16(r.type).u16(r.body.size());
    s.insert(s.end(), header.b.begin(), header.b.end());
    s.insert(s.end(), r.body.begin(), r.body.end());
}

inline Rec bof(uint16_t kind, uint16_t version = 0x0600) {
    return rec(0x0809, Body().u16(version).u16(kind).u16(0x0DBB).u16(0x07CC).u32(0).u32(6));
}

inline Rec eof() {
    return {0x000A, {}};
}

// The row, column and XF index that begin every cell record.
inline Body cell(uint32_t row, uint32_t col, uint32_t xf = 15) {
    return Body().u16(row).u16(col).u16(xf);
}

// A workbook stream: globals with `globals` records and one BOUNDSHEET per sheet (names
// S1, S2, ...), then each sheet's substream. `kinds` gives the BOUNDSHEET sheet type of
// each sheet (0 worksheet, 2 chart), worksheets by default. `version` 0x0500 makes an Excel
// 5.0/95 stream, whose sheet names are 8-bit texts without a flags byte.
inline Bytes makeStream(const std::vector<Rec>& globals,
                        const std::vector<std::vector<Rec>>& sheets,
                        const std::vector<uint8_t>& kinds = {}, uint16_t version = 0x0600) {
    Bytes s;
    append(s, bof(0x0005, version));
    for (const Rec& r : globals)
        append(s, r);
    std::vector<std::size_t> fields;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        fields.push_back(s.size() + 4);
        const std::string name = "S" + std::to_string(i + 1);
        const uint8_t kind = i < kinds.size() ? kinds[i] : 0;
        Body body = Body().u32(0).u8(0).u8(kind).u8(name.size());
        if (version >= 0x0600)
            body.u8(0);
        append(s, rec(0x0085, body.raw(name)));
    }
    append(s, eof());
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const auto at = static_cast<uint32_t>(s.size());
        std::memcpy(&s[fields[i]], &at, 4);
        append(s, bof(i < kinds.size() && kinds[i] == 2 ? 0x0020 : 0x0010, version));
        for (const Rec& r : sheets[i])
            append(s, r);
        append(s, eof());
    }
    return s;
}

// Where makeStream puts the BOUNDSHEET bodies of the first two sheets when there are no
// globals records (the first four bytes hold the offset of the sheet's substream).
constexpr std::size_t kBoundSheetBody[] = {24, 38};

inline bool loadStream(const Bytes& stream, Book& book, std::string& error,
                       const std::string& name = "Workbook") {
    return xls::loadMemory(xls::buildCompoundFile(name, stream), book, error);
}

// The book of a workbook stream that must load; the reason of one that must not.
inline std::unique_ptr<Book> loadBook(const Bytes& stream, const std::string& name = "Workbook") {
    auto book = Book::createBinary();
    std::string error;
    EXPECT_TRUE(loadStream(stream, *book, error, name)) << error;
    return book;
}
inline std::string loadError(const Bytes& stream, const std::string& name = "Workbook") {
    Book book(BookKind::Binary);
    std::string error;
    EXPECT_FALSE(loadStream(stream, book, error, name));
    return error;
}

// ---- Office Open XML ----

inline const char* const kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline const char* const kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

inline std::string relationship(const std::string& id, const std::string& kind,
                                const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kRelNs + "/" + kind + "\" Target=\"" +
           target + "\"/>";
}

inline std::string relationships(const std::string& items) {
    return "<?xml version=\"1.0\"?><Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           items + "</Relationships>";
}

inline std::string worksheet(const std::string& sheetData) {
    return std::string("<?xml version=\"1.0\"?><worksheet xmlns=\"") + kMainNs +
           "\"><dimension ref=\"A1\"/><sheetData>" + sheetData + "</sheetData></worksheet>";
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
            p.parts["xl/sharedStrings.xml"] =
                std::string("<sst xmlns=\"") + kMainNs + "\">" + sst + "</sst>";
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

// A book loaded from a file; the error message is empty on success.
struct Loaded {
    std::unique_ptr<Book> book;
    bool ok;
    std::string error;
};

inline Loaded load(const std::string& path, BookKind kind = BookKind::Xml) {
    auto book = std::make_unique<Book>(kind);
    const bool ok = book->load(path);
    std::string error = book->errorMessage();
    return {std::move(book), ok, error};
}

inline Loaded load(const Package& package, const TempDir& dir) {
    package.write(dir.file("t.xlsx"));
    return load(dir.file("t.xlsx"));
}

// ---- OpenDocument ----

inline const char* const kOdfNamespaces =
    "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
    "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\" "
    "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\"";

// The document element of content.xml (or of a flat file, `root` "document") around the
// given tables.
inline std::string odsDocument(const std::string& tables,
                               const std::string& root = "document-content",
                               const std::string& rootAttrs = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:" + root + " " + kOdfNamespaces +
           rootAttrs + "><office:body><office:spreadsheet>" + tables +
           "</office:spreadsheet></office:body></office:" + root + ">";
}

inline std::string odsTable(const std::string& name, const std::string& rows) {
    return "<table:table table:name=\"" + name + "\">" + rows + "</table:table>";
}

// An .ods package around the given tables.
inline Package odsPackage(const std::string& tables) {
    Package p;
    p.parts["mimetype"] = "application/vnd.oasis.opendocument.spreadsheet";
    p.parts["META-INF/manifest.xml"] =
        "<manifest:manifest "
        "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
        "<manifest:file-entry manifest:full-path=\"/\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
        "<manifest:file-entry manifest:full-path=\"content.xml\" "
        "manifest:media-type=\"text/xml\"/></manifest:manifest>";
    p.parts["content.xml"] = odsDocument(tables);
    return p;
}

} // namespace frusta::wbtest
