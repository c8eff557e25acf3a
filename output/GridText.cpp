#include "output/GridText.h"

#include "doc/CPbtDoc.h"
#include "doc/TextFormat.h"
#include "engine/SerialToDate.h"
#include "refdb/dbTable.h"
#include "workbook/Book.h"
#include "workbook/xlsx/CellRef.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

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

std::string dateText(long v) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const CalendarDate d = SerialToDate(v);
    const char* month = d.month >= 1 && d.month <= 12 ? kMonths[d.month - 1] : "";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%s-%04d", d.day, month, d.year);
    return buf;
}

bool isDayNumber(long v) {
    return v > 20000 && v < 60000;
}

std::string className(const std::vector<std::string>& names, double x) {
    const long code = static_cast<long>(x);
    return code >= 1 && code <= 5 ? textAt(names, static_cast<int>(code - 1)) : std::string();
}

std::string infoValue(const CPbtDoc& doc, int row, int sample) {
    const auto* values = at(doc.m_infoValues, row);
    return values ? textAt(*values, sample) : std::string();
}

} // namespace

int resultsColumnCount(const CPbtDoc& doc) {
    return static_cast<int>(doc.m_infoValues.size()) + 11;
}
int resultsRowCount(const CPbtDoc& doc) {
    return doc.m_pResults ? doc.m_pResults->nrow() : 0;
}

std::string results(const CPbtDoc& doc, const std::vector<std::string>& classNames, int r, int c) {
    const int nH = static_cast<int>(doc.m_infoValues.size());
    const int k = c - nH;
    if (r == 0)
        return c == 0    ? std::string()
               : c <= nH ? textAt(doc.m_infoLabels, c - 1)
                         : textAt(doc.m_resultLabels, k);
    if (c == 0)
        return std::to_string(r);
    const int s = r - 1;
    if (c <= nH) {
        const std::string v = infoValue(doc, c - 1, s);
        if (c != 3)
            return v;
        const long day = std::strtol(v.c_str(), nullptr, 10);
        return isDayNumber(day) ? dateText(day) : std::to_string(day);
    }
    if (k == 11)
        return textAt(doc.m_comments, s);
    const dMat* m = doc.m_pResults.get();
    if (!m || k < 1 || k > 10 || s >= m->nrow() || k >= m->ncol())
        return {};
    const double x = (*m)(s, k);
    if (m->isMissing(s, k) || x < 0)
        return "...";
    if (k == 6)
        return className(classNames, x);
    return fixed(x, k == 5 ? 2 : 1);
}

int uncertaintyColumnCount(const CPbtDoc&) {
    return 14;
}
int uncertaintyRowCount(const CPbtDoc& doc) {
    return doc.m_pUncertainty ? doc.m_pUncertainty->nrow() : 0;
}

std::string uncertainty(const CPbtDoc& doc, const std::vector<std::string>& classNames, int r,
                        int c) {
    if (c == 0)
        return {};
    if (r == 0)
        return textAt(doc.m_uncLabels, c - 1);
    const int i = r - 1;
    if (c == 1)
        return textAt(doc.m_siteCodes, i);
    const dMat* m = doc.m_pUncertainty.get();
    const int j = c - 2;
    if (!m || i >= m->nrow() || j >= m->ncol())
        return {};
    if (m->isMissing(i, j))
        return "...";
    const double x = (*m)(i, j);
    return c == 5 ? className(classNames, x) : fixed(x, 2);
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
        if (r != 3)
            return v;
        const long day = std::strtol(v.c_str(), nullptr, 10);
        return isDayNumber(day) ? dateText(day) : v;
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

std::string serialDateText(long dayNumber) {
    return dateText(dayNumber);
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
        if (r == 3 && c >= 3 && v > 20000 && v < 60000)
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
