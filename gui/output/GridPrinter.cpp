#include "gui/output/GridPrinter.h"

#include "gui/output/GridModel.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace frusta::gui {

namespace {

constexpr double kScreenDpi = 96.0;
const QColor kHeaderFill(230, 230, 230);
const QColor kLine(160, 160, 160);

struct Page {
    int firstRow; // grid rows firstRow..lastRow (from 1)
    int lastRow;
    std::pair<int, int> columns;
};

void drawCell(QPainter& p, const QRect& rect, const QString& text, bool header,
              const std::optional<QColor>& fill) {
    if (header)
        p.fillRect(rect, kHeaderFill);
    else if (fill)
        p.fillRect(rect, *fill);
    p.setPen(kLine);
    p.drawRect(rect);
    p.setPen(Qt::black);
    const QRect inner = rect.adjusted(3, 0, -3, 0);
    const Qt::Alignment align =
        header ? Qt::AlignCenter
               : Qt::AlignVCenter |
                     (isNumberText(text.toStdString()) ? Qt::AlignRight : Qt::AlignLeft);
    p.drawText(inner, align, p.fontMetrics().elidedText(text, Qt::ElideRight, inner.width()));
}

// The grid columns of one page: the row header, the frozen columns, then the band.
std::vector<int> pageColumns(const GridPrintLayout& layout, std::pair<int, int> band) {
    std::vector<int> cols;
    const int last = static_cast<int>(layout.widths.size()) - 1;
    for (int c = 0; c <= std::min(layout.frozenColumns, last); ++c)
        cols.push_back(c);
    for (int c = band.first; c <= band.second; ++c)
        cols.push_back(c);
    return cols;
}

void drawPage(QPainter& p, const GridModel& model, const GridPrintLayout& layout, const Page& page,
              int pageNo, int pageCount, const QSizeF& size) {
    const QFontMetrics fm = p.fontMetrics();
    const int titleH = fm.height() * 2;
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 0, size.width(), titleH), Qt::AlignLeft | Qt::AlignVCenter, layout.title);
    p.drawText(QRectF(0, size.height() - titleH, size.width(), titleH), Qt::AlignCenter,
               QString("Page %1 of %2").arg(pageNo).arg(pageCount));
    const std::vector<int> cols = pageColumns(layout, page.columns);
    int y = titleH;
    auto drawRow = [&](int r, int height) {
        int x = 0;
        for (int c : cols) {
            const int w = layout.widths[static_cast<std::size_t>(c)];
            const QString text = QString::fromStdString(model.cellText(r, c));
            drawCell(p, QRect(x, y, w, height), text, r == 0 || c == 0,
                     r == 0 || c == 0 ? std::nullopt : model.cellBackground(r, c));
            x += w;
        }
        y += height;
    };
    drawRow(0, layout.headerHeight);
    for (int r = page.firstRow; r <= page.lastRow; ++r)
        drawRow(r, layout.rowHeight);
}

} // namespace

std::vector<std::pair<int, int>> printColumnBands(const GridPrintLayout& layout, int pageWidth) {
    const int last = static_cast<int>(layout.widths.size()) - 1;
    int fixedW = 0;
    for (int c = 0; c <= std::min(layout.frozenColumns, last); ++c)
        fixedW += layout.widths[static_cast<std::size_t>(c)];
    const int room = std::max(pageWidth - fixedW, 1);
    std::vector<std::pair<int, int>> bands;
    int c = layout.frozenColumns + 1;
    while (c <= last) {
        int used = 0, end = c;
        while (end <= last &&
               (end == c || used + layout.widths[static_cast<std::size_t>(end)] <= room))
            used += layout.widths[static_cast<std::size_t>(end++)];
        bands.emplace_back(c, end - 1);
        c = end;
    }
    if (bands.empty())
        bands.emplace_back(last + 1, last); // the frozen columns alone
    return bands;
}

int printGrid(QPrinter& printer, const GridModel& model, const GridPrintLayout& layout) {
    QPainter p;
    if (!p.begin(&printer))
        return 0;
    const double scale = printer.resolution() / kScreenDpi;
    const QRectF paper = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF size(paper.width() / scale, paper.height() / scale);
    p.scale(scale, scale);
    p.setFont(layout.font);
    const int titleH = p.fontMetrics().height() * 2;
    const int body = static_cast<int>(size.height()) - 2 * titleH - layout.headerHeight;
    const int rowsPerPage = std::max(body / std::max(layout.rowHeight, 1), 1);
    const int rows = model.rowCount();
    std::vector<Page> pages;
    for (const auto& band : printColumnBands(layout, static_cast<int>(size.width())))
        for (int first = 1; first <= std::max(rows, 1); first += rowsPerPage)
            pages.push_back({first, std::min(first + rowsPerPage - 1, rows), band});
    const int count = static_cast<int>(pages.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            printer.newPage();
        drawPage(p, model, layout, pages[static_cast<std::size_t>(i)], i + 1, count, size);
    }
    p.end();
    return count;
}

} // namespace frusta::gui
