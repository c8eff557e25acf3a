// The reference database failing while the desktop program runs: after start-up, the
// database file is deleted, cut short, replaced, made unreadable or locked, or the child
// process reading the Access file is killed or runs out of time. File Open then shows the messages
// of a failed load with the reason in the second box, opens no window, keeps the master taxon list;
// once the file is back the workbook opens.
#include "faults/DatabaseTroubles.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/doc/DocumentSession.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QMdiArea>
#include <QMessageBox>
#include <QtTest>

using namespace frusta;
using namespace frusta::gui;
using namespace frusta::faulttest;

namespace {

using Shown = guitest::ModalAnswers::Shown;

// Opens `workbook` through the worksheet dialog (its proposals); the message boxes shown.
std::vector<Shown> openWorkbook(DesktopApp& app, const fs::path& workbook, bool& opened) {
    guitest::ModalAnswers answers;
    opened = app.OpenDocumentFile(workbook.string()) != nullptr;
    return answers.shown;
}

} // namespace

class DatabaseFaultsTest : public QObject {
    Q_OBJECT

    void failedLoadThenRecovery(const fs::path& original, const Trouble& trouble) {
        Folder dir;
        const fs::path db = dir / ("ref" + original.extension().string());
        fs::copy_file(original, db);
        const fs::path workbook = dir / "small.xlsx";
        writeSmallRiversWorkbook(workbook);
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, db, 0, std::make_shared<guitest::NoLauncher>()}));
        const auto masterList = app.core().taxonTable;
        QVERIFY(masterList && masterList->rowCount > 0);
        const std::string intact = readBytes(db);
        bool opened = true;
        std::vector<Shown> shown;
        {
            auto undo = trouble.cause(db);
            shown = openWorkbook(app, workbook, opened);
        }
        QVERIFY2(!opened, trouble.name.c_str());
        const std::vector<Shown> expected = {{kFailedLoad[0], ""},
                                             {kFailedLoad[1], withPath(trouble.reason, db)}};
        QVERIFY2(
            shown == expected,
            (trouble.name + ": " + (shown.size() > 1 ? shown[1].detail : "messages?")).c_str());
        QVERIFY(app.sessions().empty());
        QCOMPARE(app.mainFrame().mdiArea()->subWindowList().size(), 0);
        QCOMPARE(app.core().taxonTable, masterList);
        // The master taxon list window still lists every taxon of start-up.
        app.mainFrame().actions().viewTaxonList->trigger();
        QCOMPARE(app.mainFrame().mdiArea()->subWindowList().size(), 1);

        fs::remove(db);
        writeBytes(db, intact);
        shown = openWorkbook(app, workbook, opened);
        QVERIFY2(opened, trouble.name.c_str());
        QVERIFY(shown.empty());
        QCOMPARE(app.sessions().size(), std::size_t(1));
    }

private slots:
    void initTestCase() { QSettings("FRUSTA2", "FRUSTA").clear(); }

    void sqliteDatabaseFailingAfterStartup() {
        for (const Trouble& t : sqliteTroubles())
            failedLoadThenRecovery(kProgramDir / "FRUSTA2.sqlite", t);
    }

    void accessReadingKilledOrOutOfTime() {
        for (const Trouble& t : accessTroubles())
            failedLoadThenRecovery(fs::path(FRUSTA_TEST_DATA_DIR) / "refdb/reference.mdb", t);
    }
};

QTEST_MAIN(DatabaseFaultsTest)
#include "DatabaseFaultsTest.moc"
