#include "workbook/Book.h"

#include "workbook/AtomicFile.h"
#include "workbook/LoadProgress.h"
#include "workbook/csv/CsvCodec.h"
#include "workbook/ods/OdsCodec.h"
#include "workbook/xls/XlsCodec.h"
#include "workbook/xlsx/XlsxCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string_view>
#include <strings.h>

namespace frusta {

const char* errorText(int code) {
    switch (code) {
    case 0x00:
        return "#NULL!";
    case 0x07:
        return "#DIV/0!";
    case 0x0F:
        return "#VALUE!";
    case 0x17:
        return "#REF!";
    case 0x1D:
        return "#NAME?";
    case 0x24:
        return "#NUM!";
    case 0x2A:
        return "#N/A";
    case 0x2B:
        return "#GETTING_DATA";
    default:
        return "#N/A";
    }
}

// ---- Sheet ----

Sheet::Sheet(Book& book, std::string name) : book_(book), name_(std::move(name)) {}

const Cell* Sheet::find(int row, int col) const {
    if (row < 0 || col < 0 || row >= static_cast<int>(rows_.size()))
        return nullptr;
    const auto& cells = rows_[row];
    if (cells.empty())
        return nullptr;
    const auto c = static_cast<uint32_t>(col);
    // Dense rows hold column c at position c - first column.
    const uint32_t first = cells.front().col;
    if (c >= first && c - first < cells.size() && cells[c - first].col == c)
        return &cells[c - first];
    auto it = std::lower_bound(cells.begin(), cells.end(), c,
                               [](const Cell& cell, uint32_t v) { return cell.col < v; });
    return it != cells.end() && it->col == c ? &*it : nullptr;
}

Cell& Sheet::slot(int row, int col) {
    if (row >= static_cast<int>(rows_.size()))
        rows_.resize(static_cast<std::size_t>(row) + 1);
    if (col >= lastCol_)
        lastCol_ = col + 1;
    auto& cells = rows_[row];
    const auto c = static_cast<uint32_t>(col);
    // Rows of a table are alike: a new row takes the room of the one above at once rather
    // than growing to it.
    if (cells.empty() && row > 0)
        cells.reserve(rows_[row - 1].size());
    if (cells.empty() || cells.back().col < c) {
        cells.emplace_back();
        cells.back().col = c;
        return cells.back();
    }
    auto it = std::lower_bound(cells.begin(), cells.end(), c,
                               [](const Cell& cell, uint32_t v) { return cell.col < v; });
    if (it == cells.end() || it->col != c) {
        it = cells.emplace(it);
        it->col = c;
    }
    return *it;
}

CellType Sheet::cellType(int row, int col) const {
    const Cell* cell = find(row, col);
    return cell ? static_cast<CellType>(cell->type) : CellType::Empty;
}

const char* Sheet::readStr(int row, int col) const {
    const Cell* cell = find(row, col);
    if (!cell || cell->type != static_cast<uint8_t>(CellType::String))
        return nullptr;
    return book_.string(cell->text).c_str();
}

double Sheet::readNum(int row, int col) const {
    const Cell* cell = find(row, col);
    return cell && cell->type == static_cast<uint8_t>(CellType::Number) ? cell->number : 0.0;
}

bool Sheet::readBool(int row, int col) const {
    const Cell* cell = find(row, col);
    return cell && cell->type == static_cast<uint8_t>(CellType::Boolean) && cell->boolean != 0;
}

int Sheet::readError(int row, int col) const {
    const Cell* cell = find(row, col);
    return cell && cell->type == static_cast<uint8_t>(CellType::Error) ? cell->error : 0;
}

int Sheet::cellFormat(int row, int col) const {
    const Cell* cell = find(row, col);
    return cell ? cell->format : 0;
}

const std::string& Sheet::text(uint32_t poolIndex) const {
    return book_.string(poolIndex);
}

bool Sheet::writeStr(int row, int col, const std::string& text, const Format* format) {
    if (row < 0 || col < 0 || row >= kXlsxMaxRows || col >= kXlsxMaxCols)
        return false;
    Cell& cell = slot(row, col);
    cell.type = static_cast<uint8_t>(CellType::String);
    cell.format = static_cast<uint8_t>(format ? format->index() : 0);
    cell.text = book_.addString(text);
    return true;
}

bool Sheet::writeNum(int row, int col, double value, const Format* format) {
    if (row < 0 || col < 0 || row >= kXlsxMaxRows || col >= kXlsxMaxCols)
        return false;
    Cell& cell = slot(row, col);
    cell.type = static_cast<uint8_t>(CellType::Number);
    cell.format = static_cast<uint8_t>(format ? format->index() : 0);
    cell.number = value;
    return true;
}

void Sheet::setNumber(int row, int col, double v, int format) {
    Cell& cell = slot(row, col);
    cell.type = static_cast<uint8_t>(CellType::Number);
    cell.format = static_cast<uint8_t>(format);
    cell.number = v;
}

void Sheet::setString(int row, int col, uint32_t poolIndex) {
    Cell& cell = slot(row, col);
    cell.type = static_cast<uint8_t>(CellType::String);
    cell.text = poolIndex;
}

void Sheet::setBool(int row, int col, bool v) {
    Cell& cell = slot(row, col);
    cell.type = static_cast<uint8_t>(CellType::Boolean);
    cell.number = 0.0;
    cell.boolean = v ? 1 : 0;
}

void Sheet::setError(int row, int col, int code) {
    Cell& cell = slot(row, col);
    cell.type = static_cast<uint8_t>(CellType::Error);
    cell.number = 0.0;
    cell.error = static_cast<uint8_t>(code);
}

void Sheet::setBlank(int row, int col) {
    Cell& cell = slot(row, col);
    cell.type = static_cast<uint8_t>(CellType::Blank);
    cell.number = 0.0;
}

// ---- Book ----

Book::Book(BookKind kind) : kind_(kind) {}
Book::~Book() = default;

std::unique_ptr<Book> Book::createBinary() {
    return std::make_unique<Book>(BookKind::Binary);
}
std::unique_ptr<Book> Book::createXml() {
    return std::make_unique<Book>(BookKind::Xml);
}

Sheet* Book::getSheet(int index) {
    return index >= 0 && index < sheetCount() ? sheets_[index].get() : nullptr;
}

const Sheet* Book::getSheet(int index) const {
    return index >= 0 && index < sheetCount() ? sheets_[index].get() : nullptr;
}

Sheet* Book::addSheet(const std::string& name) {
    sheets_.push_back(std::make_unique<Sheet>(*this, name));
    return sheets_.back().get();
}

Format* Book::addFormat() {
    if (formats_.size() >= 255)
        return nullptr;
    formats_.emplace_back(static_cast<int>(formats_.size()) + 1);
    return &formats_.back();
}

const Format* Book::format(int index) const {
    return index >= 1 && index <= formatCount() ? &formats_[index - 1] : nullptr;
}

uint32_t Book::addString(std::string text) {
    strings_.push_back(std::move(text));
    return static_cast<uint32_t>(strings_.size() - 1);
}

void Book::clear() {
    sheets_.clear();
    formats_.clear();
    strings_.clear();
    notes_.clear();
    format_ = FileFormat::None;
}

namespace {

enum class Signature { Unknown, Ole2, Zip, Biff, FlatOds, Markup };

constexpr std::size_t kHeadBytes = 64 * 1024;

// The first bytes of a file, enough to tell its format.
std::string head(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(kHeadBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(kHeadBytes));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// Whether the text starts, after a byte-order mark and white space, as XML or HTML does.
bool isMarkup(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const auto start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || text[start] != '<' || start + 1 >= text.size())
        return false;
    const char next = text[start + 1];
    return next == '?' || next == '!' || (next >= 'a' && next <= 'z') ||
           (next >= 'A' && next <= 'Z');
}

Signature sniff(const std::string& bytes) {
    const auto* magic = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < 8)
        return isMarkup(bytes) ? Signature::Markup : Signature::Unknown;
    static const unsigned char ole[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (std::equal(magic, magic + 8, ole))
        return Signature::Ole2;
    if (magic[0] == 'P' && magic[1] == 'K')
        return Signature::Zip;
    // Excel 2.x to 4.0 save the bare record stream: a BOF record (0x0009, 0x0209, 0x0409 or
    // 0x0809) of 4 to 20 bytes.
    const int bof = magic[0] | (magic[1] << 8);
    const int size = magic[2] | (magic[3] << 8);
    if ((bof == 0x0009 || bof == 0x0209 || bof == 0x0409 || bof == 0x0809) && size >= 4 &&
        size <= 20)
        return Signature::Biff;
    if (isMarkup(bytes))
        return ods::isFlatDocument(bytes) ? Signature::FlatOds : Signature::Markup;
    return Signature::Unknown;
}

} // namespace

namespace {

// Why the file cannot be read as a workbook at all, or empty when it can be opened.
std::string openFailure(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return "can't open file '" + path + "': it is a folder";
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (!probe) {
        const int err = errno;
        return "can't open file '" + path +
               "': " + (err == ENOENT ? "the file does not exist" : describeErrno(err));
    }
    std::fclose(probe);
    if (std::filesystem::file_size(path, ec) == 0 && !ec)
        return "can't open file '" + path + "': the file is empty";
    return {};
}

bool hasExtension(const std::string& path, std::initializer_list<const char*> extensions) {
    const std::string ext = std::filesystem::path(path).extension().string();
    for (const char* known : extensions)
        if (strcasecmp(ext.c_str(), known) == 0)
            return true;
    return false;
}

// Text is CSV when its name says so, or when its name is not that of a workbook.
bool readsAsText(const std::string& path, const std::string& head) {
    if (csv::isTextExtension(path))
        return true;
    const bool workbookName = hasExtension(path, {".xls", ".xlsx", ".xlsm", ".ods", ".fods"});
    return !workbookName && csv::looksLikeText(head, head.size() < kHeadBytes);
}

// Why a file of no known format is refused: the format that its name promises, or all.
std::string unknownFormat(const std::string& path) {
    if (hasExtension(path, {".xls", ".xlsx", ".xlsm"}))
        return "the file is neither an Excel 97-2003 (.xls) nor an Excel 2007 (.xlsx) workbook";
    if (hasExtension(path, {".ods", ".fods"}))
        return "the file is not an OpenDocument spreadsheet (.ods, .fods)";
    return "the file is neither a workbook (.xls, .xlsx, .ods, .fods) nor CSV or TSV text";
}

} // namespace

bool looksLikeWorkbook(const std::string& path) {
    const std::string bytes = head(path);
    switch (sniff(bytes)) {
    case Signature::Markup:
        return false;
    case Signature::Unknown:
        return readsAsText(path, bytes);
    default:
        return true;
    }
}

bool Book::load(const std::string& path, LoadProgress* progress) {
    clear();
    progress_ = progress;
    struct Detach {
        LoadProgress*& progress;
        ~Detach() { progress = nullptr; }
    } detach{progress_};
    std::string error;
    bool ok = false;
    error_ = openFailure(path);
    if (!error_.empty())
        return false;
    // The content decides the codec, so that a workbook saved under another extension still
    // opens; text is read as CSV.
    const std::string bytes = head(path);
    switch (sniff(bytes)) {
    case Signature::Ole2:
    case Signature::Biff:
        format_ = FileFormat::Xls;
        ok = xls::load(path, *this, error);
        break;
    case Signature::Zip:
        format_ = ods::isPackage(path) ? FileFormat::Ods : FileFormat::Xlsx;
        ok = format_ == FileFormat::Ods ? ods::load(path, *this, error)
                                        : xlsx::load(path, *this, error);
        break;
    case Signature::FlatOds:
        format_ = FileFormat::Ods;
        ok = ods::loadFlat(path, *this, error);
        break;
    case Signature::Markup:
        error = "the file is an XML or HTML document, not a workbook";
        break;
    case Signature::Unknown: {
        if (readsAsText(path, bytes)) {
            format_ = FileFormat::Csv;
            ok = csv::load(path, *this, csv::isTextExtension(path), error);
        } else {
            error = unknownFormat(path);
        }
        break;
    }
    }
    if (progress && progress->cancelled()) {
        ok = false;
        error = kLoadCancelled;
    }
    if (!ok) {
        clear();
        error_ = error.empty() ? "error reading file" : error;
        return false;
    }
    if (progress)
        progress->report(1, 1);
    error_.clear();
    return true;
}

bool Book::save(const std::string& path) {
    std::string error;
    const bool ok =
        kind_ == BookKind::Binary ? xls::save(path, *this, error) : xlsx::save(path, *this, error);
    error_ = ok ? std::string() : (error.empty() ? "error writing file" : error);
    return ok;
}

} // namespace frusta
