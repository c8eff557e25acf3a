#include "doc/TranslationFile.h"

#include "app/UserPort.h"
#include "engine/TextFormat.h"
#include "workbook/Book.h"
#include "workbook/FileFacts.h"

#include <filesystem>

namespace frusta {

const char* const kTranslationHeader[3] = {"Your code", "List code", "Note"};

namespace {

std::string trimmed(std::string text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A cell as text: numbers as the sample reader writes them ("%g"), texts trimmed.
std::string cellText(const Sheet& sheet, int row, int col) {
    switch (sheet.cellType(row, col)) {
    case CellType::Number:
        return formatText("%g", sheet.readNum(row, col));
    case CellType::String: {
        const char* text = sheet.readStr(row, col);
        return trimmed(text ? text : "");
    }
    case CellType::Boolean:
        return sheet.readBool(row, col) ? "TRUE" : "FALSE";
    case CellType::Error:
        return errorText(sheet.readError(row, col));
    default:
        return {};
    }
}

bool mentionsCode(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text.find("code") != std::string::npos;
}

std::string nameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

Notice refusal(const std::string& path, const std::string& reason) {
    return {"The taxon translation table " + nameOf(path) + " cannot be used.\n" + reason};
}

} // namespace

TranslationRows readTranslationRows(const std::string& path) {
    TranslationRows out;
    const auto book = Book::createXml();
    if (!book->load(path)) {
        out.failure = book->errorMessage();
        return out;
    }
    if (book->sheetCount() == 0) {
        out.failure = "it has no worksheet";
        return out;
    }
    const Sheet& sheet = *book->getSheet(0);
    for (int r = 0; r < sheet.lastRow(); ++r) {
        TranslationRow row{r + 1, cellText(sheet, r, 0), cellText(sheet, r, 1),
                           cellText(sheet, r, 2)};
        if (r == 0 && mentionsCode(row.from)) {
            out.hasHeader = true;
            continue;
        }
        if (row.from.empty() && row.to.empty() && row.note.empty())
            continue;
        out.rows.push_back(std::move(row));
    }
    return out;
}

Outcome loadTranslations(const std::string& path, const dbTable* master, UserPort& port,
                         std::shared_ptr<const TranslationTable>& table) {
    TranslationRows read = readTranslationRows(path);
    if (!read.failure.empty())
        return fail(port, {"The taxon translation table " + nameOf(path) + " cannot be read.",
                           read.failure});
    if (const auto fault = translationFault(read.rows, master))
        return fail(port, refusal(path, *fault));
    auto loaded = std::make_shared<TranslationTable>(std::move(read.rows));
    loaded->path = path;
    loaded->sha256 = fileSha256(path).value_or(std::string());
    table = std::move(loaded);
    return Outcome::done();
}

Outcome checkTranslations(const TranslationTable& table, const dbTable* master, UserPort& port) {
    if (const auto fault = translationFault(table.rows(), master))
        return fail(port, refusal(table.path, *fault));
    return Outcome::done();
}

} // namespace frusta
