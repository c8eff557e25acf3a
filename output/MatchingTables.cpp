// The tables that say how each taxon was matched, how much of each sample was scored and
// how the analysis was made.
#include "doc/CPbtDoc.h"
#include "doc/ResultsView.h"
#include "doc/TaxonMatchView.h"
#include "output/ResultsTables.h"

namespace frusta {

namespace {

TableCell numberCell(std::optional<double> v, CellFormat f) {
    return v ? TableCell::num(*v, f) : TableCell::empty();
}

TableCell textCell(const std::string& text) {
    return text.empty() ? TableCell::empty() : TableCell::str(text);
}

CellFormat formatOf(TaxonColumn c) {
    return c == TaxonColumn::Samples ? CellFormat::None : CellFormat::TwoDecimals;
}

void addTaxa(const CPbtDoc& doc, ResultsTable& t) {
    const TaxonMatchView view(doc);
    for (int c = 0; c < kTaxonColumnCount; ++c)
        t.header.push_back(view.label(static_cast<TaxonColumn>(c)));
    for (int k = 0; k < view.taxonCount(); ++k) {
        TableRow row;
        for (int c = 0; c < kTaxonColumnCount; ++c) {
            const auto column = static_cast<TaxonColumn>(c);
            row.push_back(TaxonMatchView::isNumber(column)
                              ? numberCell(view.number(k, column), formatOf(column))
                              : textCell(view.text(k, column)));
        }
        t.rows.push_back(std::move(row));
    }
}

std::string sampleName(const CPbtDoc& doc, int s) {
    if (doc.m_infoValues.empty() || s >= static_cast<int>(doc.m_infoValues[0].size()))
        return {};
    return doc.m_infoValues[0][static_cast<std::size_t>(s)];
}

void addShares(const CPbtDoc& doc, ResultsTables& out) {
    const ResultsView view(doc);
    out.shares.header = {"Sample", "Sample sum", "Scored sum", "% Scored", "Below threshold"};
    out.shareColumns.header = {"% Scored", "Below threshold"};
    if (!view.hasSamples())
        return;
    for (int s = 0; s < view.sampleCount(); ++s) {
        const auto share = view.scoredShare(s);
        const TableCell shareCell = numberCell(share, CellFormat::TwoDecimals);
        const TableCell below =
            share ? TableCell::str(view.belowScoredShare(s) ? "Yes" : "No") : TableCell::empty();
        out.shares.rows.push_back(
            {textCell(sampleName(doc, s)),
             numberCell(view.value(s, ResultColumn::SampleSum), CellFormat::TwoDecimals),
             numberCell(view.value(s, ResultColumn::ScoredSum), CellFormat::TwoDecimals), shareCell,
             below});
        out.shareColumns.rows.push_back({shareCell, below});
    }
}

void addRun(const CPbtDoc& doc, ResultsTable& t) {
    t.header = {"Item", "Value"};
    for (const auto& [label, value] : doc.m_runDetails)
        t.rows.push_back({TableCell::str(label), textCell(value)});
}

} // namespace

void addMatchingTables(const CPbtDoc& doc, ResultsTables& out) {
    addTaxa(doc, out.taxa);
    addShares(doc, out);
    addRun(doc, out.run);
}

} // namespace frusta
