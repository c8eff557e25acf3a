// Books we write, read back by independent readers: xlrd, openpyxl and LibreOffice.
#include "XlsxTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>

using frusta::Book;
using frusta::Format;
using frusta::Sheet;
using namespace xlsxtest;

namespace {

const std::string kScript = std::string(FRUSTA_TEST_DATA_DIR) + "/../workbook/XlsxOracle.py";

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

// Lines "sheet<TAB>row<TAB>col<TAB>type<TAB>value" printed by the oracle script.
std::set<std::string> oracle(const std::string& reader, const std::string& path,
                             const std::string& extra = "") {
    const std::string command = std::string(FRUSTA_SYSTEM_PYTHON) + " " + quoted(kScript) + " " +
                                reader + " " + quoted(path) + " " + extra + " 2>&1";
    std::set<std::string> lines;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return lines;
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        out.append(buf, n);
    pclose(pipe);
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.insert(line);
    return lines;
}

std::string line(const std::string& sheet, int row, int col, const std::string& type,
                 const std::string& value) {
    return sheet + "\t" + std::to_string(row) + "\t" + std::to_string(col) + "\t" + type + "\t" +
           value;
}

struct Written {
    TempDir dir;
    std::string path = dir.file("written.xlsx");
    std::vector<std::string> texts = {"Grüße – 水 \U0001F600", "tab\there",  "line\nbreak",
                                      "_x0041_ stays",         "<&>\"' ]]>", "Number of taxa: 12"};
    std::vector<double> numbers = {0, -1.5, 123456.789, 1e15, 1.0 / 3, 2.5e-10};

    Written() {
        auto book = Book::createXml();
        Format* date = book->addFormat();
        date->setNumFormat(14);
        Format* twoDecimals = book->addFormat();
        twoDecimals->setNumFormat(2);
        Sheet* summary = book->addSheet("Job Summary");
        for (std::size_t i = 0; i < texts.size(); ++i)
            summary->writeStr(static_cast<int>(i), 0, texts[i]);
        Sheet* samples = book->addSheet("Sample Summary");
        samples->writeStr(0, 0, "Date");
        samples->writeNum(1, 0, 40179, date);
        samples->writeNum(1, 1, 0.8125, twoDecimals);
        samples->writeStr(1, 2, "Good");
        for (std::size_t i = 0; i < numbers.size(); ++i)
            samples->writeNum(static_cast<int>(i) + 2, 3, numbers[i]);
        samples->setBool(9, 0, true);
        samples->setBool(9, 1, false);
        if (!book->save(path))
            ADD_FAILURE() << book->errorMessage();
    }

    static std::string number(double v) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        return buf;
    }
    static std::string escaped(const std::string& s) {
        std::string out;
        for (char ch : s)
            out += ch == '\t' ? "\\t" : ch == '\n' ? "\\n" : std::string(1, ch);
        return out;
    }

    // The cells as xlrd and openpyxl give them; `formats` adds openpyxl's number formats.
    std::set<std::string> expected(bool formats) const {
        auto numberType = [&](const char* format) {
            return formats ? std::string("number|") + format : std::string("number");
        };
        std::set<std::string> lines;
        for (std::size_t i = 0; i < texts.size(); ++i)
            lines.insert(line("Job Summary", static_cast<int>(i), 0, "text", escaped(texts[i])));
        const std::string s = "Sample Summary";
        lines.insert(line(s, 0, 0, "text", "Date"));
        lines.insert(line(s, 1, 0, numberType("mm-dd-yy"), "40179"));
        lines.insert(line(s, 1, 1, numberType("0.00"), "0.8125"));
        lines.insert(line(s, 1, 2, "text", "Good"));
        for (std::size_t i = 0; i < numbers.size(); ++i)
            lines.insert(
                line(s, static_cast<int>(i) + 2, 3, numberType("General"), number(numbers[i])));
        lines.insert(line(s, 9, 0, "boolean", "TRUE"));
        lines.insert(line(s, 9, 1, "boolean", "FALSE"));
        return lines;
    }
};

TEST(XlsxOracle, XlrdReadsWhatWeWrite) {
    Written w;
    EXPECT_EQ(oracle("xlrd", w.path), w.expected(false));
}

TEST(XlsxOracle, OpenpyxlReadsWhatWeWriteWithTheNumberFormats) {
    Written w;
    EXPECT_EQ(oracle("openpyxl", w.path), w.expected(true));
}

TEST(XlsxOracle, LibreOfficeReadsWhatWeWrite) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice is not installed";
    Written w;
    const auto lines = oracle("soffice", w.path, "'Job Summary' 'Sample Summary'");
    std::set<std::string> expected;
    for (std::size_t i = 0; i < w.texts.size(); ++i)
        expected.insert(
            line("Job Summary", static_cast<int>(i), 0, "csv", Written::escaped(w.texts[i])));
    const std::string s = "Sample Summary";
    expected.insert(line(s, 0, 0, "csv", "Date"));
    expected.insert(line(s, 1, 0, "csv", "01/01/2010")); // day 40179 in the date format
    expected.insert(line(s, 1, 1, "csv", "0.8125"));
    expected.insert(line(s, 1, 2, "csv", "Good"));
    // LibreOffice prints at most 15 significant digits.
    const char* numbers[] = {
        "0", "-1.5", "123456.789", "1000000000000000", "0.333333333333333", "0.00000000025"};
    for (int i = 0; i < 6; ++i)
        expected.insert(line(s, i + 2, 3, "csv", numbers[i]));
    expected.insert(line(s, 9, 0, "csv", "TRUE"));
    expected.insert(line(s, 9, 1, "csv", "FALSE"));
    EXPECT_EQ(lines, expected);
}

} // namespace
