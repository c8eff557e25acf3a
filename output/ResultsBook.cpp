#include "output/ResultsBook.h"

#include "doc/CPbtDoc.h"
#include "output/ResultsTables.h"
#include "workbook/Book.h"

namespace frusta {

namespace {

struct Formats {
    const Format* date;
    const Format* twoDecimals;

    const Format* of(CellFormat f) const {
        switch (f) {
        case CellFormat::Date:
            return date;
        case CellFormat::TwoDecimals:
            return twoDecimals;
        case CellFormat::None:
            break;
        }
        return nullptr;
    }
};

void writeCell(Sheet& sheet, int r, int c, const TableCell& cell, const Formats& f) {
    switch (cell.kind) {
    case TableCell::Kind::Number:
        sheet.writeNum(r, c, cell.number, f.of(cell.format));
        break;
    case TableCell::Kind::Text:
        sheet.writeStr(r, c, cell.text);
        break;
    case TableCell::Kind::Empty:
        break;
    }
}

// Writes the header at row r and the rows below it; returns the last row written.
int writeTable(Sheet& sheet, int r, const ResultsTable& t, const Formats& f) {
    for (std::size_t c = 0; c < t.header.size(); ++c)
        sheet.writeStr(r, static_cast<int>(c), t.header[c]);
    for (const TableRow& row : t.rows) {
        ++r;
        for (std::size_t c = 0; c < row.size(); ++c)
            writeCell(sheet, r, static_cast<int>(c), row[c], f);
    }
    return r;
}

// The summary lines; with unmatched taxa one empty row, the message, one empty row and
// the table of those taxa.
void writeJobSummary(const ResultsTables& t, Sheet& sheet, const Formats& f) {
    int r = 0;
    for (const std::string& piece : t.summary)
        sheet.writeStr(r++, 0, piece);
    if (!t.hasUnmatched)
        return;
    r += 1;
    sheet.writeStr(r, 0, t.unmatchedMessage);
    writeTable(sheet, r + 2, t.unmatched, f);
}

// The taxa, one empty row, then the scored share of every sample.
void writeTaxonMatching(const ResultsTables& t, Sheet& sheet, const Formats& f) {
    const int last = writeTable(sheet, 0, t.taxa, f);
    writeTable(sheet, last + 2, t.shares, f);
}

} // namespace

std::vector<std::string> summaryRows(const std::string& summary) {
    std::vector<std::string> rows;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = summary.find("\r\n", start);
        std::string piece =
            summary.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos && piece.empty() && start > 0)
            break; // the text ended with CR LF
        std::string clean;
        clean.reserve(piece.size());
        for (char ch : piece) {
            if (ch == '\r' || ch == '\n')
                continue;
            clean += ch == '\t' ? ' ' : ch;
        }
        rows.push_back(std::move(clean));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return rows;
}

void buildResultsBook(const CPbtDoc& doc, const std::vector<std::string>& classNames, Book& book) {
    buildResultsBook(buildResultsTables(doc, classNames), book);
}

void buildResultsBook(const ResultsTables& tables, Book& book) {
    Format* date = book.addFormat();
    date->setNumFormat(14);
    Format* two = book.addFormat();
    two->setNumFormat(2);
    const Formats f{date, two};

    writeJobSummary(tables, *book.addSheet("Job Summary"), f);
    writeTable(*book.addSheet("Sample Summary"), 0, tables.samples, f);
    if (tables.hasSites)
        writeTable(*book.addSheet(tables.sitesSheetName), 0, tables.sites, f);
    writeTaxonMatching(tables, *book.addSheet("Taxon matching"), f);
    writeTable(*book.addSheet("Run details"), 0, tables.run, f);
}

} // namespace frusta
