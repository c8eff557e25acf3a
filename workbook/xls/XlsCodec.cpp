#include "workbook/xls/XlsCodec.h"

#include "workbook/AtomicFile.h"
#include "workbook/Book.h"
#include "workbook/xls/BiffRecords.h"
#include "workbook/xls/BiffWriter.h"
#include "workbook/xls/CompoundFileReader.h"
#include "workbook/xls/CompoundFileWriter.h"
#include "workbook/xls/GlobalsReader.h"
#include "workbook/xls/LittleEndian.h"
#include "workbook/xls/SheetReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

namespace frusta::xls {

namespace {

// Larger files cannot be Excel 97-2003 workbooks written by any program.
constexpr std::size_t kMaxFileSize = std::size_t(1) << 31;
// Rows held by all sheets together beyond those the stream's size accounts for.
constexpr std::size_t kRowAllowance = std::size_t(4) << 20;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool readFile(const std::string& path, std::vector<uint8_t>& data, std::string& error) {
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        error = "can't open file '" + path + "': " + describeErrno(errno);
        return false;
    }
    if (std::fseek(f.get(), 0, SEEK_END) != 0) {
        error = "can't read file '" + path + "'";
        return false;
    }
    const long size = std::ftell(f.get());
    if (size < 0 || static_cast<std::size_t>(size) > kMaxFileSize) {
        error = size < 0 ? "can't read file '" + path + "'"
                         : std::string("the file is too large to be an Excel 97-2003 workbook");
        return false;
    }
    std::rewind(f.get());
    data.resize(static_cast<std::size_t>(size));
    if (std::fread(data.data(), 1, data.size(), f.get()) != data.size()) {
        error = "can't read file '" + path + "'";
        return false;
    }
    return true;
}

// The kind of substream at `offset`: its BOF type, or -1 when there is no BOF record.
int substreamKind(std::span<const uint8_t> stream, std::size_t offset) {
    if (offset + 8 > stream.size())
        return -1;
    const uint8_t* p = stream.data() + offset;
    if (!isBofRecord(le16(p)) || le16(p + 2) < 4)
        return -1;
    return le16(p + 6);
}

// Whether `data` begins with a BOF record of any version: a workbook stream saved as a file
// of its own, as Excel 2.x to 4.0 save their workbooks.
bool isBareStream(std::span<const uint8_t> data) {
    if (data.size() < 8 || !isBofRecord(le16(data.data())))
        return false;
    const uint16_t size = le16(data.data() + 2);
    return size >= 4 && size <= 20;
}

bool readSheets(std::span<const uint8_t> stream, const Globals& g, Book& book, std::string& error) {
    std::vector<uint32_t> starts;
    for (const SheetEntry& e : g.sheets)
        starts.push_back(e.offset);
    std::sort(starts.begin(), starts.end());
    if (std::adjacent_find(starts.begin(), starts.end()) != starts.end()) {
        error = "the file is damaged: two sheets point at the same data";
        return false;
    }
    RowBudget budget{kRowAllowance + stream.size() / 8};
    for (const SheetEntry& e : g.sheets) {
        if (e.kind != 0)
            continue; // macro sheets, charts and VBA modules hold no cells
        const int kind = substreamKind(stream, e.offset);
        // The substreams of the BIFF4 workbook form lie inside its globals.
        if ((e.offset < g.end && !g.workbook4W) || kind < 0) {
            error = "the file is damaged: worksheet '" + e.name + "' is missing";
            return false;
        }
        if (kind != rec::kWorksheet)
            continue; // a chart or macro sheet listed as a worksheet
        const auto next = std::upper_bound(starts.begin(), starts.end(), e.offset);
        // The next sheet's data ends this one; an offset past the stream (of a sheet not
        // read, which nothing checked) must not stretch it.
        std::size_t limit =
            next == starts.end() ? stream.size() : std::min<std::size_t>(*next, stream.size());
        if (e.end != 0)
            limit = std::min(limit, e.end);
        Sheet* sheet = book.addSheet(e.name);
        if (!readSheet(stream, e.offset, limit, g, book, *sheet, budget, error))
            return false;
    }
    return true;
}

bool loadStream(std::span<const uint8_t> stream, Book& book, std::string& error) {
    Globals g;
    if (!readGlobals(stream, book, g, error))
        return false;
    return readSheets(stream, g, book, error);
}

} // namespace

bool loadMemory(std::span<const uint8_t> file, Book& book, std::string& error) {
    error.clear();
    if (isBareStream(file))
        return loadStream(file, book, error);
    CompoundFileReader cf;
    if (!cf.open(file, error))
        return false;
    // Excel 97-2003 name their stream "Workbook", Excel 5.0/95 "Book".
    int entry = cf.findStream("Workbook");
    if (entry < 0)
        entry = cf.findStream("Book");
    if (entry < 0) {
        // Excel saves a password-protected .xlsx as a compound file holding the encrypted
        // package.
        if (cf.findStream("EncryptedPackage") >= 0)
            error = "the workbook is password-protected (encrypted); remove the password in "
                    "Excel and save it again";
        else
            error = "the file holds no Excel workbook (it may be another kind of Office "
                    "document)";
        return false;
    }
    std::vector<uint8_t> stream;
    if (!cf.readStream(entry, stream, error))
        return false;
    return loadStream(stream, book, error);
}

bool load(const std::string& path, Book& book, std::string& error) {
    std::vector<uint8_t> data;
    if (!readFile(path, data, error))
        return false;
    return loadMemory(data, book, error);
}

bool save(const std::string& path, const Book& book, std::string& error) {
    std::vector<uint8_t> stream;
    std::string why;
    if (!buildWorkbookStream(book, stream, why)) {
        error = "can't save '" + path + "': " + why;
        return false;
    }
    const std::vector<uint8_t> file = buildCompoundFile("Workbook", stream);
    stream = std::vector<uint8_t>();
    const auto failure = writeFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    if (failure)
        error = failure->message();
    return !failure;
}

} // namespace frusta::xls
