// `sheets` and `dump`: show exactly what the program reads from a workbook.
#include "cli/Commands.h"
#include "workbook/Book.h"

#include <charconv>
#include <memory>
#include <ostream>
#include <strings.h>

namespace frusta::cli {

namespace {

std::unique_ptr<Book> openBook(const std::string& path, std::ostream& err) {
    const auto dot = path.rfind('.');
    const bool binary = dot != std::string::npos && strcasecmp(path.c_str() + dot, ".xls") == 0;
    auto book = binary ? Book::createBinary() : Book::createXml();
    if (!book->load(path)) {
        err << "frusta2-cli: cannot read '" << path << "': " << book->errorMessage() << '\n';
        return nullptr;
    }
    for (const std::string& note : book->notes())
        err << "frusta2-cli: '" << path << "': " << note << '\n';
    return book;
}

const char* typeWord(CellType t) {
    switch (t) {
    case CellType::Empty:
        return "empty";
    case CellType::Number:
        return "number";
    case CellType::String:
        return "text";
    case CellType::Boolean:
        return "boolean";
    case CellType::Blank:
        return "blank";
    case CellType::Error:
        return "error";
    }
    return "empty";
}

// Texts are printed with backslash, tab, line feed and carriage return escaped, so that
// each cell stays on one line.
void appendEscaped(std::string& line, const char* s) {
    for (; *s; ++s) {
        switch (*s) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += *s;
        }
    }
}

template <typename T> void appendNumber(std::string& line, T value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    line.append(digits, result.ptr);
}

// A number with 17 significant digits, as "%.17g" writes it in the C locale.
void appendDouble(std::string& line, double value) {
    char digits[40];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 17);
    line.append(digits, result.ptr);
}

void appendValue(std::string& line, const Sheet& sheet, const Cell& cell) {
    switch (static_cast<CellType>(cell.type)) {
    case CellType::Number:
        appendDouble(line, cell.number);
        break;
    case CellType::String:
        appendEscaped(line, sheet.text(cell.text).c_str());
        break;
    case CellType::Boolean:
        line += cell.boolean ? "TRUE" : "FALSE";
        break;
    case CellType::Error:
        line += errorText(cell.error);
        break;
    default:
        break;
    }
}

// The cells are formatted into a buffer written out in large blocks: a sheet has millions.
void dumpSheet(const Sheet& sheet, std::ostream& out) {
    constexpr std::size_t kFlushBytes = 1 << 16;
    std::string buffer;
    buffer.reserve(kFlushBytes + 256);
    const auto& rows = sheet.rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (const Cell& cell : rows[r]) {
            const auto type = static_cast<CellType>(cell.type);
            if (type == CellType::Empty)
                continue;
            appendNumber(buffer, r);
            buffer += '\t';
            appendNumber(buffer, cell.col);
            buffer += '\t';
            buffer += typeWord(type);
            buffer += '\t';
            appendValue(buffer, sheet, cell);
            buffer += '\n';
            if (buffer.size() >= kFlushBytes) {
                out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
                buffer.clear();
            }
        }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

} // namespace

std::string bookKindFor(const std::string& path) {
    const auto dot = path.rfind('.');
    return dot != std::string::npos && strcasecmp(path.c_str() + dot, ".xls") == 0 ? "xls" : "xlsx";
}

int sheetsCommand(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "Usage: frusta2-cli sheets WORKBOOK\n";
        return 2;
    }
    auto book = openBook(args[0], err);
    if (!book)
        return 1;
    for (int i = 0; i < book->sheetCount(); ++i)
        out << book->getSheet(i)->name() << '\n';
    return 0;
}

int dumpCommand(const Args& args, std::ostream& out, std::ostream& err) {
    std::string path;
    std::string sheetName;
    bool haveSheet = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--sheet" && i + 1 < args.size()) {
            sheetName = args[++i];
            haveSheet = true;
        } else if (path.empty() && args[i].rfind("--", 0) != 0) {
            path = args[i];
        } else {
            err << "Usage: frusta2-cli dump WORKBOOK [--sheet NAME]\n";
            return 2;
        }
    }
    if (path.empty()) {
        err << "Usage: frusta2-cli dump WORKBOOK [--sheet NAME]\n";
        return 2;
    }
    auto book = openBook(path, err);
    if (!book)
        return 1;
    const Sheet* sheet = nullptr;
    for (int i = 0; i < book->sheetCount() && !sheet; ++i)
        if (!haveSheet || book->getSheet(i)->name() == sheetName)
            sheet = book->getSheet(i);
    if (!sheet) {
        err << (haveSheet ? "frusta2-cli: no worksheet named '" + sheetName + "'\n"
                          : std::string("frusta2-cli: the workbook has no worksheet\n"));
        return 1;
    }
    if (!sheet->unreadable().empty()) {
        err << "frusta2-cli: cannot read worksheet '" << sheet->name()
            << "': " << sheet->unreadable() << '\n';
        return 1;
    }
    dumpSheet(*sheet, out);
    return 0;
}

} // namespace frusta::cli
