#pragma once
// One frozen part of a grid (its leading columns, its leading rows, or the corner where they
// meet): a table over the grid's model and selection, laid over the grid's edge. Along its
// frozen directions it never scrolls, whatever the user does to it or to the grid; along the
// other it follows the grid. Clicks select in the grid and give the grid the focus; the wheel
// scrolls the grid.
#include <QTableView>

namespace frusta::gui {

class FrozenPane : public QTableView {
    Q_OBJECT
public:
    // `pinned` holds the directions in which the pane never scrolls: Qt::Horizontal for
    // frozen columns, Qt::Vertical for frozen rows, both for the corner.
    FrozenPane(QTableView& grid, Qt::Orientations pinned);

    Qt::Orientations pinned() const { return pinned_; }

    // Never scrolls to a cell: the grid itself brings its current cell into view.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void pin(QScrollBar* bar);

    QTableView& grid_;
    Qt::Orientations pinned_;
};

} // namespace frusta::gui
