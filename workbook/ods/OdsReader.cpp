// Reading of OpenDocument spreadsheets. A package names its kind in its "mimetype" file and
// lists encrypted parts in its manifest; the cells are in content.xml. A flat file holds the
// same document in one XML file.
#include "workbook/Book.h"
#include "workbook/LoadProgress.h"
#include "workbook/ods/DocumentKind.h"
#include "workbook/ods/OdsCodec.h"
#include "workbook/ods/SpreadsheetHandler.h"
#include "workbook/xlsx/XlsxLimits.h"
#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/ZipPackage.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace frusta::ods {

using xlsx::XmlNs;

namespace {

constexpr const char* kEncrypted = "the workbook is password-protected (encrypted); remove the "
                                   "password in LibreOffice and save it again";
constexpr std::size_t kMaxMimetypeBytes = 256;

// Finds any encrypted file in the package's manifest.
class ManifestHandler : public xlsx::XmlHandler {
public:
    void startElement(XmlNs ns, std::string_view name, const char**, int) override {
        if (ns == XmlNs::OdfManifest && name == "encryption-data")
            encrypted = true;
    }
    void endElement(XmlNs, std::string_view, int) override {}

    bool encrypted = false;
};

bool readMimetype(xlsx::ZipPackage& package, std::string& mimetype, std::string& error) {
    auto entry = package.openPart("mimetype", error);
    if (!entry)
        return false;
    char buffer[kMaxMimetypeBytes];
    long n = 0;
    while (mimetype.size() < kMaxMimetypeBytes &&
           (n = entry->read(buffer, kMaxMimetypeBytes - mimetype.size(), error)) > 0)
        mimetype.append(buffer, static_cast<std::size_t>(n));
    return n >= 0;
}

bool checkPackage(xlsx::ZipPackage& package, std::string& error) {
    if (package.contains("mimetype")) {
        std::string mimetype;
        if (!readMimetype(package, mimetype, error))
            return false;
        if (std::string why = refusalForMimetype(mimetype); !why.empty()) {
            error = why;
            return false;
        }
    }
    if (package.contains("META-INF/manifest.xml")) {
        ManifestHandler manifest;
        if (!xlsx::parsePart(package, "META-INF/manifest.xml", manifest, error))
            return false;
        if (manifest.encrypted) {
            error = kEncrypted;
            return false;
        }
    }
    if (!package.contains("content.xml")) {
        error = "the OpenDocument package has no content (the part 'content.xml' is missing)";
        return false;
    }
    return true;
}

bool finish(const SpreadsheetHandler& handler, std::string& error) {
    if (!handler.sawSpreadsheet()) {
        error = "the OpenDocument file holds no spreadsheet";
        return false;
    }
    return true;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

bool isPackage(const std::string& path) {
    xlsx::ZipPackage package;
    std::string ignored;
    return package.open(path, ignored) && !package.contains("[Content_Types].xml") &&
           (package.contains("mimetype") || package.contains("content.xml"));
}

bool isFlatDocument(const std::string& head) {
    return head.find("urn:oasis:names:tc:opendocument:xmlns:office:1.0") != std::string::npos &&
           head.find("document") != std::string::npos;
}

bool load(const std::string& path, Book& book, std::string& error) {
    xlsx::ZipPackage package;
    if (!package.open(path, error) || !checkPackage(package, error))
        return false;
    package.followProgress(book.loadProgress());
    xlsx::ReadBudget budget;
    SpreadsheetHandler handler(book, budget, "document-content");
    return xlsx::parsePart(package, "content.xml", handler, error) && finish(handler, error);
}

bool loadFlat(const std::string& path, Book& book, std::string& error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > xlsx::kMaxPartBytes) {
        error = "the file is too large (" + std::to_string(size / xlsx::kMiB) +
                " MB; the limit is " + std::to_string(xlsx::kMaxPartBytes / xlsx::kMiB) + " MB)";
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = "can't open file '" + path + "'";
        return false;
    }
    std::uint64_t total = 0;
    const auto source = [&](char* buffer, std::size_t capacity, std::string& why) -> long {
        const std::size_t n = std::fread(buffer, 1, capacity, file.get());
        if (n == 0 && std::ferror(file.get())) {
            why = "the file can't be read to its end";
            return -1;
        }
        total += n;
        if (total > xlsx::kMaxPartBytes) {
            why = "the file is too large (more than " +
                  std::to_string(xlsx::kMaxPartBytes / xlsx::kMiB) + " MB)";
            return -1;
        }
        if (LoadProgress* progress = book.loadProgress()) {
            progress->report(total, ec ? 0 : size);
            if (progress->cancelled()) {
                why = kLoadCancelled;
                return -1;
            }
        }
        return static_cast<long>(n);
    };
    xlsx::ReadBudget budget;
    SpreadsheetHandler handler(book, budget, "document");
    return xlsx::parseXml(source, "the file", handler, error) && finish(handler, error);
}

} // namespace frusta::ods
