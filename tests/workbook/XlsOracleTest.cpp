// Workbooks written as .xls are read back with the values written by xlrd and LibreOffice.
#include "workbook/Book.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace frusta {
namespace {

namespace fs = std::filesystem;

std::string escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The cells of the book in memory, as XlsOracleCheck.py expects them.
void writeExpected(const Book& book, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    static const char* const kinds[] = {"empty", "number", "text", "boolean", "blank", "error"};
    char number[40];
    for (int i = 0; i < book.sheetCount(); ++i) {
        const Sheet& s = *book.getSheet(i);
        for (std::size_t r = 0; r < s.rows().size(); ++r) {
            for (const Cell& c : s.rows()[r]) {
                const Format* f = book.format(c.format);
                out << s.name() << '\t' << r << '\t' << c.col << '\t' << kinds[c.type] << '\t';
                switch (static_cast<CellType>(c.type)) {
                case CellType::Number:
                    std::snprintf(number, sizeof number, "%.17g", c.number);
                    out << number;
                    break;
                case CellType::String:
                    out << escaped(book.string(c.text));
                    break;
                case CellType::Boolean:
                    out << (c.boolean ? "TRUE" : "FALSE");
                    break;
                case CellType::Error:
                    out << errorText(c.error);
                    break;
                default:
                    break;
                }
                out << '\t' << (f ? f->numFormat() : 0) << '\n';
            }
        }
    }
}

// A results-like book: the two formats, three sheets, shared strings spread over CONTINUE
// records, texts in several scripts.
std::unique_ptr<Book> resultsBook() {
    auto book = Book::createBinary();
    Format* date = book->addFormat();
    date->setNumFormat(14);
    Format* two = book->addFormat();
    two->setNumFormat(2);
    Sheet* job = book->addSheet("Job Summary");
    job->writeStr(0, 0, "File: samples.xls");
    job->writeStr(1, 0, "");
    job->writeStr(2, 0, "The following taxa do not have TDI4 scores in the FRUSTA database.");
    job->writeStr(3, 0, std::string(10000, 'L') + "end");
    std::string wide;
    for (int i = 0; i < 5000; ++i)
        wide += i % 2 ? "\u0416" : "a";
    job->writeStr(4, 0, wide);
    job->writeStr(5, 0, "Gr\u00FC\u00DFe caf\u00E9 \u20AC \u03A9 tab\there");
    job->setBool(6, 0, true);
    job->setBool(6, 1, false);
    job->setError(6, 2, 0x07);
    job->setBlank(6, 3);
    Sheet* sum = book->addSheet("Sample Summary");
    sum->writeStr(0, 0, "Sample name");
    sum->writeStr(0, 1, "Date");
    sum->writeStr(0, 2, "EQR TDI4");
    for (int r = 1; r <= 3000; ++r) {
        sum->writeStr(r, 0, "Sample " + std::to_string(r) + std::string(r % 37, '-'));
        sum->writeNum(r, 1, 40000 + r, date);
        sum->writeNum(r, 2, 1.0 / r, two);
        sum->writeNum(r, 3, r * 1e10 + 0.5);
        sum->writeNum(r, 4, -r);
    }
    Sheet* unc = book->addSheet("Uncertainty TDI4");
    unc->writeStr(0, 0, "Site code");
    unc->writeNum(1, 255, 3.25, two);
    return book;
}

TEST(XlsOracle, XlrdAndLibreOfficeReadWhatWeWrite) {
    const fs::path dir = fs::temp_directory_path() / ("xls-oracle-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    auto book = resultsBook();
    const std::string path = (dir / "ours.xls").string();
    ASSERT_TRUE(book->save(path)) << book->errorMessage();
    writeExpected(*book, (dir / "expected.tsv").string());
    const std::string script = std::string(FRUSTA_TEST_DATA_DIR) + "/../workbook/XlsOracleCheck.py";
    const std::string command = std::string(FRUSTA_SYSTEM_PYTHON) + " '" + script + "' '" + path +
                                "' '" + (dir / "expected.tsv").string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "xlrd or LibreOffice is not installed";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "see the differences above; files kept in " << dir;
    if (WEXITSTATUS(status) == 0)
        fs::remove_all(dir);
}

} // namespace
} // namespace frusta
