#include "output/ResultsBook.h"

#include "doc/CPbtDoc.h"
#include "doc/TextFormat.h"
#include "workbook/Book.h"

#include <cmath>
#include <cstdlib>

namespace frusta {

namespace {

struct Formats {
    const Format* date;
    const Format* twoDecimals;
};

// The class name of a code (truncated towards zero) when it is 1 to 5, else nullptr.
const std::string* className(const std::vector<std::string>& names, double code) {
    if (!std::isfinite(code))
        return nullptr;
    const long c = static_cast<long>(std::trunc(code));
    return c >= 1 && c <= 5 && static_cast<std::size_t>(c) <= names.size() ? &names[c - 1]
                                                                           : nullptr;
}

int writeJobSummary(const CPbtDoc& doc, Sheet& sheet) {
    int r = 0;
    for (const std::string& piece : summaryRows(doc.m_strSummary))
        sheet.writeStr(r++, 0, piece);
    return r;
}

void writeUnmatchedTaxa(const CPbtDoc& doc, Sheet& sheet, int r, const Formats& f) {
    r += 1;
    sheet.writeStr(r, 0,
                   formatText("The following taxa do not have %s scores in the FRUSTA database.",
                              doc.m_strMetric.c_str()));
    r += 2;
    const char* headers[] = {"Code", "Name", "N", "N2", "Max"};
    for (int c = 0; c < 5; ++c)
        sheet.writeStr(r, c, headers[c]);
    if (doc.m_nFamily == kFamilyRivers || doc.m_nFamily == kFamilyLakes) {
        const bool rivers = doc.m_nFamily == kFamilyRivers;
        sheet.writeStr(r, 5, rivers ? "TDI3" : "LTDI1");
        sheet.writeStr(r, 6, rivers ? "TDI4" : "LTDI2");
    }
    if (!doc.m_pCounts)
        return;
    const dMat perTaxon = doc.m_pCounts->countmaxn2(1);
    const int taxa = static_cast<int>(doc.m_taxa.size());
    for (int t = 0; t < taxa && t < perTaxon.nrow(); ++t) {
        if (t < static_cast<int>(doc.m_pTaxonScored.size()) && doc.m_pTaxonScored[t] >= 0)
            continue;
        r += 1;
        sheet.writeStr(r, 0, doc.m_taxa[t].code);
        sheet.writeStr(r, 1, doc.m_taxa[t].name);
        sheet.writeNum(r, 2, perTaxon(t, 0));
        sheet.writeNum(r, 3, perTaxon(t, 2), f.twoDecimals);
        sheet.writeNum(r, 4, perTaxon(t, 1), f.twoDecimals);
    }
}

void writeInfoColumns(const CPbtDoc& doc, Sheet& sheet, const Formats& f) {
    const int nH = static_cast<int>(doc.m_infoValues.size());
    for (int h = 0; h < nH; ++h) {
        if (h < static_cast<int>(doc.m_infoLabels.size()))
            sheet.writeStr(0, h, doc.m_infoLabels[h]);
        const auto& values = doc.m_infoValues[h];
        for (std::size_t s = 0; s < values.size(); ++s) {
            const int row = static_cast<int>(s) + 1;
            if (h != 2) {
                sheet.writeStr(row, h, values[s]);
                continue;
            }
            // The sampling date row: a day number inside the range is written as a date.
            const long v = std::strtol(values[s].c_str(), nullptr, 10);
            sheet.writeNum(row, h, static_cast<double>(v),
                           v > 20000 && v < 60000 ? f.date : nullptr);
        }
    }
}

void writeResultColumns(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                        Sheet& sheet, const Formats& f) {
    const dMat& results = *doc.m_pResults;
    const int nH = static_cast<int>(doc.m_infoValues.size());
    const int nS = results.nrow();
    const int nC = results.ncol();
    auto label = [&](int k) {
        return k < static_cast<int>(doc.m_resultLabels.size()) ? doc.m_resultLabels[k]
                                                               : std::string();
    };
    for (int k = 1; k <= nC - 2; ++k) {
        const int col = nH + k - 1;
        sheet.writeStr(0, col, label(k));
        for (int s = 0; s < nS; ++s) {
            if (k == 6) {
                if (const std::string* name = className(classNames, results(s, k)))
                    sheet.writeStr(s + 1, col, *name);
            } else if (!results.isMissing(s, k) && std::isfinite(results(s, k))) {
                sheet.writeNum(s + 1, col, results(s, k), f.twoDecimals);
            }
        }
    }
    const int commentCol = nH + nC - 2;
    sheet.writeStr(0, commentCol, label(nC - 1));
    for (int s = 0; s < nS && s < static_cast<int>(doc.m_comments.size()); ++s)
        sheet.writeStr(s + 1, commentCol, doc.m_comments[s]);
}

void writeUncertainty(const CPbtDoc& doc, const std::vector<std::string>& classNames, Sheet& sheet,
                      const Formats& f) {
    const dMat& unc = *doc.m_pUncertainty;
    const int nU = unc.ncol();
    for (int c = 0; c <= nU && c < static_cast<int>(doc.m_uncLabels.size()); ++c)
        sheet.writeStr(0, c, doc.m_uncLabels[c]);
    for (int i = 0; i < unc.nrow(); ++i) {
        if (i < static_cast<int>(doc.m_siteCodes.size()))
            sheet.writeStr(i + 1, 0, doc.m_siteCodes[i]);
        for (int c = 0; c < nU; ++c) {
            // A cell without a value (a site without any EQR) stays empty.
            if (unc.isMissing(i, c) || !std::isfinite(unc(i, c)))
                continue;
            sheet.writeNum(i + 1, c + 1, unc(i, c), c >= 2 ? f.twoDecimals : nullptr);
            if (c == 3)
                if (const std::string* name = className(classNames, unc(i, c)))
                    sheet.writeStr(i + 1, 4, *name);
        }
    }
}

} // namespace

std::string uncertaintySheetName(int metric) {
    switch (metric) {
    case kMetricTDI3:
        return "Uncertainty TDI3";
    case kMetricTDI4:
        return "Uncertainty TDI4";
    case kMetricLTDI1:
        return "Uncertainty LTDI1";
    case kMetricLTDI2:
        return "Uncertainty LTDI2";
    default:
        return "Uncertainty DAM";
    }
}

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
    Format* date = book.addFormat();
    date->setNumFormat(14);
    Format* two = book.addFormat();
    two->setNumFormat(2);
    const Formats f{date, two};

    Sheet& summary = *book.addSheet("Job Summary");
    const int r = writeJobSummary(doc, summary);
    if (doc.m_nNoScoreTaxa != 0)
        writeUnmatchedTaxa(doc, summary, r, f);

    Sheet& samples = *book.addSheet("Sample Summary");
    writeInfoColumns(doc, samples, f);
    if (doc.m_pResults)
        writeResultColumns(doc, classNames, samples, f);

    if (doc.m_bUncertaintyDone && doc.m_pUncertainty)
        writeUncertainty(doc, classNames, *book.addSheet(uncertaintySheetName(doc.m_nMetric)), f);
}

} // namespace frusta
