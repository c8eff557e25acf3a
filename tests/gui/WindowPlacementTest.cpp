// Where the windows of two analyses of the example open in the main window, at its first
// size and at 800 x 600: wholly inside the workspace, at cascade positions, as large as
// useful, never over a command panel's title bar, with captions that tell the analyses
// apart; and the sizes that Window > Cascade and Tile give them.
#include "app/ScriptedPort.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/app/ViewerLauncher.h"
#include "gui/common/WindowArrangement.h"
#include "gui/doc/DocumentSession.h"
#include "support/ExampleProgram.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

using namespace frusta;
using namespace frusta::gui;
using frusta::guitest::kExample;
using frusta::guitest::kProgramDir;
using frusta::guitest::Program;

namespace {

bool isPanel(const QMdiSubWindow* w) {
    return w->minimumSize() == w->maximumSize();
}

QRect workspace(QMdiArea& area) {
    return QRect(QPoint(0, 0), area.viewport()->size());
}

// What is wrong with the windows of the workspace, or an empty text: every window inside
// the workspace, no window over the title bar of a command panel below it.
QString arrangementFault(QMdiArea& area, int titleBar) {
    const QList<QMdiSubWindow*> stack = area.subWindowList(QMdiArea::StackingOrder);
    for (int i = 0; i < stack.size(); ++i) {
        const QRect g = stack[i]->geometry();
        if (!workspace(area).contains(g))
            return QString("%1 at %2,%3 %4x%5 leaves the workspace %6x%7")
                .arg(stack[i]->windowTitle())
                .arg(g.x())
                .arg(g.y())
                .arg(g.width())
                .arg(g.height())
                .arg(area.viewport()->width())
                .arg(area.viewport()->height());
        if (!isPanel(stack[i]))
            continue;
        const QRect titleBarRect(stack[i]->pos(), QSize(stack[i]->width(), titleBar));
        for (int j = i + 1; j < stack.size(); ++j)
            if (stack[j]->geometry().intersects(titleBarRect))
                return stack[j]->windowTitle() + " covers the title bar of " +
                       stack[i]->windowTitle();
    }
    return {};
}

// The main window at its first size and at 800 x 600.
void mainWindowSizes() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("first size") << QSize();
    QTest::newRow("800 x 600") << QSize(800, 600);
}

} // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void newWindowsOpenInsideTheWorkspace_data() { mainWindowSizes(); }
    void newWindowsOpenInsideTheWorkspace() {
        QFETCH(QSize, size);
        Program p(size);
        QCOMPARE(p.app.mainFrame().size(), size.isValid() ? size : QSize(1100, 750));
        QMdiArea& area = p.area();
        DocumentSession* rivers = p.open({0, kFamilyRivers, true, 7, 3});
        QVERIFY(rivers);
        const int titleBar = rivers->panelFrame()->widget()->y();
        QVERIFY(titleBar > 10);
        const QSize panelSize = rivers->panelFrame()->size();
        rivers->ShowDataView();
        rivers->ShowResultsView();
        p.app.OnViewTaxonList();
        DocumentSession* lakes = p.open({1, kFamilyLakes, true, 7, 3});
        QVERIFY(lakes);
        lakes->ShowResultsView();
        lakes->ShowDataView();
        QCOMPARE(area.subWindowList().size(), 7);
        QCOMPARE(arrangementFault(area, titleBar), QString());

        // Each window at the next cascade position, the first one at the top left.
        QList<QPoint> positions;
        for (QMdiSubWindow* w : area.subWindowList(QMdiArea::CreationOrder))
            positions << w->pos();
        for (int i = 0; i < positions.size(); ++i) {
            QCOMPARE(positions[i].x(), positions[i].y());
            QCOMPARE(positions[i].x() % titleBar, 0);
            QVERIFY(!positions.mid(0, i).contains(positions[i]));
        }
        QCOMPARE(positions[0], QPoint(0, 0));
        QCOMPARE(rivers->panelFrame()->size(), panelSize);
        // As large as useful: the data grids are larger than the workspace and reach its
        // bottom right; no window is smaller than readable.
        const QRect space = workspace(area);
        QCOMPARE(rivers->dataFrame()->geometry().bottomRight(), space.bottomRight());
        for (QMdiSubWindow* w : area.subWindowList())
            if (!isPanel(w))
                QVERIFY2(w->width() >= kReadableSize.width() &&
                             w->height() >= kReadableSize.height(),
                         qPrintable(w->windowTitle()));

        // The captions tell the two analyses of the workbook apart; the job summary and
        // the saved results keep the file's name.
        QCOMPARE(rivers->panelFrame()->windowTitle(), "FRUSTA2TestData.xls (Rivers, TDI4)");
        QCOMPARE(lakes->panelFrame()->windowTitle(), "FRUSTA2TestData.xls (Lakes, LTDI2)");
        QCOMPARE(lakes->resultsFrame()->windowTitle(),
                 "Results view: FRUSTA2TestData.xls (Lakes, LTDI2)");
        QCOMPARE(rivers->dataFrame()->windowTitle(),
                 "Data view: FRUSTA2TestData.xls (Rivers, TDI4)");
        QVERIFY(lakes->doc().m_strSummary.rfind("File:\tFRUSTA2TestData.xls\r\n", 0) == 0);
        QCOMPARE(lakes->doc().GetTitle(), "FRUSTA2TestData.xls");

        // Window > Cascade and Tile: every window inside and readable, the panels at their
        // size with their title bars in view.
        for (const char* command : {"cascade", "tile", "cascade"}) {
            QAction* action = QString(command) == "tile" ? p.app.mainFrame().actions().tile
                                                         : p.app.mainFrame().actions().cascade;
            action->trigger();
            QCOMPARE(arrangementFault(area, titleBar), QString());
            for (QMdiSubWindow* w : area.subWindowList()) {
                if (isPanel(w))
                    QCOMPARE(w->size(), panelSize);
                else
                    QVERIFY2(w->width() >= kReadableSize.width() &&
                                 w->height() >= kReadableSize.height(),
                             qPrintable(QString("%1 after %2: %3x%4")
                                            .arg(w->windowTitle(), command)
                                            .arg(w->width())
                                            .arg(w->height())));
            }
        }
    }

    // A window opened while another fills the workspace follows it, as the workspace does.
    void aWindowOpenedBesideAMaximisedOneStaysInside() {
        Program p{QSize()};
        DocumentSession* rivers = p.open({0, kFamilyRivers, true, 7, 3});
        QVERIFY(rivers);
        rivers->ShowResultsView();
        rivers->resultsFrame()->showMaximized();
        rivers->ShowDataView();
        QTest::qWait(20);
        QVERIFY(workspace(p.area()).contains(rivers->dataFrame()->geometry()));
        QVERIFY(rivers->dataFrame()->isMaximized() ||
                rivers->dataFrame()->width() >= kReadableSize.width());
        rivers->dataFrame()->showNormal();
        QCOMPARE(arrangementFault(p.area(), rivers->panelFrame()->widget()->y()), QString());
    }

    void tileSetsTheWindowsSideBySide_data() { mainWindowSizes(); }
    void tileSetsTheWindowsSideBySide() {
        QFETCH(QSize, size);
        Program p(size);
        DocumentSession* rivers = p.open({0, kFamilyRivers, true, 7, 3});
        QVERIFY(rivers);
        rivers->ShowDataView();
        rivers->ShowResultsView();
        p.app.mainFrame().actions().tile->trigger();
        const QList<QMdiSubWindow*> all = p.area().subWindowList();
        QCOMPARE(all.size(), 3);
        // One document: nothing overlaps, and the grids share the room beside or below the
        // panel.
        for (int i = 0; i < all.size(); ++i)
            for (int j = i + 1; j < all.size(); ++j)
                QVERIFY2(!all[i]->geometry().intersects(all[j]->geometry()),
                         qPrintable(all[i]->windowTitle() + " overlaps " + all[j]->windowTitle()));
        QCOMPARE(rivers->panelFrame()->pos(), QPoint(0, 0));
        const QRect data = rivers->dataFrame()->geometry();
        const QRect results = rivers->resultsFrame()->geometry();
        QCOMPARE(data.size(), results.size());
        QCOMPARE(data.united(results).bottomRight(), workspace(p.area()).bottomRight());
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "WindowPlacementTest.moc"
