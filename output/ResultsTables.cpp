#include "output/ResultsTables.h"

#include "doc/CPbtDoc.h"
#include "engine/TextFormat.h"
#include "output/ResultsBook.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace frusta {

namespace {

constexpr int kClassResult = 6;  // result column of the class code
constexpr int kSiteClassCol = 3; // site-table column of the class code
constexpr int kDateInfoRow = 2;  // information row of the sampling date

std::string at(const std::vector<std::string>& v, std::size_t i) {
    return i < v.size() ? v[i] : std::string();
}

TableCell className(const std::vector<std::string>& names, int code) {
    return code >= 1 && static_cast<std::size_t>(code) <= names.size()
               ? TableCell::str(names[code - 1])
               : TableCell::empty();
}

// A result value, or an empty cell when it is missing.
TableCell value(const dMat& m, int r, int c, CellFormat f) {
    if (m.isMissing(r, c) || !std::isfinite(m(r, c)))
        return TableCell::empty();
    return TableCell::num(m(r, c), f);
}

void padRows(ResultsTable& t) {
    for (TableRow& row : t.rows)
        row.resize(std::max(row.size(), t.header.size()));
}

void addUnmatched(const CPbtDoc& doc, ResultsTables& out) {
    out.hasUnmatched = doc.m_nNoScoreTaxa != 0;
    out.unmatchedMessage =
        formatText("The following taxa do not have %s scores in the FRUSTA database.",
                   doc.m_strMetric.c_str());
    ResultsTable& t = out.unmatched;
    t.header = {"Code", "Name", "N", "N2", "Max"};
    if (doc.m_nFamily == kFamilyRivers)
        t.header.insert(t.header.end(), {"TDI3", "TDI4"});
    else if (doc.m_nFamily == kFamilyLakes)
        t.header.insert(t.header.end(), {"LTDI1", "LTDI2"});
    if (!out.hasUnmatched || !doc.m_pCounts)
        return;
    const dMat perTaxon = doc.m_pCounts->countmaxn2(1);
    const int taxa = std::min(static_cast<int>(doc.m_taxa.size()), perTaxon.nrow());
    for (int taxon = 0; taxon < taxa; ++taxon) {
        if (taxon < static_cast<int>(doc.m_pTaxonScored.size()) && doc.m_pTaxonScored[taxon] >= 0)
            continue;
        t.rows.push_back({TableCell::str(doc.m_taxa[taxon].code),
                          TableCell::str(doc.m_taxa[taxon].name),
                          TableCell::num(perTaxon(taxon, 0)),
                          TableCell::num(perTaxon(taxon, 2), CellFormat::TwoDecimals),
                          TableCell::num(perTaxon(taxon, 1), CellFormat::TwoDecimals)});
    }
    padRows(t);
}

// The sampling date row holds day numbers: read as a whole number, as strtol does, and
// given the date format strictly between 20000 and 60000.
TableCell dateCell(const std::string& text) {
    const long v = std::strtol(text.c_str(), nullptr, 10);
    return TableCell::num(static_cast<double>(v),
                          v > 20000 && v < 60000 ? CellFormat::Date : CellFormat::None);
}

TableRow infoCells(const CPbtDoc& doc, std::size_t s) {
    TableRow row;
    for (std::size_t h = 0; h < doc.m_infoValues.size(); ++h) {
        const auto& values = doc.m_infoValues[h];
        if (s >= values.size())
            row.push_back(TableCell::empty());
        else
            row.push_back(h == kDateInfoRow ? dateCell(values[s]) : TableCell::str(values[s]));
    }
    return row;
}

void addSamples(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                ResultsTables& out) {
    ResultsTable& t = out.samples;
    const std::size_t nH = doc.m_infoValues.size();
    out.infoColumns = static_cast<int>(nH);
    for (std::size_t h = 0; h < nH; ++h)
        t.header.push_back(at(doc.m_infoLabels, h));
    std::size_t nS = 0;
    for (const auto& values : doc.m_infoValues)
        nS = std::max(nS, values.size());
    const dMat* results = doc.m_pResults.get();
    const int nC = results ? results->ncol() : 0;
    if (results) {
        nS = static_cast<std::size_t>(results->nrow());
        for (int k = 1; k <= nC - 1; ++k)
            t.header.push_back(at(doc.m_resultLabels, static_cast<std::size_t>(k)));
        out.classColumn = static_cast<int>(nH) + kClassResult - 1;
        out.commentColumn = static_cast<int>(nH) + nC - 2;
    }
    for (std::size_t s = 0; s < nS; ++s) {
        TableRow row = infoCells(doc, s);
        int code = 0;
        const int r = static_cast<int>(s);
        for (int k = 1; k <= nC - 2; ++k) {
            if (k == kClassResult) {
                code = std::isfinite((*results)(r, k)) ? classCodeOf((*results)(r, k)) : 0;
                row.push_back(className(classNames, code));
            } else {
                row.push_back(value(*results, r, k, CellFormat::TwoDecimals));
            }
        }
        if (results)
            row.push_back(s < doc.m_comments.size() ? TableCell::str(doc.m_comments[s])
                                                    : TableCell::empty());
        out.sampleClass.push_back(code);
        t.rows.push_back(std::move(row));
    }
}

void addSites(const CPbtDoc& doc, const std::vector<std::string>& classNames, ResultsTables& out) {
    out.hasSites = doc.m_bUncertaintyDone && doc.m_pUncertainty;
    out.sitesSheetName = uncertaintySheetName(doc.m_nMetric);
    if (!out.hasSites)
        return;
    const dMat& unc = *doc.m_pUncertainty;
    const int nU = unc.ncol();
    ResultsTable& t = out.sites;
    for (int c = 0; c <= nU && c < static_cast<int>(doc.m_uncLabels.size()); ++c)
        t.header.push_back(doc.m_uncLabels[c]);
    t.header.resize(static_cast<std::size_t>(nU) + 1);
    for (int i = 0; i < unc.nrow(); ++i) {
        TableRow row;
        row.push_back(i < static_cast<int>(doc.m_siteCodes.size())
                          ? TableCell::str(doc.m_siteCodes[i])
                          : TableCell::empty());
        int code = 0;
        for (int c = 0; c < nU; ++c) {
            TableCell cell = value(unc, i, c, c >= 2 ? CellFormat::TwoDecimals : CellFormat::None);
            if (c == kSiteClassCol && !cell.isEmpty()) {
                code = classCodeOf(cell.number);
                if (code != 0)
                    cell = className(classNames, code);
            }
            row.push_back(std::move(cell));
        }
        out.siteClass.push_back(code);
        t.rows.push_back(std::move(row));
    }
    padRows(t);
}

} // namespace

int classCodeOf(double value) {
    if (!std::isfinite(value))
        return 0;
    const double c = std::trunc(value);
    return c >= 1 && c <= 5 ? static_cast<int>(c) : 0;
}

ResultsTables buildResultsTables(const CPbtDoc& doc, const std::vector<std::string>& classNames) {
    ResultsTables out;
    out.metric = doc.m_strMetric;
    out.summary = summaryRows(doc.m_strSummary);
    addUnmatched(doc, out);
    addSamples(doc, classNames, out);
    addSites(doc, classNames, out);
    return out;
}

} // namespace frusta
