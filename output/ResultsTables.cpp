#include "output/ResultsTables.h"

#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultsView.h"
#include "engine/InfoRows.h"
#include "engine/TextFormat.h"
#include "output/DateText.h"
#include "output/ResultsBook.h"

#include <algorithm>

namespace frusta {

namespace {

std::string at(const std::vector<std::string>& v, std::size_t i) {
    return i < v.size() ? v[i] : std::string();
}

TableCell className(const std::vector<std::string>& names, int code) {
    const std::string name = classNameOf(names, code);
    return name.empty() ? TableCell::empty() : TableCell::str(name);
}

// A result value, or an empty cell when it is missing.
TableCell value(std::optional<double> v, CellFormat f) {
    return v ? TableCell::num(*v, f) : TableCell::empty();
}

// The number format a column's values are saved with.
CellFormat formatOf(ColumnKind kind) {
    return kind == ColumnKind::Count ? CellFormat::None : CellFormat::TwoDecimals;
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

// The sampling date row holds day numbers, given the date format when shown as dates.
TableCell dateCell(const std::string& text) {
    const long v = dayNumberOf(text);
    return TableCell::num(static_cast<double>(v), isShownAsDate(static_cast<double>(v))
                                                      ? CellFormat::Date
                                                      : CellFormat::None);
}

TableRow infoCells(const CPbtDoc& doc, std::size_t s) {
    TableRow row;
    for (std::size_t h = 0; h < doc.m_infoValues.size(); ++h) {
        const auto& values = doc.m_infoValues[h];
        if (s >= values.size())
            row.push_back(TableCell::empty());
        else
            row.push_back(h == engine::kRowDate ? dateCell(values[s]) : TableCell::str(values[s]));
    }
    return row;
}

// The result columns that a results file holds: all but the hidden ones.
std::vector<ResultColumn> savedColumns() {
    std::vector<ResultColumn> columns;
    for (ResultColumn c : allResultColumns())
        if (describe(c).kind != ColumnKind::Hidden)
            columns.push_back(c);
    return columns;
}

TableCell resultCell(const ResultsView& view, int s, ResultColumn c,
                     const std::vector<std::string>& classNames) {
    switch (const ColumnKind kind = describe(c).kind) {
    case ColumnKind::Class:
        return className(classNames, view.classCode(s));
    case ColumnKind::Text:
        return view.hasComment(s) ? TableCell::str(view.comment(s)) : TableCell::empty();
    default:
        return value(view.value(s, c), formatOf(kind));
    }
}

void addSamples(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                ResultsTables& out) {
    const ResultsView view(doc);
    ResultsTable& t = out.samples;
    const std::size_t nH = doc.m_infoValues.size();
    out.infoColumns = static_cast<int>(nH);
    for (std::size_t h = 0; h < nH; ++h)
        t.header.push_back(at(doc.m_infoLabels, h));
    std::size_t nS = 0;
    for (const auto& values : doc.m_infoValues)
        nS = std::max(nS, values.size());
    const std::vector<ResultColumn> columns =
        view.hasSamples() ? savedColumns() : std::vector<ResultColumn>();
    if (view.hasSamples())
        nS = static_cast<std::size_t>(view.sampleCount());
    for (ResultColumn c : columns) {
        if (c == ResultColumn::Class)
            out.classColumn = static_cast<int>(t.header.size());
        if (c == ResultColumn::Comment)
            out.commentColumn = static_cast<int>(t.header.size());
        t.header.push_back(view.label(c));
    }
    for (std::size_t s = 0; s < nS; ++s) {
        TableRow row = infoCells(doc, s);
        const int i = static_cast<int>(s);
        for (ResultColumn c : columns)
            row.push_back(resultCell(view, i, c, classNames));
        out.sampleClass.push_back(columns.empty() ? 0 : view.classCode(i));
        t.rows.push_back(std::move(row));
    }
}

// A site value; a class code of 1 to 5 as its class name, any other code as a number.
TableCell siteCell(const ResultsView& view, int i, SiteColumn c,
                   const std::vector<std::string>& classNames) {
    const ColumnKind kind = describe(c).kind;
    const std::optional<double> v = view.siteValue(i, c);
    if (kind == ColumnKind::Class && v && classCodeOf(*v) != 0)
        return className(classNames, classCodeOf(*v));
    return value(v, formatOf(kind));
}

void addSites(const CPbtDoc& doc, const std::vector<std::string>& classNames, ResultsTables& out) {
    const ResultsView view(doc);
    out.hasSites = view.hasSites();
    out.sitesSheetName = uncertaintyTitle(doc.m_nMetric);
    if (!out.hasSites)
        return;
    ResultsTable& t = out.sites;
    for (int label = 0; label <= kSiteColumnCount; ++label)
        t.header.push_back(view.siteLabel(label));
    for (int i = 0; i < view.siteCount(); ++i) {
        TableRow row;
        row.push_back(view.hasSiteCode(i) ? TableCell::str(view.siteCode(i)) : TableCell::empty());
        for (SiteColumn c : allSiteColumns())
            row.push_back(siteCell(view, i, c, classNames));
        out.siteClass.push_back(view.siteClass(i));
        t.rows.push_back(std::move(row));
    }
    padRows(t);
}

} // namespace

ResultsTables buildResultsTables(const CPbtDoc& doc, const std::vector<std::string>& classNames) {
    ResultsTables out;
    out.metric = doc.m_strMetric;
    out.summary = summaryRows(doc.m_strSummary);
    addUnmatched(doc, out);
    addSamples(doc, classNames, out);
    addSites(doc, classNames, out);
    addMatchingTables(doc, out);
    return out;
}

} // namespace frusta
