#pragma once
// The grid control of the grid windows: a read-only table over a GridModel with a header row,
// a row-header column, frozen leading rows and columns that stay in place while the rest
// scrolls, widths fitted to the texts of a range of rows, and copy and print.
#include "gui/common/ViewCommands.h"
#include "gui/output/GridModel.h"

#include <QPointer>
#include <QTableView>

#include <memory>

namespace frusta::gui {

class FrozenPane;

class GridView : public QTableView, public ViewCommands {
    Q_OBJECT
public:
    // Takes ownership of `model` (as its Qt parent).
    explicit GridView(GridModel* model, QWidget* parent = nullptr);
    ~GridView() override;

    GridModel& gridModel() const { return *model_; }

    // Freezes the first `rows` rows and `columns` columns (grid rows and columns from 1).
    void freeze(int rows, int columns);
    int frozenRows() const { return frozenRows_; }
    int frozenColumns() const { return frozenColumns_; }
    // The overlay tables that hold the frozen parts (null when nothing is frozen that way).
    QTableView* frozenColumnPane() const;
    QTableView* frozenRowPane() const;
    QTableView* frozenCornerPane() const;

    // Fits grid columns first..last to the texts of grid rows firstRow..lastRow (row 0 is
    // the header row); only those rows are measured.
    void fitColumns(int first, int last, int firstRow, int lastRow);
    // Width of grid column c (0 is the row-header column).
    void setGridColumnWidth(int c, int width);
    int gridColumnWidth(int c) const;
    // Widens every column narrower than `width`, the row-header column included.
    void widenColumnsTo(int width);

    // Brings a cell into view out from under the frozen parts; the frozen parts never move.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // The size that shows every cell: the widths and heights of all columns and rows with
    // the headers, the frame and room for the scroll bars.
    QSize sizeHint() const override;

    // Draws every cell again from the source.
    void refresh();

    // The title printed on every page (default: the caption of the window that holds it).
    void setPrintTitle(const QString& title) { printTitle_ = title; }
    QString printTitle() const;

    bool canCopy() const override { return true; }
    void copy() override;
    void selectAll() override;
    bool canPrint() const override { return true; }
    void print(QPrinter& printer) override;

    // The width that a text needs in a cell or in a header.
    int cellTextWidth(const QString& text) const;
    int headerTextWidth(const QString& text) const;

protected:
    void updateGeometries() override;
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    FrozenPane* makePane(Qt::Orientations pinned);
    int frozenWidth() const;
    int frozenHeight() const;
    void placePanes();
    void syncWidth(int logical, int size);
    void keyPressEvent(QKeyEvent* event) override;

    GridModel* model_;
    int frozenRows_ = 0;
    int frozenColumns_ = 0;
    QPointer<FrozenPane> columnPane_;
    QPointer<FrozenPane> rowPane_;
    QPointer<FrozenPane> cornerPane_;
    QString printTitle_;
};

} // namespace frusta::gui
