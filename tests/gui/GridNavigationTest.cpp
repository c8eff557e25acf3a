// Frozen rows and columns as a user moves through the grids: keys, clicks, drag selection,
// the wheel, the scroll bars, resizing and scrolling to a cell never scroll the frozen
// parts away, in the data window (2 rows, 2 columns), the sample results (2 columns) and
// the site tab (1 column).
#include "gui/output/GridView.h"
#include "support/ExampleProgram.h"
#include "support/FrozenChecks.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

#include <functional>

using namespace frusta;
using namespace frusta::gui;
using frusta::guitest::Analysis;
using frusta::guitest::currentCellFault;
using frusta::guitest::ExampleSession;
using frusta::guitest::frozenPanesFault;

namespace {

// What a step leaves in view besides the frozen parts: nothing in particular (scrolling),
// the current cell in part (a click) or whole (a key).
enum class Current { Any, Part, Whole };

struct Step {
    const char* name;
    std::function<void(GridView&)> act;
    Current current = Current::Whole;
};

QModelIndex cellAt(const GridView& grid, int row, int column) {
    return grid.model()->index(std::min(row, grid.model()->rowCount() - 1),
                               std::min(column, grid.model()->columnCount() - 1));
}

// The child window that holds the grid.
QWidget* frameOf(GridView& grid) {
    QWidget* w = &grid;
    while (w->parentWidget() && !qobject_cast<QMdiSubWindow*>(w))
        w = w->parentWidget();
    return w;
}

void key(GridView& grid, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(&grid, k, mods);
}

// Clicks the middle of a cell of the scrolling part that is in view.
void clickScrollingCell(GridView& grid) {
    const QPoint p(grid.viewport()->width() * 2 / 3, grid.viewport()->height() * 2 / 3);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, p);
}

void wheel(QWidget* target, QPoint angle) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void dragSelection(GridView& grid) {
    QWidget* port = grid.viewport();
    const QPoint start(port->width() / 2, port->height() / 2);
    QTest::mousePress(port, Qt::LeftButton, {}, start);
    // To the far corner, where the grid scrolls on by itself, then back over the frozen part.
    QTest::mouseMove(port, QPoint(port->width() - 2, port->height() - 2));
    QTest::qWait(150);
    QTest::mouseMove(port, QPoint(3, 3));
    QTest::qWait(150);
    QTest::mouseRelease(port, Qt::LeftButton, {}, QPoint(3, 3));
}

std::vector<Step> steps() {
    return {
        {"scroll bars to the middle",
         [](GridView& g) {
             g.horizontalScrollBar()->setValue(g.horizontalScrollBar()->maximum() / 2);
             g.verticalScrollBar()->setValue(g.verticalScrollBar()->maximum() / 2);
         },
         Current::Any},
        {"click a cell", clickScrollingCell, Current::Part},
        {"Right", [](GridView& g) { key(g, Qt::Key_Right); }},
        {"Down", [](GridView& g) { key(g, Qt::Key_Down); }},
        {"End", [](GridView& g) { key(g, Qt::Key_End); }},
        {"Ctrl+End", [](GridView& g) { key(g, Qt::Key_End, Qt::ControlModifier); }},
        {"Page Up", [](GridView& g) { key(g, Qt::Key_PageUp); }},
        {"Page Down", [](GridView& g) { key(g, Qt::Key_PageDown); }},
        {"Up", [](GridView& g) { key(g, Qt::Key_Up); }},
        {"Home", [](GridView& g) { key(g, Qt::Key_Home); }},
        {"Left into the frozen columns",
         [](GridView& g) {
             for (int i = 0; i < 3; ++i)
                 key(g, Qt::Key_Left);
         }},
        {"Page Down in a frozen column", [](GridView& g) { key(g, Qt::Key_PageDown); }},
        {"Tab", [](GridView& g) { key(g, Qt::Key_Tab); }},
        {"Shift+Tab", [](GridView& g) { key(g, Qt::Key_Backtab, Qt::ShiftModifier); }},
        {"Ctrl+End again", [](GridView& g) { key(g, Qt::Key_End, Qt::ControlModifier); }},
        {"Ctrl+Home", [](GridView& g) { key(g, Qt::Key_Home, Qt::ControlModifier); }},
        {"click the third row",
         [](GridView& g) {
             const QRect r = g.visualRect(cellAt(g, 2, g.frozenColumns() + 1));
             QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, r.center());
         },
         Current::Part},
        {"Down from the third row", [](GridView& g) { key(g, Qt::Key_Down); }},
        {"drag a selection", dragSelection, Current::Any},
        {"wheel down and right",
         [](GridView& g) {
             wheel(g.viewport(), QPoint(0, -360));
             wheel(g.viewport(), QPoint(-360, 0));
         },
         Current::Any},
        {"wheel over the frozen panes",
         [](GridView& g) {
             for (QTableView* pane : {g.frozenColumnPane(), g.frozenRowPane()})
                 if (pane) {
                     wheel(pane->viewport(), QPoint(0, -240));
                     wheel(pane->viewport(), QPoint(-240, 0));
                 }
         },
         Current::Any},
        {"scroll bars to the end",
         [](GridView& g) {
             g.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
             g.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
         },
         Current::Any},
        {"resize smaller", [](GridView& g) { frameOf(g)->resize(330, 210); }, Current::Any},
        {"resize larger", [](GridView& g) { frameOf(g)->resize(640, 420); }, Current::Any},
        {"scrollTo the current cell",
         [](GridView& g) { g.scrollTo(g.currentIndex(), QAbstractItemView::PositionAtCenter); }},
        {"scrollTo the last cell at the top",
         [](GridView& g) {
             g.scrollTo(cellAt(g, 1 << 20, 1 << 20), QAbstractItemView::PositionAtTop);
         },
         Current::Any},
        {"scrollTo a frozen column far down",
         [](GridView& g) { g.scrollTo(cellAt(g, 1 << 20, 0)); }, Current::Any},
    };
}

// Runs every step on `grid`, checking the frozen parts after each.
void walk(GridView& grid, const QString& window) {
    grid.setFocus();
    for (const Step& step : steps()) {
        step.act(grid);
        QApplication::processEvents();
        QString fault = frozenPanesFault(grid);
        if (fault.isEmpty() && step.current != Current::Any)
            fault = currentCellFault(grid, step.current == Current::Whole);
        QVERIFY2(fault.isEmpty(), qPrintable(window + ", after " + step.name + ": " + fault));
    }
}

// Puts the grid's window at a size at which it scrolls both ways.
void showSmall(QMdiSubWindow* frame) {
    frame->resize(420, 260);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
}

} // namespace

class GridNavigationTest : public QObject {
    Q_OBJECT

private slots:
    void frozenPartsStayWhateverTheUserDoes() {
        ExampleSession f;
        DataListView* data = f.data();
        showSmall(f.session->dataFrame());
        QCOMPARE(data->frozenRows(), 2);
        QCOMPARE(data->frozenColumns(), 2);
        walk(*data, "data window");

        CChildResFrame* tabs = f.results();
        showSmall(f.session->resultsFrame());
        QCOMPARE(tabs->grid(0)->frozenColumns(), 2);
        walk(*tabs->grid(0), "sample results");
        tabs->setCurrentIndex(1);
        QCOMPARE(tabs->grid(1)->frozenColumns(), 1);
        f.session->resultsFrame()->resize(300, 160);
        walk(*tabs->grid(1), "site tab");
    }

    void homeKeysGoToTheStartOfTheScrollingPart() {
        ExampleSession f(Analysis::None);
        DataListView* grid = f.data();
        showSmall(f.session->dataFrame());
        grid->setCurrentIndex(cellAt(*grid, 40, 30));
        key(*grid, Qt::Key_Home);
        QCOMPARE(grid->currentIndex(), cellAt(*grid, 40, 2));
        QCOMPARE(grid->horizontalScrollBar()->value(), 0);
        key(*grid, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(grid->verticalScrollBar()->value() > 0);
        key(*grid, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(grid->currentIndex(), cellAt(*grid, 2, 2));
        QCOMPARE(grid->verticalScrollBar()->value(), 0);
        QCOMPARE(grid->horizontalScrollBar()->value(), 0);
    }

    void aCellOfAFrozenColumnIsSelectedAndCopied() {
        ExampleSession f(Analysis::None);
        DataListView* grid = f.data();
        showSmall(f.session->dataFrame());
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
        grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
        QApplication::processEvents();
        // A taxon name in the frozen columns, clicked where the user sees it.
        QTableView* pane = grid->frozenColumnPane();
        const int row = grid->rowAt(grid->viewport()->height() / 2);
        QVERIFY(row >= grid->frozenRows());
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {},
                          pane->visualRect(cellAt(*grid, row, 1)).center());
        QCOMPARE(grid->currentIndex(), cellAt(*grid, row, 1));
        QVERIFY(grid->hasFocus());
        QVERIFY(frozenPanesFault(*grid).isEmpty());
        grid->copy();
        QCOMPARE(QApplication::clipboard()->text().trimmed(),
                 cellAt(*grid, row, 1).data().toString());
        // The keys go on from there: Right leaves the frozen columns into view.
        key(*grid, Qt::Key_Right);
        QCOMPARE(grid->currentIndex().column(), 2);
        QCOMPARE(grid->horizontalScrollBar()->value(), 0);
        QVERIFY(frozenPanesFault(*grid).isEmpty());
    }
};

QTEST_MAIN(GridNavigationTest)
#include "GridNavigationTest.moc"
