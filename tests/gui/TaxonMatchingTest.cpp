// Taxon matching in the desktop program as a user meets it: the hover text of a highlighted
// taxon, "Use suggestion" from its context menu into a new translation table and the analysis
// that follows, the taxon matching window and its smallest scored share, the hover text of a
// sample's metric, Help > Run details, and File > Taxon translations with a refused table.
#include "app/CPbtApp.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "doc/TaxonMatchView.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/app/DesktopSettings.h"
#include "gui/app/RunDetailsDialog.h"
#include "gui/doc/CPbtView.h"
#include "gui/doc/DocumentSession.h"
#include "gui/doc/WorksheetSelectDialog.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/DataListView.h"
#include "gui/output/GridView.h"
#include "gui/output/MatchingView.h"
#include "gui/output/ResListView.h"
#include "output/GridText.h"
#include "support/ExampleProgram.h"
#include "support/GuiTestSupport.h"
#include "workbook/FileFacts.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace frusta;
using namespace frusta::gui;
using frusta::guitest::kProgramDir;
using frusta::guitest::whenModal;

namespace {

// Two samples; AC004A is scored, "AC 005-A" is AC005A written with spacing, XX1's name is
// Cymbella cistula misspelt, ZZ9 is unlike any entry.
const char kCounts[] = "Sample name,,S1,S2\n"
                       "Site code,,SITE1,SITE1\n"
                       "Sampling date,,2010-01-04,2010-06-01\n"
                       "Alkalinity (mg/l),,50,60\n"
                       "Calcium,,,\n"
                       "DOC,,,\n"
                       "AC004A,Achnanthes oblongella,60,90\n"
                       "AC 005-A,Achnanthes coarctata,30,5\n"
                       "XX1,Cymbella cistulla,10,3\n"
                       "ZZ9,Unknown thing,0,2\n";

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Answers the worksheet dialog with the rivers metric and the proposed rows.
void chooseRivers() {
    whenModal([](QWidget* w) {
        auto* d = qobject_cast<WorksheetSelectDialog*>(w);
        QVERIFY(d);
        QTest::mouseClick(d->metricButton(0), Qt::LeftButton);
        QTest::mouseClick(d->latestButton(), Qt::LeftButton);
        guitest::pressButton(d, "OK");
    });
}

CPbtView* panelOf(DocumentSession* s) {
    return qobject_cast<CPbtView*>(s->panelFrame()->widget());
}

// Right-clicks grid row r of the data view and chooses the menu item that begins with
// `item`; false when there was no such menu or item.
bool chooseFromContextMenu(DataListView* view, int r, const QString& item) {
    bool chosen = false;
    QTimer::singleShot(200, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                if (a->text().startsWith(item)) {
                    chosen = true;
                    menu->close();
                    a->trigger();
                    return;
                }
            menu->close();
        }
    });
    const QModelIndex index = view->model()->index(r - 1, 0);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &event);
    return chosen;
}

class TaxonMatchingTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        write(path("counts.csv"), kCounts);
        DesktopSettings::storeTranslationTable({});
        DesktopSettings::storeMinScoredShare(70.0);
    }

    void aUserFollowsASuggestionIntoANewTranslationTable() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<guitest::NoLauncher>()}));
        const MainActions& actions = app.mainFrame().actions();
        chooseRivers();
        DocumentSession* session = app.OpenDocumentFile(path("counts.csv").toStdString());
        QVERIFY(session);
        QVERIFY(!actions.viewTaxonMatching->isEnabled()); // nothing to show before Analyse
        QVERIFY(!actions.runDetails->isEnabled());
        QTest::mouseClick(panelOf(session)->button("Analyse"), Qt::LeftButton);
        QVERIFY(session->doc().m_bAnalysed);

        // The data window: hover texts of the highlighted rows.
        session->ShowDataView();
        auto* data = qobject_cast<DataListView*>(session->dataFrame()->widget());
        QVERIFY(data);
        const int first = session->doc().m_nInfoRows + 1; // the grid row of the first taxon
        const auto tip = [&](int r, int c) {
            return data->model()->index(r - 1, c - 1).data(Qt::ToolTipRole).toString();
        };
        QCOMPARE(tip(first, 1), QString()); // scored
        QCOMPARE(tip(first + 1, 2),
                 QString("Not in the master list: it counts in the sample sum only.\nPerhaps:\n"
                         "AC005A Achnanthes coarctata (same code apart from case, spacing or "
                         "punctuation)\nRight-click the row and choose Use suggestion to "
                         "translate the code."));
        QVERIFY(tip(first + 2, 4).contains("CB002A Cymbella cistula (name 1 typing slip away)"));
        QCOMPARE(tip(first + 3, 1), QString("Not in the master list: it counts in the sample sum "
                                            "only.\nNo similar entry in the list."));
        QVERIFY(!data->suggestionMenu(first + 3)); // no suggestion: no menu
        QVERIFY(!data->suggestionMenu(first));

        // Use suggestion: no table chosen yet, so the program asks for one; then it asks
        // whether to analyse again.
        std::vector<std::string> said;
        whenModal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QString("Add to which taxon translation table?"));
            guitest::answerMessage(said, "Yes");
            guitest::typeNameAndAccept(d, path("lab.csv"));
        });
        QVERIFY(chooseFromContextMenu(data, first + 2, "Use suggestion CB002A"));
        QTRY_COMPARE(said.size(), std::size_t(1));
        QCOMPARE(said[0], std::string("The code XX1 now translates to CB002A in lab.csv.\n"
                                      "Analyse again now?"));
        QCOMPARE(read(path("lab.csv")), QByteArray("Your code,List code,Note\r\n"
                                                   "XX1,CB002A,suggested: name 1 typing slip "
                                                   "away\r\n"));
        QCOMPARE(DesktopSettings::translationTable()->string(), path("lab.csv").toStdString());
        const TaxonMatchView view(session->doc());
        QCOMPARE(QString::fromStdString(view.text(2, TaxonColumn::Status)),
                 QString("translated, scored"));
        QCOMPARE(tip(first + 2, 1), QString()); // no longer highlighted

        // A second suggestion goes into the same table without a question about the file.
        said.clear();
        guitest::answerMessage(said, "No");
        QVERIFY(chooseFromContextMenu(data, first + 1, "Use suggestion AC005A"));
        QTRY_COMPARE(said.size(), std::size_t(1));
        QCOMPARE(read(path("lab.csv")),
                 QByteArray("Your code,List code,Note\r\n"
                            "XX1,CB002A,suggested: name 1 typing slip away\r\n"
                            "AC 005-A,AC005A,\"suggested: same code apart from case, spacing or "
                            "punctuation\"\r\n"));
        // Not analysed again: the taxon is still shown as it was.
        QCOMPARE(
            QString::fromStdString(TaxonMatchView(session->doc()).text(1, TaxonColumn::Status)),
            QString("not in the list"));
    }

    void theMatchingWindowAndItsSmallestScoredShare() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<guitest::NoLauncher>()}));
        chooseRivers();
        DocumentSession* session = app.OpenDocumentFile(path("counts.csv").toStdString());
        QVERIFY(session);
        QTest::mouseClick(panelOf(session)->button("Analyse"), Qt::LeftButton);
        const MainActions& actions = app.mainFrame().actions();
        QVERIFY(actions.viewTaxonMatching->isEnabled());
        actions.viewTaxonMatching->trigger();
        QVERIFY(session->matchingFrame());
        QCOMPARE(session->matchingFrame()->windowTitle(), "Taxon matching: " + session->caption());
        auto* view = qobject_cast<MatchingView*>(session->matchingFrame()->widget());
        QVERIFY(view);
        const QAbstractItemModel& m = *view->grid()->model();
        QCOMPARE(m.rowCount(), 4);
        QCOMPARE(m.headerData(2, Qt::Horizontal).toString(), QString("Status"));
        QCOMPARE(m.headerData(5, Qt::Horizontal).toString(), QString("TDI4"));
        // The remembered table translates XX1 and AC 005-A.
        QCOMPARE(m.index(1, 2).data().toString(), QString("translated, scored"));
        QCOMPARE(m.index(2, 2).data().toString(), QString("translated, scored"));
        QCOMPARE(m.index(3, 2).data().toString(), QString("not in the list"));
        QCOMPARE(m.index(0, 5).data().toString(), QString("3.60"));

        // S1: all of its 100 counts scored; S2: 98 of 100 (ZZ9 is not in the list). The
        // threshold of 70% leaves both above it until the user asks for 99%.
        session->ShowResultsView();
        auto* results = qobject_cast<CChildResFrame*>(session->resultsFrame()->widget());
        QVERIFY(results);
        const int metric = cells::resultsGridColumn(session->doc(), ResultColumn::Metric);
        const auto metricTip = [&](int s) {
            return results->grid(0)->model()->index(s, metric - 1).data(Qt::ToolTipRole).toString();
        };
        QCOMPARE(metricTip(0),
                 QString("Scored share: 100.0% of the sample's count (100.00 of 100.00)."));
        QCOMPARE(metricTip(1),
                 QString("Scored share: 98.0% of the sample's count (98.00 of 100.00)."));
        QVERIFY(
            view->countsLabel()->text().endsWith("0 of 2 samples below the smallest scored share"));
        QDoubleSpinBox* share = view->shareBox();
        QCOMPARE(share->value(), 70.0);
        share->selectAll();
        QTest::keyClicks(share, "99");
        QCOMPARE(session->doc().m_minScoredShare, 99.0);
        QCOMPARE(DesktopSettings::minScoredShare(), 99.0);
        QVERIFY(metricTip(1).endsWith("Below the smallest scored share of 99%: the metric "
                                      "rests on too small a part of the sample; see View > Taxon "
                                      "matching."));
        QVERIFY(!metricTip(0).contains("Below"));
        QVERIFY(
            view->countsLabel()->text().endsWith("1 of 2 samples below the smallest scored share"));

        // A workbook opened later starts with the remembered share.
        chooseRivers();
        DocumentSession* second = app.OpenDocumentFile(path("counts.csv").toStdString());
        QVERIFY(second);
        QCOMPARE(second->doc().m_minScoredShare, 99.0);
        DesktopSettings::storeMinScoredShare(70.0);
    }

    void runDetailsAndTranslationTablesFromTheMenus() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<guitest::NoLauncher>()}));
        const MainActions& actions = app.mainFrame().actions();
        // A table whose list code is not in the list is refused, and the one in use stays.
        write(path("bad.csv"), "Your code,List code\nQQ1,AC004A\nQQ2,NOSUCH\n");
        // With a table in use the program first asks whether to choose another one.
        std::vector<std::string> said;
        guitest::answerMessage(said, "Yes");
        whenModal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QString("Taxon translations"));
            guitest::answerMessage(said);
            guitest::typeNameAndAccept(d, path("bad.csv"));
        });
        actions.taxonTranslations->trigger();
        QTRY_COMPARE(said.size(), std::size_t(2));
        QCOMPARE(said[0], std::string("The taxon translation table lab.csv is in use.\nYes "
                                      "chooses another table; No stops using it."));
        QCOMPARE(said[1], std::string("The taxon translation table bad.csv cannot be used.\n"
                                      "Row 3: the list code NOSUCH is not in the master taxon "
                                      "list."));
        QCOMPARE(DesktopSettings::translationTable()->string(), path("lab.csv").toStdString());

        chooseRivers();
        DocumentSession* session = app.OpenDocumentFile(path("counts.csv").toStdString());
        QVERIFY(session);
        QTest::mouseClick(panelOf(session)->button("Analyse"), Qt::LeftButton);
        QVERIFY(actions.runDetails->isEnabled());
        QStringList rows;
        whenModal([&](QWidget* w) {
            auto* d = qobject_cast<RunDetailsDialog*>(w);
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QString("Run details"));
            for (int r = 0; r < d->table()->rowCount(); ++r)
                rows << d->table()->item(r, 0)->text() + "=" + d->table()->item(r, 1)->text();
            guitest::pressButton(d, "OK");
        });
        actions.runDetails->trigger();
        QVERIFY(rows.contains("Input workbook=counts.csv"));
        QVERIFY(rows.contains(QString::fromStdString(
            "Input workbook SHA-256=" + *fileSha256(path("counts.csv").toStdString()))));
        QVERIFY(rows.contains(QString::fromStdString("Taxon translations SHA-256=" +
                                                     *fileSha256(path("lab.csv").toStdString()))));
        QVERIFY(rows.contains(QString::fromStdString("Reference database SHA-256=" +
                                                     *fileSha256(kProgramDir / "FRUSTA2.sqlite"))));
        QVERIFY(rows.contains("Worksheet=counts"));

        // No stops using the table, here and at the next start.
        said.clear();
        guitest::answerMessage(said, "No");
        actions.taxonTranslations->trigger();
        QTRY_COMPARE(said.size(), std::size_t(1));
        QVERIFY(!app.core().translations);
        QVERIFY(!DesktopSettings::translationTable());
    }
};

} // namespace

QTEST_MAIN(TaxonMatchingTest)
#include "TaxonMatchingTest.moc"
