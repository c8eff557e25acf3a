// Reading of CSV and TSV files as a workbook of one worksheet. The file is read in chunks
// and each record is split into fields where it lies in the buffer, so that it is held in
// memory once, as cells; a hostile file is refused as soon as it shows itself.
#include "workbook/Book.h"
#include "workbook/LoadProgress.h"
#include "workbook/csv/CsvCodec.h"
#include "workbook/csv/Dialect.h"
#include "workbook/csv/FieldValue.h"
#include "workbook/csv/TextEncoding.h"
#include "workbook/xlsx/OoxmlText.h"
#include "workbook/xlsx/XlsxLimits.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <strings.h>
#include <vector>

namespace frusta::csv {

namespace {

constexpr std::size_t kChunk = 1024 * 1024;
constexpr std::size_t kMaxRecordBytes = 1024 * 1024;
constexpr std::size_t kDetectBytes = 64 * 1024;
constexpr std::uint64_t kCellCost = sizeof(Cell);
constexpr std::uint64_t kRowCost = sizeof(std::vector<Cell>);

constexpr const char* kWindows1252Note =
    "the file is not UTF-8 text; it was read as Windows-1252 (Western European)";

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

enum class Encoding { Utf8, Utf8WithMark, Windows1252 };

// One field of the record being read, where it lies in the buffer.
struct Field {
    const char* begin;
    const char* end;
    // Text after a closing quote, kept as part of the field (as spreadsheets do).
    const char* strayBegin;
    const char* strayEnd;
    bool doubledQuotes;
    bool empty() const { return begin == end && strayBegin == strayEnd; }
};

bool isAscii(std::string_view s) {
    for (const char ch : s)
        if (static_cast<unsigned char>(ch) >= 0x80)
            return false;
    return true;
}

std::string rowText(std::int64_t row) {
    return "row " + std::to_string(row + 1);
}

class Reader {
public:
    Reader(const std::string& path, Book& book, bool anyEncoding, std::string& error)
        : path_(path), book_(book), anyEncoding_(anyEncoding), error_(error) {}

    bool run();

private:
    enum class Outcome { Done, Failed, Restart };
    enum class Parsed { Record, NeedMore, Failed };

    Outcome pass();
    bool fill();
    void start();
    Parsed parseRecord(const char*& p);
    Outcome commitRecord();
    Outcome commitField(int col, const Field& field);
    Outcome decode(std::string_view raw, std::string& text);
    bool fail(std::string reason) {
        error_ = std::move(reason);
        return false;
    }
    bool charge(std::uint64_t bytes) {
        if (budget_.charge(bytes))
            return true;
        return fail("the file's cells and texts need more than " +
                    std::to_string(budget_.limit() / xlsx::kMiB) + " MB of memory");
    }

    const std::string& path_;
    Book& book_;
    bool anyEncoding_;
    std::string& error_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // unread data in buffer_[begin_, end_)
    std::size_t end_ = 0;
    bool eof_ = false;
    bool special_[256] = {};
    char delimiter_ = ',';
    bool decimalComma_ = false;
    Encoding encoding_ = Encoding::Utf8;
    bool sawNonAscii_ = false; // texts decoded as UTF-8 that Windows-1252 would read otherwise
    Sheet* sheet_ = nullptr;
    std::int64_t row_ = 0;
    std::uint64_t fileBytes_ = 0; // the file's size, for the progress shown
    std::uint64_t readBytes_ = 0; // read in this pass
    std::vector<Field> fields_;
    std::string scratch_;
    xlsx::ReadBudget budget_;
};

bool Reader::run() {
    file_.reset(std::fopen(path_.c_str(), "rb"));
    if (!file_)
        return fail("can't open file '" + path_ + "'");
    // Room for a chunk after the unread rest of a record, or for the whole of a small file,
    // and the end mark.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path_, ec);
    fileBytes_ = ec ? 0 : size;
    const std::size_t room = kChunk + kMaxRecordBytes;
    buffer_.resize((ec || size > room ? room : static_cast<std::size_t>(size)) + 1);
    for (;;) {
        const Outcome outcome = pass();
        if (outcome != Outcome::Restart)
            return outcome == Outcome::Done;
        // A byte that is not UTF-8 came after texts that were read as UTF-8: read the file
        // again from the start, as Windows-1252.
        book_.clear();
        std::rewind(file_.get());
        encoding_ = Encoding::Windows1252;
        begin_ = end_ = 0;
        readBytes_ = 0;
        eof_ = false;
        budget_ = xlsx::ReadBudget();
    }
}

// Moves the unread data to the front of the buffer and reads more after it.
bool Reader::fill() {
    const std::size_t unread = end_ - begin_;
    std::memmove(buffer_.data(), buffer_.data() + begin_, unread);
    begin_ = 0;
    end_ = unread;
    const std::size_t space = buffer_.size() - 1 - end_;
    const std::size_t n =
        std::fread(buffer_.data() + end_, 1, std::min(kChunk, space), file_.get());
    if (n == 0) {
        if (std::ferror(file_.get()))
            return fail("the file can't be read to its end");
        eof_ = true;
    }
    readBytes_ += n;
    if (LoadProgress* progress = book_.loadProgress()) {
        progress->report(readBytes_, fileBytes_);
        if (progress->cancelled())
            return fail(kLoadCancelled);
    }
    end_ += n;
    buffer_[end_] = '\n'; // stops every scan at the end of the data
    return true;
}

// Takes the encoding mark and the delimiter from the first chunk; makes the sheet.
void Reader::start() {
    std::string_view head(buffer_.data(), end_);
    if (head.substr(0, 3) == "\xEF\xBB\xBF") {
        begin_ = 3;
        if (encoding_ == Encoding::Utf8)
            encoding_ = Encoding::Utf8WithMark;
        head.remove_prefix(3);
    }
    const std::filesystem::path file(path_);
    const bool tsv = strcasecmp(file.extension().c_str(), ".tsv") == 0;
    delimiter_ = detectDelimiter(head.substr(0, kDetectBytes), tsv ? '\t' : ',');
    decimalComma_ = delimiter_ == ';';
    std::memset(special_, 0, sizeof special_);
    for (const char ch : {delimiter_, '\r', '\n', '\0'})
        special_[static_cast<unsigned char>(ch)] = true;
    std::string name = file.stem().string();
    sheet_ = book_.addSheet(name.empty() ? "Sheet1" : name);
    row_ = 0;
    if (encoding_ == Encoding::Windows1252)
        book_.addNote(kWindows1252Note);
}

Reader::Outcome Reader::pass() {
    if (!fill())
        return Outcome::Failed;
    start();
    for (;;) {
        if (begin_ == end_) {
            if (eof_)
                return Outcome::Done;
            if (!fill())
                return Outcome::Failed;
            continue;
        }
        const char* p = buffer_.data() + begin_;
        switch (parseRecord(p)) {
        case Parsed::Failed:
            return Outcome::Failed;
        case Parsed::NeedMore:
            if (end_ - begin_ > kMaxRecordBytes) {
                fail(rowText(row_) + " is longer than 1 MB, which no table of counts is (is the "
                                     "file CSV text?)");
                return Outcome::Failed;
            }
            if (!fill())
                return Outcome::Failed;
            continue;
        case Parsed::Record:
            break;
        }
        if (static_cast<std::size_t>(p - (buffer_.data() + begin_)) > kMaxRecordBytes) {
            fail(rowText(row_) + " is longer than 1 MB, which no table of counts is (is the file "
                                 "CSV text?)");
            return Outcome::Failed;
        }
        begin_ = static_cast<std::size_t>(p - buffer_.data());
        const Outcome committed = commitRecord();
        if (committed != Outcome::Done)
            return committed;
        ++row_;
    }
}

// Splits the record at `p` into fields_; on success `p` is past its line end.
Reader::Parsed Reader::parseRecord(const char*& p) {
    const char* const e = buffer_.data() + end_;
    fields_.clear();
    for (;;) {
        Field field{p, p, p, p, false};
        if (p < e && *p == '"') {
            field.begin = ++p;
            for (;;) {
                const auto* quote = static_cast<const char*>(std::memchr(p, '"', e - p));
                if (!quote) {
                    if (!eof_)
                        return Parsed::NeedMore;
                    fail("the quoted field that starts in " + rowText(row_) +
                         " is not closed before the end of the file");
                    return Parsed::Failed;
                }
                if (std::memchr(p, '\0', quote - p)) {
                    fail("the file holds a NUL byte (" + rowText(row_) +
                         "), which text files never do");
                    return Parsed::Failed;
                }
                if (quote + 1 == e && !eof_)
                    return Parsed::NeedMore; // a doubled quote may go on in the next chunk
                p = quote + 1;
                if (p < e && *p == '"') {
                    field.doubledQuotes = true;
                    ++p;
                    continue;
                }
                field.end = quote;
                break;
            }
            field.strayBegin = p;
            while (!special_[static_cast<unsigned char>(*p)])
                ++p;
            field.strayEnd = p;
        } else {
            while (!special_[static_cast<unsigned char>(*p)])
                ++p;
            field.end = field.strayBegin = field.strayEnd = p;
        }
        if (p < e && *p == '\0') {
            fail("the file holds a NUL byte (" + rowText(row_) + "), which text files never do");
            return Parsed::Failed;
        }
        fields_.push_back(field);
        if (p == e) {
            if (!eof_)
                return Parsed::NeedMore;
            return Parsed::Record; // the last line, without a line end
        }
        if (*p == delimiter_) {
            ++p;
            continue;
        }
        if (*p == '\r') {
            if (p + 1 == e && !eof_)
                return Parsed::NeedMore; // its line feed may come in the next chunk
            p += p + 1 < e && p[1] == '\n' ? 2 : 1;
        } else {
            ++p; // '\n'
        }
        return Parsed::Record;
    }
}

Reader::Outcome Reader::commitRecord() {
    bool any = false;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const Field& f = fields_[i];
        if (f.empty())
            continue;
        if (!any) {
            any = true;
            if (row_ >= kXlsxMaxRows) {
                fail("the file has more than " + std::to_string(kXlsxMaxRows) +
                     " rows, more than a worksheet holds");
                return Outcome::Failed;
            }
            if (!charge(kRowCost))
                return Outcome::Failed;
        }
        if (i >= static_cast<std::size_t>(kXlsxMaxCols)) {
            fail(rowText(row_) + " has more than " + std::to_string(kXlsxMaxCols) +
                 " fields, more than a worksheet has columns");
            return Outcome::Failed;
        }
        const Outcome stored = commitField(static_cast<int>(i), f);
        if (stored != Outcome::Done)
            return stored;
    }
    return Outcome::Done;
}

Reader::Outcome Reader::commitField(int col, const Field& f) {
    std::string_view raw(f.begin, static_cast<std::size_t>(f.end - f.begin));
    if (f.doubledQuotes || f.strayBegin != f.strayEnd) {
        scratch_.clear();
        for (const char* s = f.begin; s < f.end; ++s) {
            scratch_ += *s;
            if (*s == '"') // inside quotes a quote is always doubled
                ++s;
        }
        scratch_.append(f.strayBegin, f.strayEnd);
        raw = scratch_;
    }
    if (const auto number = parseNumber(raw, decimalComma_)) {
        if (!charge(kCellCost))
            return Outcome::Failed;
        sheet_->setNumber(static_cast<int>(row_), col, *number);
        return Outcome::Done;
    }
    if (const auto date = parseDate(raw)) {
        if (!charge(kCellCost))
            return Outcome::Failed;
        sheet_->setNumber(static_cast<int>(row_), col, *date);
        return Outcome::Done;
    }
    std::string text;
    const Outcome decoded = decode(raw, text);
    if (decoded != Outcome::Done)
        return decoded;
    if (!charge(kCellCost + text.size() + sizeof(std::string)))
        return Outcome::Failed;
    sheet_->setString(static_cast<int>(row_), col, book_.addString(std::move(text)));
    return Outcome::Done;
}

Reader::Outcome Reader::decode(std::string_view raw, std::string& text) {
    if (encoding_ == Encoding::Windows1252) {
        appendWindows1252(text, raw);
        return Outcome::Done;
    }
    if (isAscii(raw) || validUtf8Length(raw) == raw.size()) {
        sawNonAscii_ = sawNonAscii_ || !isAscii(raw);
        text.assign(raw);
        return Outcome::Done;
    }
    // Not UTF-8. A file that says it is keeps its word, with the bad bytes replaced; any
    // other is Windows-1252 text, if it may be.
    if (encoding_ == Encoding::Utf8WithMark) {
        text = xlsx::toValidUtf8(raw);
        return Outcome::Done;
    }
    if (!anyEncoding_) {
        fail("the file is text, but not UTF-8 (" + rowText(row_) +
             "); give it the extension .csv, .tsv or .txt to read it as Windows-1252 text");
        return Outcome::Failed;
    }
    if (sawNonAscii_)
        return Outcome::Restart;
    encoding_ = Encoding::Windows1252;
    book_.addNote(kWindows1252Note);
    appendWindows1252(text, raw);
    return Outcome::Done;
}

} // namespace

bool isTextExtension(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    for (const char* known : {".csv", ".tsv", ".txt"})
        if (strcasecmp(ext.c_str(), known) == 0)
            return true;
    return false;
}

bool looksLikeText(std::string_view head, bool whole) {
    if (head.empty() || std::memchr(head.data(), '\0', head.size()))
        return false;
    const std::size_t valid = validUtf8Length(head);
    // The head may end inside a character.
    return valid == head.size() || (!whole && head.size() - valid < 4);
}

bool load(const std::string& path, Book& book, bool anyEncoding, std::string& error) {
    Reader reader(path, book, anyEncoding, error);
    return reader.run();
}

} // namespace frusta::csv
