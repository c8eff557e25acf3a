// Writing of .xlsx workbooks with libxlsxwriter, row by row in its constant-memory mode,
// into a temporary file that replaces the target only when complete.
#include "workbook/AtomicFile.h"
#include "workbook/Book.h"
#include "workbook/xlsx/CellRef.h"
#include "workbook/xlsx/OoxmlText.h"
#include "workbook/xlsx/XlsxCodec.h"
#include "workbook/xlsx/XmlReader.h"
#include "workbook/xlsx/ZipPackage.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <locale.h>
#include <memory>
#include <set>
#include <vector>

namespace frusta::xlsx {

namespace {

constexpr std::size_t kMaxSheetNameChars = 31;
constexpr std::size_t kMaxTextChars = 32767;

// Frees a workbook abandoned on a failure path, without writing it.
struct WorkbookDiscarder {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};

// Numbers are formatted by the C library: hold the "C" locale on this thread while
// writing, so that a decimal comma of the user's locale never reaches the file.
class CLocaleScope {
public:
    CLocaleScope() : c_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0))) {
        if (c_)
            previous_ = uselocale(c_);
    }
    ~CLocaleScope() {
        if (c_) {
            uselocale(previous_);
            freelocale(c_);
        }
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t c_;
    locale_t previous_ = static_cast<locale_t>(0);
};

std::string asciiLower(std::string s) {
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return s;
}

// Excel's rules for sheet names; "" when the name is fine.
std::string sheetNameProblem(const std::string& name) {
    if (name.empty())
        return "a worksheet name can't be empty";
    const std::string quoted = "the worksheet name '" + name + "' ";
    if (utf8Length(name) > kMaxSheetNameChars)
        return quoted + "is longer than 31 characters";
    if (name.find_first_of("[]:*?/\\") != std::string::npos)
        return quoted + "contains one of the characters [ ] : * ? / \\";
    if (name.front() == '\'' || name.back() == '\'')
        return quoted + "begins or ends with an apostrophe";
    return {};
}

// Everything that would make the file invalid is found before anything is written.
bool checkBook(const Book& book, std::string& error) {
    std::set<std::string> names;
    for (int i = 0; i < book.sheetCount(); ++i) {
        const Sheet& sheet = *book.getSheet(i);
        if (std::string problem = sheetNameProblem(toValidUtf8(sheet.name())); !problem.empty()) {
            error = problem;
            return false;
        }
        if (!names.insert(asciiLower(sheet.name())).second) {
            error = "two worksheets are named '" + sheet.name() + "'";
            return false;
        }
        if (sheet.lastRow() > kXlsxMaxRows || sheet.lastCol() > kXlsxMaxCols) {
            error = "worksheet '" + sheet.name() + "' has cells beyond the limits of the format (" +
                    std::to_string(kXlsxMaxRows) + " rows, " + std::to_string(kXlsxMaxCols) +
                    " columns)";
            return false;
        }
    }
    return true;
}

class BookWriter {
public:
    BookWriter(const Book& book, std::string& error) : book_(book), error_(error) {}

    bool write(const std::string& path) {
        const CLocaleScope cLocale;
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        workbook_.reset(workbook_new_opt(path.c_str(), &options));
        if (!workbook_) {
            error_ = "not enough memory to write the workbook";
            return false;
        }
        makeFormats();
        for (int i = 0; i < book_.sheetCount(); ++i)
            if (!writeSheet(*book_.getSheet(i)))
                return false;
        errno = 0;
        const lxw_error result = workbook_close(workbook_.release());
        if (result != LXW_NO_ERROR) {
            const int err = errno;
            error_ = err != 0 ? describeErrno(err) : lxw_strerror(result);
            return false;
        }
        return verify(path);
    }

private:
    // The writer library does not check every write of its temporary files, so a full
    // disk can leave a short file behind a successful close: read the file back, check
    // that every part is whole, and count its cells.
    bool verify(const std::string& path) {
        Book written(BookKind::Xml);
        std::string why;
        if (!partsWhole(path, why) || !load(path, written, why)) {
            error_ = "the written file is damaged (is the disk full?): " + why;
            return false;
        }
        const std::size_t sheets = std::max<std::size_t>(cellCounts_.size(), 1);
        bool complete = static_cast<std::size_t>(written.sheetCount()) == sheets;
        for (std::size_t i = 0; complete && i < cellCounts_.size(); ++i)
            complete = countCells(*written.getSheet(static_cast<int>(i))) == cellCounts_[i];
        if (!complete)
            error_ = "the written file is incomplete (is the disk full?)";
        return complete;
    }

    // Every part but the worksheets (which the reading back parses whole) inflates to its
    // checksum and, all being XML, parses to its end.
    static bool partsWhole(const std::string& path, std::string& why) {
        struct WellFormed : XmlHandler {
            void startElement(XmlNs, std::string_view, const char**, int) override {}
            void endElement(XmlNs, std::string_view, int) override {}
        };
        ZipPackage package;
        if (!package.open(path, why))
            return false;
        for (const std::string& part : package.partNames()) {
            if (part.starts_with("xl/worksheets/"))
                continue;
            WellFormed handler;
            if (!parsePart(package, part, handler, why))
                return false;
        }
        return true;
    }

    static std::size_t countCells(const Sheet& sheet) {
        std::size_t n = 0;
        for (const auto& row : sheet.rows())
            for (const Cell& cell : row)
                n += cell.type != static_cast<uint8_t>(CellType::Empty);
        return n;
    }

    void makeFormats() {
        formats_.assign(static_cast<std::size_t>(book_.formatCount()) + 1, nullptr);
        for (int i = 1; i <= book_.formatCount(); ++i) {
            lxw_format* format = workbook_add_format(workbook_.get());
            if (format && book_.format(i)->numFormat() > 0)
                format_set_num_format_index(format,
                                            static_cast<uint8_t>(book_.format(i)->numFormat()));
            formats_[i] = format;
        }
    }

    lxw_format* formatOf(const Cell& cell) const {
        return cell.format < formats_.size() ? formats_[cell.format] : nullptr;
    }

    bool writeSheet(const Sheet& sheet) {
        const std::string name = toValidUtf8(sheet.name());
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook_.get(), name.c_str());
        if (!worksheet) {
            error_ = "can't add worksheet '" + name + "': " +
                     lxw_strerror(workbook_validate_sheet_name(workbook_.get(), name.c_str()));
            return false;
        }
        cellCounts_.push_back(0);
        const auto& rows = sheet.rows();
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (const Cell& cell : rows[r])
                if (!writeCell(sheet, *worksheet, static_cast<int>(r), cell))
                    return false;
        return true;
    }

    bool writeCell(const Sheet& sheet, lxw_worksheet& worksheet, int row, const Cell& cell) {
        const auto col = static_cast<lxw_col_t>(cell.col);
        const lxw_row_t lxwRow = static_cast<lxw_row_t>(row);
        lxw_error result = LXW_NO_ERROR;
        switch (static_cast<CellType>(cell.type)) {
        case CellType::Empty:
            return true;
        case CellType::Number:
            if (!std::isfinite(cell.number))
                return failAt(sheet, row, cell, "the value is not a finite number");
            result = worksheet_write_number(&worksheet, lxwRow, col, cell.number, formatOf(cell));
            break;
        case CellType::String: {
            const std::string text = escapeLiteralEscapes(toValidUtf8(sheet.text(cell.text)));
            if (utf8Length(text) > kMaxTextChars)
                return failAt(sheet, row, cell, "the text is longer than 32767 characters");
            result = worksheet_write_string(&worksheet, lxwRow, col, text.c_str(), formatOf(cell));
            break;
        }
        case CellType::Boolean:
            result =
                worksheet_write_boolean(&worksheet, lxwRow, col, cell.boolean != 0, formatOf(cell));
            break;
        case CellType::Blank:
            result = worksheet_write_blank(&worksheet, lxwRow, col, formatOf(cell));
            break;
        case CellType::Error:
            return failAt(sheet, row, cell, "error values can't be written");
        }
        if (result != LXW_NO_ERROR)
            return failAt(sheet, row, cell, lxw_strerror(result));
        // Empty texts and blanks without a format leave no cell in the file.
        const bool leavesNoCell = (cell.type == static_cast<uint8_t>(CellType::Blank) ||
                                   (cell.type == static_cast<uint8_t>(CellType::String) &&
                                    sheet.text(cell.text).empty())) &&
                                  !formatOf(cell);
        cellCounts_.back() += leavesNoCell ? 0 : 1;
        return true;
    }

    bool failAt(const Sheet& sheet, int row, const Cell& cell, const std::string& why) {
        error_ = "worksheet '" + sheet.name() + "', cell " +
                 cellName(row, static_cast<int>(cell.col)) + ": " + why;
        return false;
    }

    const Book& book_;
    std::string& error_;
    std::unique_ptr<lxw_workbook, WorkbookDiscarder> workbook_;
    std::vector<lxw_format*> formats_;
    std::vector<std::size_t> cellCounts_; // cells written per sheet
};

} // namespace

bool save(const std::string& path, const Book& book, std::string& error) {
    std::string problem;
    if (!checkBook(book, problem)) {
        error = "can't save '" + path + "': " + problem;
        return false;
    }
    return writeAtomically(
        path,
        [&book](const std::string& tempPath, std::string& why) {
            BookWriter writer(book, why);
            return writer.write(tempPath);
        },
        error);
}

} // namespace frusta::xlsx
