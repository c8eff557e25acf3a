// The grid and chart windows on a real X server, driven through it with xdotool as a user
// drives them: keys to the focused grid, clicks, drags and the wheel keep the frozen rows and
// columns in place, and hovering the charts' marks, bands and bars shows their texts.
#include "gui/output/ConfidenceChartView.h"
#include "gui/output/EqrChartView.h"
#include "gui/output/ZoomChartView.h"
#include "output/GridText.h"
#include "support/ExampleProgram.h"
#include "support/FrozenChecks.h"
#include "support/XDriver.h"

#include <QAreaSeries>
#include <QBarSet>
#include <QChart>
#include <QHorizontalPercentBarSeries>
#include <QScatterSeries>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

using namespace frusta;
using namespace frusta::gui;
using frusta::guitest::Analysis;
using frusta::guitest::currentCellFault;
using frusta::guitest::ExampleSession;
using frusta::guitest::frozenPanesFault;
using X = frusta::guitest::XDriver;

namespace {

// A user action through the X server and what it must leave in view besides the frozen
// parts: the current cell whole (keys), in part (clicks) or nothing in particular.
enum class Current { Any, Part, Whole };

struct Action {
    QString name;
    std::function<bool(GridView&)> act;
    Current current;
};

QPoint middle(const QWidget* w, double fx, double fy) {
    return QPoint(static_cast<int>(w->width() * fx), static_cast<int>(w->height() * fy));
}

std::vector<Action> actions() {
    auto key = [](const char* k) {
        return Action{k, [k](GridView&) { return X::key(k); }, Current::Whole};
    };
    return {
        {"click a cell",
         [](GridView& g) { return X::click(g.viewport(), middle(g.viewport(), 0.7, 0.7)); },
         Current::Part},
        key("Right"),
        key("Down"),
        key("End"),
        key("ctrl+End"),
        key("Page_Up"),
        key("Page_Down"),
        key("Home"),
        key("Left"),
        key("Left"),
        key("Left"),
        key("Page_Down"),
        key("Tab"),
        key("shift+Tab"),
        key("ctrl+Home"),
        {"click the third row",
         [](GridView& g) {
             const QRect r = g.visualRect(g.model()->index(2, g.frozenColumns() + 1));
             return X::click(g.viewport(), r.center());
         },
         Current::Part},
        key("Down"),
        {"wheel down and right",
         [](GridView& g) {
             return X::wheel(g.viewport(), middle(g.viewport(), 0.6, 0.6), 5, 3) &&
                    X::wheel(g.viewport(), middle(g.viewport(), 0.6, 0.6), 7, 3);
         },
         Current::Any},
        {"wheel over the frozen columns",
         [](GridView& g) {
             QWidget* pane = g.frozenColumnPane()->viewport();
             return X::wheel(pane, middle(pane, 0.5, 0.7), 5, 2) &&
                    X::wheel(pane, middle(pane, 0.5, 0.7), 7, 2);
         },
         Current::Any},
        {"drag a selection to the corner and back",
         [](GridView& g) {
             QWidget* port = g.viewport();
             return X::drag(port, middle(port, 0.5, 0.5), middle(port, 0.98, 0.98), QPoint(4, 4));
         },
         Current::Any},
        {"click in the horizontal scroll bar",
         [](GridView& g) {
             return X::click(g.horizontalScrollBar(), middle(g.horizontalScrollBar(), 0.8, 0.5));
         },
         Current::Any},
        {"click in the frozen columns",
         [](GridView& g) {
             QTableView* pane = g.frozenColumnPane();
             return X::click(pane->viewport(), middle(pane->viewport(), 0.8, 0.8));
         },
         Current::Part},
        key("Right"),
        key("ctrl+End"),
    };
}

// Runs every action on `grid` through the X server, checking the frozen parts after each.
void walk(GridView& grid, const QString& window) {
    for (const Action& a : actions()) {
        QVERIFY2(a.act(grid), qPrintable(window + ": xdotool failed at " + a.name));
        QString fault = frozenPanesFault(grid);
        if (fault.isEmpty() && a.current != Current::Any)
            fault = currentCellFault(grid, a.current == Current::Whole);
        QVERIFY2(fault.isEmpty(), qPrintable(window + ", after " + a.name + ": " + fault));
    }
}

void showOnDesktop(ExampleSession& f) {
    f.area.move(0, 0);
    f.area.resize(1000, 700);
    f.area.show();
    f.area.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.area));
}

// Where a point of a series lies in the chart view's viewport.
QPoint onScreen(QChartView& view, QAbstractSeries* series, QPointF value) {
    const QPointF item = view.chart()->mapToPosition(value, series);
    return view.mapFromScene(view.chart()->mapToScene(item));
}

// The tip shown while the pointer rests at `p`: it must appear and still be there a second
// later; empty otherwise.
QString restingTip(QAbstractScrollArea& view, QPoint p) {
    // Away first, so that the tip of what is under the pointer is shown anew.
    X::moveTo(view.viewport(), QPoint(2, 2));
    X::settle(300);
    X::moveTo(view.viewport(), p);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 3000 && !QToolTip::isVisible())
        X::settle(50);
    X::settle(1000);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void frozenPartsStayUnderRealKeysAndPointer() {
        ExampleSession f;
        showOnDesktop(f);
        DataListView* data = f.data();
        f.session->dataFrame()->setGeometry(10, 10, 520, 320);
        X::settle();
        walk(*data, "data window");

        CChildResFrame* tabs = f.results();
        f.session->resultsFrame()->setGeometry(20, 20, 480, 300);
        X::settle();
        walk(*tabs->grid(0), "sample results");
        tabs->setCurrentIndex(1);
        f.session->resultsFrame()->resize(330, 180);
        X::settle();
        walk(*tabs->grid(1), "site tab");
    }

    void chartTipsAppearWhereThePointerRests() {
        ExampleSession f;
        showOnDesktop(f);
        CChildResFrame* tabs = f.results();
        f.session->resultsFrame()->setGeometry(0, 0, 900, 600);
        tabs->setCurrentIndex(2);
        auto* eqr = qobject_cast<EqrChartView*>(tabs->currentWidget());
        QVERIFY(eqr);
        X::settle(300);
        QChartView& view = *eqr->chartView();
        // The first mark of a class series, and a point of the band of another class.
        QScatterSeries* marks = nullptr;
        for (QAbstractSeries* s : view.chart()->series())
            if (auto* scatter = qobject_cast<QScatterSeries*>(s); scatter && scatter->count() > 0) {
                marks = scatter;
                break;
            }
        QVERIFY(marks);
        const QPointF mark = marks->at(0);
        const int sample = eqr->markAt(mark.x());
        QCOMPARE(restingTip(view, onScreen(view, marks, mark)), eqr->markText(sample));
        const QPointF band(mark.x(), mark.y() > 0.5 ? 0.1 : 0.95);
        QCOMPARE(restingTip(view, onScreen(view, marks, band)), eqr->bandText(sample));

        tabs->setCurrentIndex(3);
        auto* coc = qobject_cast<ConfidenceChartView*>(tabs->currentWidget());
        QVERIFY(coc);
        X::settle(300);
        QChartView& bars = *coc->chartView();
        auto* series = qobject_cast<QHorizontalPercentBarSeries*>(bars.chart()->series().value(0));
        QVERIFY(series && !series->barSets().isEmpty());
        // The first site stands at the top: the last category of the axis, at 50 %.
        const int sites = static_cast<int>(series->barSets()[0]->count());
        QCOMPARE(restingTip(bars, onScreen(bars, series, QPointF(50, sites - 1))), coc->barText(0));
    }

    // The hover texts of the grids: why a highlighted taxon has no score, and the scored
    // share of a sample on its metric cell.
    void gridTipsAppearWhereThePointerRests() {
        ExampleSession f;
        showOnDesktop(f);
        DataListView* data = f.data();
        f.session->dataFrame()->setGeometry(0, 0, 900, 600);
        X::settle(300);
        int row = f.doc().m_nInfoRows + 1;
        while (!cells::dataRowUnscored(f.doc(), row))
            ++row;
        const QModelIndex cell = data->model()->index(row - 1, 2); // a count of the taxon
        data->scrollTo(cell);
        X::settle(300);
        const QString why = QString::fromStdString(cells::dataTip(f.doc(), row, 3));
        QVERIFY(why.startsWith("In the master list as ") || why.startsWith("Not in the master"));
        QCOMPARE(restingTip(*data, data->visualRect(cell).center()), why);

        CChildResFrame* tabs = f.results();
        f.session->resultsFrame()->setGeometry(0, 0, 900, 600);
        X::settle(300);
        GridView& samples = *tabs->grid(0);
        const int metric = cells::resultsGridColumn(f.doc(), ResultColumn::Metric);
        const QModelIndex value = samples.model()->index(0, metric - 1);
        samples.scrollTo(value);
        X::settle(300);
        const QString share = QString::fromStdString(cells::resultsTip(f.doc(), 1, metric));
        QVERIFY(share.startsWith("Scored share: "));
        QCOMPARE(restingTip(samples, samples.visualRect(value).center()), share);
    }
};

QTEST_MAIN(DesktopTest)
#include "DesktopTest.moc"
