#pragma once
// The workbook interface: a book, its worksheets and its cell formats, read from .xls files
// of every Excel version (BIFF2 to BIFF8), .xlsx (Office Open XML) files, OpenDocument
// spreadsheets (.ods, .fods) and CSV or TSV text, and written to .xls (BIFF8 in an OLE2
// compound file) and .xlsx. Rows and columns are 0-based; texts are UTF-8.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace frusta {

enum class CellType : int { Empty = 0, Number = 1, String = 2, Boolean = 3, Blank = 4, Error = 5 };
enum class BookKind { Binary, Xml }; // .xls, .xlsx
// The format of the file that a book was loaded from.
enum class FileFormat { None, Xls, Xlsx, Ods, Csv };

// Limits of the two formats.
constexpr int kXlsMaxRows = 65536;
constexpr int kXlsMaxCols = 256;
constexpr int kXlsxMaxRows = 1048576;
constexpr int kXlsxMaxCols = 16384;

class Format {
public:
    explicit Format(int index) : index_(index) {}
    void setNumFormat(int builtinId) { numFormat_ = builtinId; }
    int numFormat() const { return numFormat_; }
    int index() const { return index_; } // 1-based; 0 means "no format"

private:
    int index_;
    int numFormat_ = 0;
};

// One cell as held in memory: 16 bytes.
struct Cell {
    uint32_t col = 0;
    uint8_t type = 0;   // CellType
    uint8_t format = 0; // Format index, 0 = none
    uint16_t reserved = 0;
    union {
        double number;
        uint32_t text; // index into the book's string pool
        uint8_t boolean;
        uint8_t error; // Excel error code: 0x00 #NULL!, 0x07 #DIV/0!, 0x0F #VALUE!, ...
    };
    Cell() : number(0.0) {}
};

// True when Book::load would take the file up by its first bytes and name: an OLE2 compound
// file, a zip package, a bare BIFF stream, a flat OpenDocument file or text read as CSV;
// false when it cannot be read or is of another kind.
bool looksLikeWorkbook(const std::string& path);

// Text of an Excel error code ("#DIV/0!" for 0x07), "#N/A" for unknown codes.
const char* errorText(int code);

class Book;
class LoadProgress;

class Sheet {
public:
    Sheet(Book& book, std::string name);

    const std::string& name() const { return name_; }
    int lastRow() const { return static_cast<int>(rows_.size()); } // one past the last used
    int lastCol() const { return lastCol_; }                       // one past the last used

    CellType cellType(int row, int col) const;
    // The cell, or nullptr when it is empty: its type and value in one look-up.
    const Cell* cell(int row, int col) const { return find(row, col); }
    // The cell's text, or nullptr when the cell holds no text.
    const char* readStr(int row, int col) const;
    // The cell's number (date cells give their 1900-system day number); 0 when not a number.
    double readNum(int row, int col) const;
    bool readBool(int row, int col) const;
    int readError(int row, int col) const;
    int cellFormat(int row, int col) const;

    bool writeStr(int row, int col, const std::string& text, const Format* format = nullptr);
    bool writeNum(int row, int col, double value, const Format* format = nullptr);

    // Used by the readers while loading.
    void setNumber(int row, int col, double v, int format = 0);
    void setString(int row, int col, uint32_t poolIndex);
    void setBool(int row, int col, bool v);
    void setError(int row, int col, int code);
    void setBlank(int row, int col);

    // Rows in order, each with its cells sorted by column (for the writers).
    const std::vector<std::vector<Cell>>& rows() const { return rows_; }
    const std::string& text(uint32_t poolIndex) const;

    // Why the sheet could not be read, empty when it was read. A workbook that lists a
    // sheet whose data is missing still opens; the sheet holds no cells and is refused, with
    // this reason, when it is chosen.
    const std::string& unreadable() const { return unreadable_; }
    void setUnreadable(std::string reason) { unreadable_ = std::move(reason); }

private:
    const Cell* find(int row, int col) const;
    Cell& slot(int row, int col);

    Book& book_;
    std::string name_;
    std::string unreadable_;
    std::vector<std::vector<Cell>> rows_;
    int lastCol_ = 0;
};

class Book {
public:
    explicit Book(BookKind kind);
    ~Book();
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    // A book for the binary (.xls) or the XML (.xlsx) format.
    static std::unique_ptr<Book> createBinary();
    static std::unique_ptr<Book> createXml();

    BookKind kind() const { return kind_; }

    // Replaces the book's contents with the file's; false with a reason on failure. With
    // `progress` the readers report how far they have come and stop when it is cancelled
    // (the reason is then kLoadCancelled).
    bool load(const std::string& path, LoadProgress* progress = nullptr);
    // The progress of the load that runs, for the readers; null when none is followed.
    LoadProgress* loadProgress() const { return progress_; }
    // Writes the book; never destroys an existing file on failure.
    bool save(const std::string& path);
    // Why the last load or save failed; empty after one that succeeded.
    const char* errorMessage() const { return error_.c_str(); }
    FileFormat fileFormat() const { return format_; }
    // What the user should know about how the file was read (such as the text encoding that
    // was assumed), one sentence each.
    const std::vector<std::string>& notes() const { return notes_; }

    int sheetCount() const { return static_cast<int>(sheets_.size()); }
    Sheet* getSheet(int index);
    const Sheet* getSheet(int index) const;
    Sheet* addSheet(const std::string& name);
    Format* addFormat();
    const Format* format(int index) const; // 1-based
    int formatCount() const { return static_cast<int>(formats_.size()); }

    // Used by the readers.
    uint32_t addString(std::string text);
    const std::string& string(uint32_t index) const { return strings_[index]; }
    std::size_t stringCount() const { return strings_.size(); }
    void clear();
    void setError(std::string message) { error_ = std::move(message); }
    void addNote(std::string note) { notes_.push_back(std::move(note)); }

private:
    BookKind kind_;
    std::string error_;
    FileFormat format_ = FileFormat::None;
    std::vector<std::string> notes_;
    std::vector<std::unique_ptr<Sheet>> sheets_;
    std::deque<Format> formats_;
    std::vector<std::string> strings_;
    LoadProgress* progress_ = nullptr;
};

} // namespace frusta
