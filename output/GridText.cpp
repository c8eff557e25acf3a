#include "output/GridText.h"

#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultsView.h"
#include "doc/TaxonMatchView.h"
#include "engine/InfoRows.h"
#include "engine/TextFormat.h"
#include "output/DateText.h"
#include "refdb/dbTable.h"
#include "workbook/Book.h"
#include "workbook/xlsx/CellRef.h"

#include <charconv>
#include <cstdio>

namespace frusta::cells {

namespace {

template <typename T> const T* at(const std::vector<T>& v, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? &v[static_cast<std::size_t>(i)]
                                                            : nullptr;
}

std::string textAt(const std::vector<std::string>& v, int i) {
    const std::string* s = at(v, i);
    return s ? *s : std::string();
}

// Fixed decimals with a decimal point whatever the process locale (the desktop program
// runs in the user's locale, where printf may write a decimal comma).
std::string fixed(double x, int decimals) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

std::string infoValue(const CPbtDoc& doc, int row, int sample) {
    const auto* values = at(doc.m_infoValues, row);
    return values ? textAt(*values, sample) : std::string();
}

// The grid column of the sampling date, in grids whose column c shows information row c - 1.
constexpr int kDateColumn = engine::kRowDate + 1;

// The result column under grid column c of the sample results grid, if any.
std::optional<ResultColumn> resultColumnAt(const CPbtDoc& doc, int c) {
    const int k = c - static_cast<int>(doc.m_infoValues.size());
    if (k <= col(ResultColumn::Type) || k >= kResultColumnCount)
        return std::nullopt;
    return static_cast<ResultColumn>(k);
}

// The site column under grid column c of the site grid, if any.
std::optional<SiteColumn> siteColumnAt(int c) {
    const int j = c - 2;
    if (j < 0 || j >= kSiteColumnCount)
        return std::nullopt;
    return static_cast<SiteColumn>(j);
}

} // namespace

int resultsColumnCount(const CPbtDoc& doc) {
    return static_cast<int>(doc.m_infoValues.size()) + kResultColumnCount - 1;
}
int resultsRowCount(const CPbtDoc& doc) {
    return ResultsView(doc).sampleCount();
}
int resultsGridColumn(const CPbtDoc& doc, ResultColumn column) {
    return static_cast<int>(doc.m_infoValues.size()) + col(column);
}

std::string results(const CPbtDoc& doc, const std::vector<std::string>& classNames, int r, int c) {
    const ResultsView view(doc);
    const int nH = static_cast<int>(doc.m_infoValues.size());
    const std::optional<ResultColumn> column = resultColumnAt(doc, c);
    if (r == 0)
        return c == 0    ? std::string()
               : c <= nH ? textAt(doc.m_infoLabels, c - 1)
               : column  ? view.label(*column)
                         : std::string();
    if (c == 0)
        return std::to_string(r);
    const int s = r - 1;
    if (c <= nH) {
        const std::string v = infoValue(doc, c - 1, s);
        if (c != kDateColumn)
            return v;
        const long day = dayNumberOf(v);
        return isShownAsDate(static_cast<double>(day)) ? dateText(day) : std::to_string(day);
    }
    if (!column)
        return {};
    const ColumnInfo info = describe(*column);
    if (info.kind == ColumnKind::Text)
        return view.comment(s);
    if (s >= view.sampleCount())
        return {};
    const std::optional<double> x = view.value(s, *column);
    if (!x || *x < 0)
        return "...";
    if (info.kind == ColumnKind::Class)
        return classNameOf(classNames, classCodeOf(*x));
    return fixed(*x, info.gridDecimals);
}

int uncertaintyColumnCount(const CPbtDoc&) {
    return kSiteColumnCount + 1;
}
int uncertaintyRowCount(const CPbtDoc& doc) {
    return ResultsView(doc).siteCount();
}
int uncertaintyGridColumn(SiteColumn column) {
    return col(column) + 2;
}

std::string uncertainty(const CPbtDoc& doc, const std::vector<std::string>& classNames, int r,
                        int c) {
    const ResultsView view(doc);
    if (c == 0)
        return {};
    if (r == 0)
        return view.siteLabel(c - 1);
    const int i = r - 1;
    if (c == 1)
        return view.siteCode(i);
    const std::optional<SiteColumn> column = siteColumnAt(c);
    if (!column || i >= view.siteCount())
        return {};
    const std::optional<double> x = view.siteValue(i, *column);
    if (!x)
        return "...";
    const ColumnInfo info = describe(*column);
    return info.kind == ColumnKind::Class ? classNameOf(classNames, classCodeOf(*x))
                                          : fixed(*x, info.gridDecimals);
}

int dataColumnCount(const CPbtDoc& doc) {
    return doc.m_nSamples + 2;
}
int dataRowCount(const CPbtDoc& doc) {
    return doc.m_nTaxa + doc.m_nInfoRows;
}

std::string columnName(int c) {
    // Past ZZ as spreadsheets go on: AAA, AAB and so on.
    return c >= 1 ? xlsx::columnName(c - 1) : std::string();
}

std::string data(const CPbtDoc& doc, int r, int c) {
    const int nI = doc.m_nInfoRows;
    if (r == 0)
        return c == 0 ? std::string() : columnName(c);
    if (c == 0)
        return std::to_string(r);
    const int s = c - 3;
    if (r <= nI) {
        if (c == 1)
            return textAt(doc.m_infoLabels, r - 1);
        if (c == 2)
            return {};
        const std::string v = infoValue(doc, r - 1, s);
        if (r != kDateColumn)
            return v;
        const long day = dayNumberOf(v);
        return isShownAsDate(static_cast<double>(day)) ? dateText(day) : v;
    }
    const int t = r - nI - 1;
    const TaxonEntry* taxon = at(doc.m_taxa, t);
    if (c == 1 || c == 2)
        return taxon ? (c == 1 ? taxon->code : taxon->name) : std::string();
    const dMat* m = doc.m_pCounts.get();
    if (!m || s >= m->nrow() || t >= m->ncol())
        return {};
    return fixed((*m)(s, t), 2);
}

std::string resultsTip(const CPbtDoc& doc, int r, int c) {
    const ResultsView view(doc);
    const int s = r - 1;
    if (r < 1 || s >= view.sampleCount() || resultColumnAt(doc, c) != ResultColumn::Metric)
        return {};
    const std::optional<double> share = view.scoredShare(s);
    if (!share)
        return "No counts in this sample, so no share of it was scored.";
    std::string tip = "Scored share: " + fixed(*share, 1) + "% of the sample's count (" +
                      fixed(view.value(s, ResultColumn::ScoredSum).value_or(0.0), 2) + " of " +
                      fixed(view.value(s, ResultColumn::SampleSum).value_or(0.0), 2) + ").";
    if (view.belowScoredShare(s))
        tip += "\nBelow the smallest scored share of " + formatText("%g", doc.m_minScoredShare) +
               "%: the metric rests on too small a part of the sample; see View > Taxon "
               "matching.";
    return tip;
}

int dataTaxon(const CPbtDoc& doc, int r) {
    const int t = r - doc.m_nInfoRows - 1;
    return r > doc.m_nInfoRows && t < static_cast<int>(doc.m_taxa.size()) ? t : -1;
}

std::string dataTip(const CPbtDoc& doc, int r, int c) {
    const int t = dataTaxon(doc, r);
    const TaxonMatchView view(doc);
    if (c < 1 || t < 0 || !dataRowUnscored(doc, r) || t >= view.taxonCount())
        return {};
    std::string tip = view.explanation(t);
    if (view.suggestionCount(t) > 0)
        tip += "\nRight-click the row and choose Use suggestion to translate the code.";
    return tip;
}

int matchingRowCount(const CPbtDoc& doc) {
    return TaxonMatchView(doc).taxonCount();
}

int matchingColumnCount() {
    return kTaxonColumnCount;
}

std::string matching(const CPbtDoc& doc, int r, int c) {
    const TaxonMatchView view(doc);
    if (c < 1 || c > kTaxonColumnCount)
        return r >= 1 && c == 0 ? std::to_string(r) : std::string();
    const auto column = static_cast<TaxonColumn>(c - 1);
    if (r == 0)
        return view.label(column);
    const int k = r - 1;
    if (k >= view.taxonCount())
        return {};
    if (!TaxonMatchView::isNumber(column))
        return view.text(k, column);
    const std::optional<double> v = view.number(k, column);
    if (!v)
        return {};
    return column == TaxonColumn::Samples ? formatText("%g", *v) : fixed(*v, 2);
}

std::string matchingTip(const CPbtDoc& doc, int r, int c) {
    const TaxonMatchView view(doc);
    const int k = r - 1;
    if (r < 1 || c < 1 || k >= view.taxonCount())
        return {};
    return view.explanation(k);
}

bool dataRowUnscored(const CPbtDoc& doc, int r) {
    const int32_t* scored = at(doc.m_pTaxonScored, r - doc.m_nInfoRows - 1);
    return r > doc.m_nInfoRows && scored && *scored < 0;
}

std::string taxonList(const dbTable& table, int r, int c) {
    if (r == 0)
        return c == 0 ? std::string() : textAt(table.columnNames, c - 1);
    if (c == 0)
        return std::to_string(r);
    const int row = r - 1, col = c - 1;
    const ColumnType* type = at(table.columnTypes, col);
    if (!type || row >= table.rowCount)
        return {};
    switch (*type) {
    case ColumnType::Int: {
        int32_t v = 0;
        return table.GetInt(row, col, v) && v > 0 ? std::to_string(v) : std::string();
    }
    case ColumnType::Long: {
        int32_t v = 0;
        return table.GetLong(row, col, v) ? std::to_string(v) : std::string();
    }
    case ColumnType::Double: {
        double v = 0;
        if (!table.GetDouble(row, col, v))
            return {};
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.13g", v);
        return buf;
    }
    case ColumnType::Text: {
        std::string v;
        return table.GetText(row, col, v) ? v : std::string();
    }
    case ColumnType::Bool: {
        bool v = false;
        return table.GetBool(row, col, v) && v ? "Yes" : std::string();
    }
    default:
        return {};
    }
}

std::string preview(const Sheet& sheet, int r, int c) {
    const Cell* cell = sheet.cell(r - 1, c - 1);
    if (!cell)
        return {};
    switch (static_cast<CellType>(cell->type)) {
    case CellType::String: {
        const char* text = sheet.readStr(r - 1, c - 1);
        return text ? text : "";
    }
    case CellType::Number: {
        const double v = cell->number;
        if (r == kDateColumn && c >= 3 && isShownAsDate(v))
            return dateText(static_cast<long>(v));
        return formatG(v);
    }
    case CellType::Boolean:
        return cell->boolean ? "TRUE" : "FALSE";
    default: // empty, blank and error cells show nothing
        return {};
    }
}

} // namespace frusta::cells
