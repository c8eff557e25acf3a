// Books written in either format read back as written, by our own readers and by
// independent ones: xlrd, openpyxl (.xlsx) and LibreOffice.
#include "WorkbookTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <sys/wait.h>

namespace frusta {
namespace {

using namespace wbtest;

// A results-like book: three sheets, one empty; thousands of shared strings, texts longer
// than a BIFF record, in several scripts, with characters XML must escape; numbers at the
// edges of the BIFF RK encodings; dates and two-decimal numbers.
std::unique_ptr<Book> sampleBook(BookKind kind) {
    auto book = std::make_unique<Book>(kind);
    Format* date = book->addFormat();
    date->setNumFormat(14);
    Format* two = book->addFormat();
    two->setNumFormat(2);
    Sheet* job = book->addSheet("Job Summary");
    std::string wide;
    for (int i = 0; i < 5000; ++i)
        wide += i % 2 ? "\u0416" : "a";
    const std::string texts[] = {"File: samples.xls",
                                 "",
                                 std::string(10000, 'L') + "end",
                                 wide,
                                 "Gr\u00FC\u00DFe caf\u00E9 \u20AC \u03A9 \u6C34 \U0001F600",
                                 "tab\there",
                                 "line\r\nbreak",
                                 "ctl\x01\x1f",
                                 "_x0041_ stays",
                                 "<&>\"' ]]>",
                                 std::string(32767, 'w')};
    int row = 0;
    for (const std::string& text : texts)
        job->writeStr(row++, 0, text);
    job->writeStr(row, 0, "", two); // .xlsx: blank
    const double numbers[] = {
        0,      -1.5,        0.1,         12.34,        -0.015,       1.5,
        0.5,    536870911.0, 536870912.0, -536870912.0, 1073741824.0, 1e300,
        1e-300, 2.5e-10,     123456.789,  1e15,         1.0 / 3,      9007199254740992.0};
    row = 0;
    for (const double v : numbers)
        job->writeNum(row++, 1, v);
    job->setBool(0, 2, true);
    job->setBool(1, 2, false);
    job->setBlank(2, 2);
    if (kind == BookKind::Binary) {
        job->setError(3, 2, 0x07);
        job->writeNum(4, 2, std::nan(""));        // as #NUM!
        job->writeNum(5, 2, 0.1 + 0.2);           // 17 digits; .xlsx keeps 16
        job->writeNum(6, 2, 0.09999999999999999); // x100 is whole, yet no RK number
    }
    Sheet* sum = book->addSheet("Sample Summary");
    sum->writeStr(0, 0, "Sample name");
    for (int r = 1; r <= 3000; ++r) {
        sum->writeStr(r, 0, "Sample " + std::to_string(r) + std::string(r % 37, '-'));
        sum->writeNum(r, 1, 40000 + r, date);
        sum->writeNum(r, 2, r / 64.0, two);
        sum->writeNum(r, 3, r * 1e10 + 0.5);
    }
    book->addSheet("Empty");
    return book;
}

std::string escaped(const std::string& s) {
    std::string out;
    for (char c : s)
        out += c == '\\'   ? "\\\\"
               : c == '\t' ? "\\t"
               : c == '\n' ? "\\n"
               : c == '\r' ? "\\r"
                           : std::string(1, c);
    return out;
}

// A cell as "sheet<TAB>row<TAB>col<TAB>type<TAB>value", in the words of frusta2-cli dump.
std::string describe(const Sheet& s, std::size_t row, const Cell& c, const Book& book) {
    static const char* const kinds[] = {"empty", "number", "text", "boolean", "blank", "error"};
    std::string value;
    char number[40];
    switch (static_cast<CellType>(c.type)) {
    case CellType::Number:
        std::snprintf(number, sizeof number, "%.17g", c.number);
        value = number;
        break;
    case CellType::String:
        value = escaped(book.string(c.text));
        break;
    case CellType::Boolean:
        value = c.boolean ? "TRUE" : "FALSE";
        break;
    case CellType::Error:
        value = errorText(c.error);
        break;
    default:
        break;
    }
    return s.name() + "\t" + std::to_string(row) + "\t" + std::to_string(c.col) + "\t" +
           kinds[c.type] + "\t" + value;
}

// Turns `c` into the cell a reader should find once the book is written; false when it finds
// none. .xls keeps NaN as #NUM!; .xlsx keeps an empty text or a blank cell as a blank cell
// when it has a format, and not at all otherwise.
bool asWritten(const Book& book, Cell& c) {
    const auto type = static_cast<CellType>(c.type);
    if (book.kind() == BookKind::Binary && type == CellType::Number && std::isnan(c.number)) {
        c.type = static_cast<uint8_t>(CellType::Error);
        c.error = 0x24;
    } else if (book.kind() == BookKind::Xml &&
               (type == CellType::Blank ||
                (type == CellType::String && book.string(c.text).empty()))) {
        c.type = static_cast<uint8_t>(CellType::Blank);
        return c.format != 0;
    }
    return true;
}

// The cells of `book`, with `written` as a reader should find them once written; with
// `formats`, each line ends with the built-in number format of the cell.
std::vector<std::string> cellLines(const Book& book, bool written, bool formats = false) {
    std::vector<std::string> lines;
    for (int i = 0; i < book.sheetCount(); ++i) {
        const Sheet& s = *book.getSheet(i);
        for (std::size_t r = 0; r < s.rows().size(); ++r) {
            for (Cell c : s.rows()[r]) {
                if (written && !asWritten(book, c))
                    continue;
                const Format* f = book.format(c.format);
                lines.push_back(describe(s, r, c, book) +
                                (formats ? "\t" + std::to_string(f ? f->numFormat() : 0) : ""));
            }
        }
    }
    return lines;
}

// Each format reads back as written, by this program's readers and by independent ones.
TEST(BookWrite, ReadsBackAsWrittenHereAndElsewhere) {
    for (const BookKind kind : {BookKind::Binary, BookKind::Xml}) {
        TempDir dir;
        auto book = sampleBook(kind);
        const std::string path = dir.file(kind == BookKind::Binary ? "r.xls" : "r.xlsx");
        ASSERT_TRUE(book->save(path)) << book->errorMessage();
        EXPECT_STREQ(book->errorMessage(), "");
        EXPECT_EQ(dir.files().size(), 1u);
        const auto back = load(path, kind);
        ASSERT_TRUE(back.ok) << back.error;
        ASSERT_EQ(back.book->sheetCount(), 3);
        EXPECT_EQ(back.book->getSheet(2)->name(), "Empty");
        const auto want = cellLines(*book, true);
        const auto got = cellLines(*back.book, false);
        std::set<std::string> missing(want.begin(), want.end());
        for (const std::string& line : got)
            EXPECT_EQ(missing.erase(line), 1u)
                << "read back but not written: " << line.substr(0, 80);
        for (const std::string& line : missing)
            ADD_FAILURE() << "written but not read back: " << line.substr(0, 80);

        std::string expected;
        for (int i = 0; i < book->sheetCount(); ++i)
            expected += (i ? "\t" : "") + book->getSheet(i)->name();
        for (const std::string& line : cellLines(*book, true, true))
            expected += "\n" + line;
        writeFile(dir.file("expected.tsv"), expected + "\n");
        const std::string command = std::string(FRUSTA_SYSTEM_PYTHON) + " '" +
                                    FRUSTA_TEST_DATA_DIR + "/../workbook/WorkbookOracle.py' '" +
                                    path + "' '" + dir.file("expected.tsv") + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 77)
            GTEST_SKIP() << "xlrd, openpyxl or LibreOffice is not installed";
        EXPECT_EQ(WEXITSTATUS(status), 0) << path << ": see the differences above";
    }
}

TEST(BookWrite, TheLastRowAndColumnOfEachFormat) {
    for (const auto& [kind, rows, cols] : {std::tuple(BookKind::Binary, kXlsMaxRows, kXlsMaxCols),
                                           std::tuple(BookKind::Xml, kXlsxMaxRows, kXlsxMaxCols)}) {
        TempDir dir;
        Book book(kind);
        book.addSheet("S")->writeStr(rows - 1, cols - 1, "corner");
        ASSERT_TRUE(book.save(dir.file("c"))) << book.errorMessage();
        const auto back = load(dir.file("c"), kind);
        ASSERT_TRUE(back.ok) << back.error;
        const Sheet& s = *back.book->getSheet(0);
        EXPECT_STREQ(s.readStr(rows - 1, cols - 1), "corner");
        EXPECT_EQ(s.lastRow(), rows);
        EXPECT_EQ(s.lastCol(), cols);
    }
}

} // namespace
} // namespace frusta
