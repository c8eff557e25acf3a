#include "output/TranslationWriter.h"

#include "app/UserPort.h"
#include "doc/TranslationFile.h"
#include "output/CsvWriter.h"
#include "workbook/AtomicFile.h"
#include "workbook/Book.h"

#include <filesystem>
#include <strings.h>

namespace frusta {

namespace {

enum class TableFormat { Csv, Xlsx, Xls, Other };

TableFormat formatOf(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    if (strcasecmp(ext.c_str(), ".csv") == 0)
        return TableFormat::Csv;
    if (strcasecmp(ext.c_str(), ".xlsx") == 0)
        return TableFormat::Xlsx;
    if (strcasecmp(ext.c_str(), ".xls") == 0)
        return TableFormat::Xls;
    return TableFormat::Other;
}

std::string csvText(const std::vector<TranslationRow>& rows) {
    std::string text;
    const auto line = [&](const std::string& a, const std::string& b, const std::string& c) {
        text += csvField(a) + "," + csvField(b) + "," + csvField(c) + "\r\n";
    };
    line(kTranslationHeader[0], kTranslationHeader[1], kTranslationHeader[2]);
    for (const TranslationRow& r : rows)
        line(r.from, r.to, r.note);
    return text;
}

std::string saveBook(const std::string& path, const std::vector<TranslationRow>& rows, bool xls) {
    auto book = xls ? Book::createBinary() : Book::createXml();
    Sheet& sheet = *book->addSheet("Translations");
    for (int c = 0; c < 3; ++c)
        sheet.writeStr(0, c, kTranslationHeader[c]);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        sheet.writeStr(r, 0, rows[i].from);
        sheet.writeStr(r, 1, rows[i].to);
        if (!rows[i].note.empty())
            sheet.writeStr(r, 2, rows[i].note);
    }
    return book->save(path) ? std::string() : std::string(book->errorMessage());
}

Notice cannotAdd(const std::string& path, const std::string& reason) {
    return {"The row could not be added to the taxon translation table " +
                std::filesystem::path(path).filename().string() + ".",
            reason};
}

} // namespace

Outcome addTranslationRow(const std::string& path, const TranslationRow& row, UserPort& port) {
    const TableFormat format = formatOf(path);
    if (format == TableFormat::Other)
        return fail(port, cannotAdd(path, "rows can be added to .csv, .xlsx and .xls tables"));
    std::vector<TranslationRow> rows;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        TranslationRows read = readTranslationRows(path);
        if (!read.failure.empty())
            return fail(port, cannotAdd(path, read.failure));
        rows = std::move(read.rows);
    }
    const TranslationTable existing(rows);
    if (const auto* mapped = existing.find(row.from))
        return fail(port, cannotAdd(path, "the code " + row.from + " is already mapped in row " +
                                              std::to_string(mapped->row)));
    rows.push_back(row);
    if (format == TableFormat::Csv) {
        if (const auto failure = writeFileAtomically(path, csvText(rows)))
            return fail(port, cannotAdd(path, failure->reason));
        return Outcome::done();
    }
    if (const std::string error = saveBook(path, rows, format == TableFormat::Xls); !error.empty())
        return fail(port, cannotAdd(path, error));
    return Outcome::done();
}

} // namespace frusta
