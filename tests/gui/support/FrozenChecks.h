#pragma once
// What a user sees of a grid with frozen rows and columns: the frozen panes show the first
// rows and columns whatever happened and follow the grid in the other direction; the
// current cell is in view and not hidden under them.
#include "gui/output/GridView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QString>

namespace frusta::guitest {

// An empty text when all is well; otherwise what is wrong.
inline QString frozenPanesFault(const gui::GridView& grid) {
    QTableView* columns = grid.frozenColumnPane();
    QTableView* rows = grid.frozenRowPane();
    QTableView* corner = grid.frozenCornerPane();
    if ((grid.frozenColumns() > 0) != (columns != nullptr) ||
        (grid.frozenRows() > 0) != (rows != nullptr))
        return "frozen panes missing";
    if (columns) {
        if (columns->columnAt(0) != 0 || columns->horizontalScrollBar()->value() != 0)
            return QString("frozen columns show column %1").arg(columns->columnAt(0) + 1);
        if (columns->verticalScrollBar()->value() != grid.verticalScrollBar()->value())
            return "frozen columns out of step with the rows";
    }
    if (rows) {
        if (rows->rowAt(0) != 0 || rows->verticalScrollBar()->value() != 0)
            return QString("frozen rows show row %1").arg(rows->rowAt(0) + 1);
        if (rows->horizontalScrollBar()->value() != grid.horizontalScrollBar()->value())
            return "frozen rows out of step with the columns";
    }
    if (corner && (corner->rowAt(0) != 0 || corner->columnAt(0) != 0))
        return "frozen corner scrolled";
    return {};
}

// An empty text when the current cell is in view: outside the frozen parts it is not under
// them, wholly (`whole`, after a key moved it) or in part (after a click).
inline QString currentCellFault(const gui::GridView& grid, bool whole) {
    const QModelIndex current = grid.currentIndex();
    if (!current.isValid())
        return "no current cell";
    int frozenW = 0, frozenH = 0;
    for (int c = 0; c < grid.frozenColumns(); ++c)
        frozenW += grid.columnWidth(c);
    for (int r = 0; r < grid.frozenRows(); ++r)
        frozenH += grid.rowHeight(r);
    const QRect cell = grid.visualRect(current);
    const QRect area = grid.viewport()->rect();
    const bool inColumns = whole ? cell.left() >= frozenW && cell.left() < area.width()
                                 : cell.right() >= frozenW && cell.left() < area.width();
    const bool inRows = whole ? cell.top() >= frozenH && cell.top() < area.height()
                              : cell.bottom() >= frozenH && cell.top() < area.height();
    if (current.column() >= grid.frozenColumns() && !inColumns)
        return QString("current column %1 out of view (%2 to %3 of %4, frozen %5)")
            .arg(current.column() + 1)
            .arg(cell.left())
            .arg(cell.right())
            .arg(area.width())
            .arg(frozenW);
    if (current.row() >= grid.frozenRows() && !inRows)
        return QString("current row %1 out of view (%2 to %3 of %4, frozen %5)")
            .arg(current.row() + 1)
            .arg(cell.top())
            .arg(cell.bottom())
            .arg(area.height())
            .arg(frozenH);
    return {};
}

} // namespace frusta::guitest
