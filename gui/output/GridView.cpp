#include "gui/output/GridView.h"

#include "gui/output/FrozenPane.h"
#include "gui/output/GridClipboard.h"
#include "gui/output/GridPrinter.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace frusta::gui {

namespace {

// The standard style of every grid: Arial 8 points.
QFont gridFont() {
    QFont font("Arial");
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void styleTable(QTableView& view) {
    view.setFont(gridFont());
    view.horizontalHeader()->setFont(gridFont());
    view.verticalHeader()->setFont(gridFont());
    view.setWordWrap(false);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectItems);
    view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setTextElideMode(Qt::ElideRight);
    const int rowHeight = QFontMetrics(gridFont()).height() + 4;
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(rowHeight);
    view.verticalHeader()->setMinimumSectionSize(rowHeight);
    view.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view.horizontalHeader()->setDefaultSectionSize(80);
    view.horizontalHeader()->setMinimumSectionSize(8);
    view.horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    view.horizontalHeader()->setHighlightSections(true);
}

} // namespace

GridView::GridView(GridModel* model, QWidget* parent) : QTableView(parent), model_(model) {
    model_->setParent(this);
    styleTable(*this);
    setModel(model_);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int size) { syncWidth(logical, size); });
}

GridView::~GridView() = default;

FrozenPane* GridView::makePane(Qt::Orientations pinned) {
    auto* pane = new FrozenPane(*this, pinned);
    styleTable(*pane);
    pane->setModel(model_);
    pane->setSelectionModel(selectionModel());
    for (int c = 0; c < model_->columnCount(); ++c)
        pane->setColumnWidth(c, columnWidth(c));
    connect(pane->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int size) { setColumnWidth(logical, size); });
    pane->show();
    return pane;
}

void GridView::freeze(int rows, int columns) {
    frozenRows_ = std::clamp(rows, 0, model_->rowCount());
    frozenColumns_ = std::clamp(columns, 0, model_->columnCount());
    for (QPointer<FrozenPane>* pane : {&columnPane_, &rowPane_, &cornerPane_})
        delete pane->data();
    if (frozenColumns_ > 0) {
        columnPane_ = makePane(Qt::Horizontal);
        // The frozen columns scroll up and down with the grid.
        connect(verticalScrollBar(), &QScrollBar::valueChanged, columnPane_->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(columnPane_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
                &QScrollBar::setValue);
    }
    if (frozenRows_ > 0) {
        rowPane_ = makePane(Qt::Vertical);
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, rowPane_->horizontalScrollBar(),
                &QScrollBar::setValue);
        connect(rowPane_->horizontalScrollBar(), &QScrollBar::valueChanged, horizontalScrollBar(),
                &QScrollBar::setValue);
    }
    if (frozenRows_ > 0 && frozenColumns_ > 0)
        cornerPane_ = makePane(Qt::Horizontal | Qt::Vertical);
    placePanes();
}

QTableView* GridView::frozenColumnPane() const {
    return columnPane_;
}
QTableView* GridView::frozenRowPane() const {
    return rowPane_;
}
QTableView* GridView::frozenCornerPane() const {
    return cornerPane_;
}

void GridView::placePanes() {
    const int frame = frameWidth();
    const int headerW = verticalHeader()->width();
    const int headerH = horizontalHeader()->height();
    const QRect area = viewport()->geometry();
    const int frozenW = std::min(frozenWidth(), area.width());
    const int frozenH = std::min(frozenHeight(), area.height());
    auto place = [&](QTableView* pane, int w, int h) {
        if (!pane)
            return;
        pane->verticalHeader()->setFixedWidth(headerW);
        pane->horizontalHeader()->setFixedHeight(headerH);
        pane->setGeometry(frame, frame, headerW + w, headerH + h);
        pane->raise();
    };
    // The panes end with the last row or column, so that no header shows past the table.
    place(columnPane_, frozenW, std::min(area.height(), verticalHeader()->length()));
    place(rowPane_, std::min(area.width(), horizontalHeader()->length()), frozenH);
    place(cornerPane_, frozenW, frozenH);
    if (columnPane_)
        columnPane_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    if (rowPane_)
        rowPane_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
}

void GridView::syncWidth(int logical, int size) {
    for (QTableView* pane : {columnPane_.data(), rowPane_.data(), cornerPane_.data()})
        if (pane && pane->columnWidth(logical) != size)
            pane->setColumnWidth(logical, size);
    placePanes();
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    placePanes();
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placePanes();
}

int GridView::frozenWidth() const {
    int width = 0;
    for (int c = 0; c < frozenColumns_; ++c)
        width += columnWidth(c);
    return width;
}

int GridView::frozenHeight() const {
    int height = 0;
    for (int r = 0; r < frozenRows_; ++r)
        height += rowHeight(r);
    return height;
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    // A cell of a frozen column or row is always in view in that direction: the grid
    // scrolls only in the other one, and not at all for a cell of the frozen corner.
    const bool inFrozenColumn = index.column() < frozenColumns_;
    const bool inFrozenRow = index.row() < frozenRows_;
    if (inFrozenColumn && inFrozenRow)
        return;
    const int across = horizontalScrollBar()->value(), down = verticalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (inFrozenColumn)
        horizontalScrollBar()->setValue(across);
    if (inFrozenRow)
        verticalScrollBar()->setValue(down);
    // A cell under the frozen parts is brought out from under them.
    const QRect cell = visualRect(index);
    const int frozenW = frozenWidth(), frozenH = frozenHeight();
    if (!inFrozenColumn && cell.left() < frozenW)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (frozenW - cell.left()));
    if (!inFrozenRow && cell.top() < frozenH)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - (frozenH - cell.top()));
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // As in a spreadsheet with frozen panes, Home goes to the first column after the frozen
    // ones and Ctrl+Home to the first cell after the frozen rows and columns, so that the
    // scrolling part shows its start.
    const QModelIndex current = currentIndex();
    if (action == MoveHome && model_->rowCount() > 0 && model_->columnCount() > 0) {
        const int column = std::min(frozenColumns_, model_->columnCount() - 1);
        const int row = modifiers & Qt::ControlModifier
                            ? std::min(frozenRows_, model_->rowCount() - 1)
                            : std::max(current.row(), 0);
        return model_->index(row, column);
    }
    return QTableView::moveCursor(action, modifiers);
}

QSize GridView::sizeHint() const {
    const int frame = 2 * frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QSize(frame + verticalHeader()->width() + horizontalHeader()->length() + bar,
                 frame + horizontalHeader()->height() + verticalHeader()->length() + bar);
}

int GridView::cellTextWidth(const QString& text) const {
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    return fontMetrics().horizontalAdvance(text) + margin + 2;
}

int GridView::headerTextWidth(const QString& text) const {
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    return horizontalHeader()->fontMetrics().horizontalAdvance(text) + margin + 4;
}

void GridView::fitColumns(int first, int last, int firstRow, int lastRow) {
    last = std::min(last, model_->columnCount());
    lastRow = std::min(lastRow, model_->rowCount());
    for (int c = std::max(first, 0); c <= last; ++c) {
        int width = 0;
        for (int r = std::max(firstRow, 0); r <= lastRow; ++r) {
            const QString text = QString::fromStdString(model_->cellText(r, c));
            width = std::max(width, r == 0 || c == 0 ? headerTextWidth(text) : cellTextWidth(text));
        }
        setGridColumnWidth(c, width);
    }
}

void GridView::setGridColumnWidth(int c, int width) {
    if (c == 0)
        verticalHeader()->setFixedWidth(width);
    else if (c <= model_->columnCount())
        setColumnWidth(c - 1, width);
}

int GridView::gridColumnWidth(int c) const {
    return c == 0 ? verticalHeader()->width() : columnWidth(c - 1);
}

void GridView::widenColumnsTo(int width) {
    if (verticalHeader()->sizeHint().width() < width)
        verticalHeader()->setFixedWidth(width);
    for (int c = 0; c < model_->columnCount(); ++c)
        if (columnWidth(c) < width)
            setColumnWidth(c, width);
}

void GridView::refresh() {
    model_->refresh();
    viewport()->update();
    for (QTableView* pane : {columnPane_.data(), rowPane_.data(), cornerPane_.data()})
        if (pane)
            pane->viewport()->update();
}

QString GridView::printTitle() const {
    if (!printTitle_.isEmpty())
        return printTitle_;
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* frame = qobject_cast<QMdiSubWindow*>(w))
            return frame->windowTitle();
    return window()->windowTitle();
}

void GridView::copy() {
    QApplication::clipboard()->setMimeData(selectionMimeData(*model_, *selectionModel()).release());
}

void GridView::selectAll() {
    QTableView::selectAll();
}

void GridView::print(QPrinter& printer) {
    GridPrintLayout layout;
    layout.title = printTitle();
    layout.font = font();
    layout.frozenColumns = frozenColumns_;
    layout.rowHeight = verticalHeader()->defaultSectionSize();
    layout.headerHeight = horizontalHeader()->height();
    layout.widths.push_back(verticalHeader()->width());
    for (int c = 0; c < model_->columnCount(); ++c)
        layout.widths.push_back(columnWidth(c));
    printGrid(printer, *model_, layout);
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy) {
        copy();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace frusta::gui
