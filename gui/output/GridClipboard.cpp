#include "gui/output/GridClipboard.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QRegularExpression>

#include <algorithm>
#include <climits>

namespace frusta::gui {

namespace {

struct Bounds {
    int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
    bool empty() const { return bottom < 0; }
};

Bounds boundsOf(const QItemSelection& selection) {
    Bounds b;
    for (const QItemSelectionRange& range : selection) {
        b.top = std::min(b.top, range.top());
        b.left = std::min(b.left, range.left());
        b.bottom = std::max(b.bottom, range.bottom());
        b.right = std::max(b.right, range.right());
    }
    return b;
}

// Tabs and line breaks inside a cell would split it; they become blanks.
QString plainCell(QString text) {
    return text.replace(QRegularExpression("[\t\r\n]"), " ");
}

// A number cell keeps its decimals in a spreadsheet through an explicit number format.
QString htmlCell(const QString& text, const QString& tag) {
    bool isNumber = false;
    const double value = text.toDouble(&isNumber);
    if (!isNumber || tag != "td")
        return "<" + tag + ">" + text.toHtmlEscaped() + "</" + tag + ">";
    const int dot = text.indexOf('.');
    const int decimals = dot < 0 ? 0 : static_cast<int>(text.size()) - dot - 1;
    const QString format = decimals > 0 ? "0." + QString(decimals, '0') : "0";
    return QString("<td sdval=\"%1\" sdnum=\"1033;0;%2\" style=\"mso-number-format:'%2'\">%3</td>")
        .arg(QString::number(value, 'g', 17), format, text.toHtmlEscaped());
}

} // namespace

GridSelectionText selectionText(const QAbstractItemModel& model,
                                const QItemSelectionModel& selection) {
    GridSelectionText out;
    const Bounds b = boundsOf(selection.selection());
    if (b.empty())
        return out;
    bool wholeColumns = true;
    for (int c = b.left; c <= b.right && wholeColumns; ++c)
        wholeColumns = selection.isColumnSelected(c, QModelIndex());
    QStringList lines;
    QString html = "<html><head><meta charset=\"utf-8\"></head><body><table>";
    auto addRow = [&](const QStringList& cells, const QString& tag) {
        lines << cells.join('\t');
        html += "<tr>";
        for (const QString& cell : cells)
            html += htmlCell(cell, tag);
        html += "</tr>";
    };
    if (wholeColumns) {
        QStringList cells;
        for (int c = b.left; c <= b.right; ++c)
            cells << plainCell(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        addRow(cells, "th");
    }
    for (int r = b.top; r <= b.bottom; ++r) {
        QStringList cells;
        for (int c = b.left; c <= b.right; ++c) {
            const QModelIndex index = model.index(r, c);
            cells << (selection.isSelected(index) ? plainCell(index.data().toString()) : QString());
        }
        addRow(cells, "td");
    }
    out.tsv = lines.join('\n') + '\n';
    out.html = html + "</table></body></html>";
    return out;
}

std::unique_ptr<QMimeData> selectionMimeData(const QAbstractItemModel& model,
                                             const QItemSelectionModel& selection) {
    const GridSelectionText text = selectionText(model, selection);
    auto mime = std::make_unique<QMimeData>();
    mime->setText(text.tsv);
    mime->setHtml(text.html);
    return mime;
}

} // namespace frusta::gui
