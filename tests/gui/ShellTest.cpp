// The desktop shell as a user meets it: menus, toolbar, prompts, start-up messages, the
// splash window, the About box, help and example, recent files and the reference database.
#include "app/ScriptedPort.h"
#include "app/ShellTexts.h"
#include "doc/WorksheetProposal.h"
#include "gui/app/CAboutDlg.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CSplashWnd.h"
#include "gui/app/DesktopApp.h"
#include "gui/common/ViewCommands.h"
#include "gui/doc/DocumentSession.h"
#include "support/GuiTestSupport.h"
#include "workbook/Book.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <filesystem>
#include <fstream>

using namespace frusta;
using namespace frusta::gui;
using frusta::guitest::answerMessage;
using frusta::guitest::kProgramDir;
using frusta::guitest::whenModal;

namespace {

struct FakeLauncher : ViewerLauncher {
    LaunchResult result;
    std::vector<std::pair<ViewerKind, std::string>> calls;
    LaunchResult open(ViewerKind kind, const std::string& path) override {
        calls.emplace_back(kind, path);
        return result;
    }
};

void clearSettings() {
    QSettings("FRUSTA2", "FRUSTA").clear();
}

// A view that fails while copying, to show that a failing command leaves the program up.
struct FailingView : QWidget, ViewCommands {
    bool canCopy() const override { return true; }
    void copy() override { throw std::runtime_error("copy failed"); }
};

} // namespace

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void init() { clearSettings(); }

    void toolbarHasEightEntriesWithTipsAndPrompts() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<FakeLauncher>()}));
        QCOMPARE(app.mainFrame().windowTitle(), QString("FRUSTA2 - Periphyton Status Assessment"));
        QCOMPARE(app.mainFrame().statusBar()->currentMessage(), QString("For Help, press F1"));
        const MainActions& a = app.mainFrame().actions();
        const QList<QAction*> entries = app.mainFrame().toolBar()->actions();
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries[0], a.fileOpen);
        QCOMPARE(entries[1], a.saveResults);
        QVERIFY(entries[2]->isSeparator());
        QCOMPARE(entries[3], a.copy);
        QVERIFY(entries[4]->isSeparator());
        QCOMPARE(entries[5], a.viewTaxonList);
        QCOMPARE(entries[6], a.openExample);
        QCOMPARE(entries[7], a.help);
        QCOMPARE(a.viewTaxonList->toolTip(), QString("View master taxon list"));
        QCOMPARE(a.viewTaxonList->statusTip(), QString("View mater taxon list"));
        QCOMPARE(a.help->toolTip(), QString("Help"));
        QCOMPARE(a.help->statusTip(), QString("Display help"));
        QCOMPARE(a.openExample->toolTip(), QString("Open Example Dataset in Excel"));
        QCOMPARE(a.openExample->statusTip(), QString("Open Example Dataset in Excel"));
        for (QAction* e : entries)
            QVERIFY(e->isSeparator() || !e->icon().isNull());
        // The prompt shows in the status bar while the pointer is over a command.
        QStatusTipEvent tip(a.help->statusTip());
        QApplication::sendEvent(&app.mainFrame(), &tip);
        QCOMPARE(app.mainFrame().statusBar()->currentMessage(), QString("Display help"));
    }

    void saveResultsIsEnabledOnlyForAnAnalysedActiveDocument() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<FakeLauncher>()}));
        const MainActions& a = app.mainFrame().actions();
        QVERIFY(!a.saveResults->isEnabled());
        QVERIFY(!a.fileClose->isEnabled());

        // The first worksheet of the example, read with its proposed first row.
        frusta::ScriptedPort port;
        const std::string example = (kProgramDir / "TestData/FRUSTA2TestData.xls").string();
        auto book = Book::createBinary();
        QVERIFY(book->load(example));
        port.worksheet->firstRow = proposeFirstRow(*book->getSheet(0), 1);
        auto doc = std::make_unique<CPbtDoc>(app.core(), port);
        CPbtDoc* raw = doc.get();
        QVERIFY(raw->OnOpenDocument(example));
        DocumentSession* session = app.addSession(std::move(doc));
        QVERIFY(session->panelFrame());
        QCOMPARE(app.activeSession(), session);
        QVERIFY(!a.saveResults->isEnabled());
        QVERIFY(a.fileClose->isEnabled());
        QVERIFY(raw->RunAnalysis());
        session->notifyChanged();
        QVERIFY(a.saveResults->isEnabled());
        raw->SetModifiedFlag(false);
    }

    void recentFilesShowFourAndDropOneThatCannotBeOpened() {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 1; i <= 4; ++i) {
            paths << dir.filePath(QString("survey%1.xls").arg(i));
            QVERIFY(QFile::copy(
                QString::fromStdString((kProgramDir / "TestData/FRUSTA2TestData.xls").string()),
                paths.back()));
        }
        {
            QSettings s("FRUSTA2", "FRUSTA");
            s.beginGroup("Recent File List");
            for (int i = 0; i < 4; ++i)
                s.setValue(QString("File%1").arg(i + 1), paths[i]);
        }
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<FakeLauncher>()}));
        const MainActions& a = app.mainFrame().actions();
        QVERIFY(!a.recentPlaceholder->isVisible());
        for (int i = 0; i < 4; ++i) {
            QVERIFY(a.recentFiles[i]->isVisible());
            QVERIFY(a.recentFiles[i]->text().startsWith(QString("&%1 ").arg(i + 1)));
            QVERIFY(a.recentFiles[i]->text().size() <= 3 + 30);
            QVERIFY(a.recentFiles[i]->text().endsWith(QString("survey%1.xls").arg(i + 1)));
        }
        // The second file is gone since start-up: choosing it says so and drops it from the
        // list.
        QVERIFY(QFile::remove(paths[1]));
        std::vector<std::string> shown;
        answerMessage(shown);
        a.recentFiles[1]->trigger();
        QCOMPARE(shown, std::vector<std::string>{"Error reading file"});
        QCOMPARE(app.recentFiles().entries().size(), std::size_t(3));
        QVERIFY(!a.recentFiles[3]->isVisible());
        QVERIFY(a.recentFiles[1]->text().endsWith("survey3.xls"));
        QSettings s("FRUSTA2", "FRUSTA");
        s.beginGroup("Recent File List");
        QCOMPARE(s.value("File2").toString(), paths[2]);
        QVERIFY(!s.contains("File4"));
    }

    void splashClosesByTimerKeyAndMouse() {
        QWidget owner;
        owner.show();
        for (int how = 0; how < 3; ++how) {
            QPointer<CSplashWnd> splash = new CSplashWnd(&owner, how == 0 ? 50 : 60000);
            QSignalSpy closed(splash.data(), &CSplashWnd::closed);
            splash->showOver();
            QVERIFY(!owner.isEnabled());
            QVERIFY(splash->isVisible());
            if (how == 1)
                QTest::keyClick(splash.data(), Qt::Key_Space);
            else if (how == 2)
                QTest::mouseClick(splash.data(), Qt::LeftButton);
            QTRY_COMPARE(closed.count(), 1);
            QVERIFY(owner.isEnabled());
            QTRY_VERIFY(splash.isNull()); // deleted on close
        }
    }

    void startupShowsSplashAndEnablesTheFrameAfterwards() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 80, std::make_shared<FakeLauncher>()}));
        QVERIFY(app.splash());
        QVERIFY(!app.mainFrame().isEnabled());
        QTRY_VERIFY(app.mainFrame().isEnabled());
        QVERIFY(!app.splash());
        QVERIFY(app.core().taxonTable);
        QCOMPARE(app.core().classNames.size(), std::size_t(5));
    }

    void aboutBoxStartsWithTheBuildsVersion() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<FakeLauncher>()}));
        QString text, title;
        whenModal([&](QWidget* w) {
            auto* about = qobject_cast<CAboutDlg*>(w);
            QVERIFY(about);
            title = about->windowTitle();
            text = about->text();
            // The whole text shows at the box's first size: nothing to scroll.
            auto* edit = about->findChild<QPlainTextEdit*>();
            QVERIFY(edit && edit->verticalScrollBar()->maximum() == 0);
            QVERIFY(about->geometry().bottom() > about->okButton()->geometry().bottom());
            QTest::mouseClick(about->okButton(), Qt::LeftButton);
        });
        app.mainFrame().actions().about->trigger();
        QCOMPARE(title, QString("About FRUSTA 2"));
        QCOMPARE(text.section('\n', 0, 0), QString("FRUSTA Version 2.0.1"));
        QVERIFY(text.contains("the FRUSTA 2 developers"));
    }

    // "Error reading file" stays the text; the informative text says in a user's words what
    // to do about a damaged workbook, with the reader's reason under the details, or gives
    // the reason when it says that already; a one-line reason is not wrapped.
    void readFailuresSayWhatToDo() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<FakeLauncher>()}));
        QTemporaryDir dir;
        const QString damaged = dir.filePath("damaged.xls");
        QFile::copy(QString(FRUSTA_TEST_DATA_DIR) +
                        "/workbook/corpus/"
                        "clusterfuzz-testcase-minimized-POIHSSFFuzzer-6137883240824832.xls",
                    damaged);
        const QString missing = dir.filePath("missing-survey-of-the-northern-rivers.xlsx");
        struct Case {
            QString file, informative, details;
        };
        const Case cases[] = {
            {damaged, QString::fromUtf8(kDamagedWorkbookAdvice),
             "the file is damaged: its compound-file header is invalid"},
            {missing, "can't open file '" + missing + "': the file does not exist", QString()},
        };
        for (const Case& c : cases) {
            QString text, informative, details;
            int informativeLines = 0;
            whenModal([&](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                QVERIFY(box);
                text = box->text();
                informative = box->informativeText();
                details = box->detailedText();
                auto* label = box->findChild<QLabel*>("qt_msgbox_informativelabel");
                QVERIFY(label);
                // Lines the text takes at the label's width: a long path may need two, no
                // text is wrapped word by word.
                const int text = label->fontMetrics().horizontalAdvance(label->text());
                informativeLines = (text + label->width() - 1) / label->width();
                box->accept();
            });
            QCOMPARE(app.OpenDocumentFile(c.file.toStdString()), nullptr);
            QCOMPARE(text, "Error reading file");
            QCOMPARE(informative, c.informative);
            QCOMPARE(details, c.details);
            QVERIFY2(informativeLines >= 1 && informativeLines <= (c.details.isEmpty() ? 2 : 1),
                     qPrintable(QString("%1 lines").arg(informativeLines)));
        }
    }

    void startupWithADamagedOrMissingDatabaseReportsAndRunsOn() {
        QTemporaryDir damaged;
        std::ofstream(damaged.filePath("FRUSTA2.mdb").toStdString()) << "not an Access database";
        QTemporaryDir empty; // neither FRUSTA2.mdb nor the bundled FRUSTA2.sqlite
        for (const QTemporaryDir* dir : {&damaged, &empty}) {
            std::vector<std::string> shown;
            answerMessage(shown);
            answerMessage(shown);
            DesktopApp app;
            QVERIFY(app.InitInstance(
                {dir->path().toStdString(), {}, 0, std::make_shared<FakeLauncher>()}));
            QCOMPARE(shown.size(), std::size_t(2));
            QVERIFY2(shown[0].rfind("Connection String = ", 0) == 0, shown[0].c_str());
            QCOMPARE(shown[1], std::string("Error opening database"));
            QVERIFY(app.mainFrame().isVisible());
            QVERIFY(!app.core().taxonTable);
            QVERIFY(app.core().classNames.empty());
            // The program goes on: the master list window opens, empty.
            app.mainFrame().actions().viewTaxonList->trigger();
            QCOMPARE(app.mainFrame().mdiArea()->subWindowList().size(), 1);
        }
    }

    void helpAndExampleStartTheDesktopsViewers() {
        auto launcher = std::make_shared<FakeLauncher>();
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, launcher}));
        const MainActions& a = app.mainFrame().actions();
        a.help->trigger();
        a.openExample->trigger();
        QCOMPARE(launcher->calls.size(), std::size_t(2));
        QCOMPARE(launcher->calls[0].first, ViewerKind::Pdf);
        QCOMPARE(launcher->calls[0].second, (kProgramDir / "FRUSTA2.pdf").string());
        QCOMPARE(launcher->calls[1].first, ViewerKind::Spreadsheet);
        QCOMPARE(launcher->calls[1].second,
                 (kProgramDir / "TestData/FRUSTA2TestData.xls").string());
        QVERIFY(std::filesystem::exists(kProgramDir / "FRUSTA2.pdf"));

        std::vector<std::string> shown;
        launcher->result = {LaunchResult::NoViewer, {}};
        answerMessage(shown);
        a.help->trigger();
        answerMessage(shown);
        a.openExample->trigger();
        launcher->result = {LaunchResult::Failed, "No such file or directory"};
        QString buttons;
        whenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            shown.push_back(box->text().toStdString());
            buttons = QString::number(int(box->standardButtons()));
            box->button(QMessageBox::Cancel)->click();
        });
        a.help->trigger();
        QCOMPARE(shown,
                 (std::vector<std::string>{"FRUSTA 2 needs a PDF viewer to open the help "
                                           "file.\nPlease install one and try again",
                                           kNoSpreadsheetMessage,
                                           "Error Running Program\nNo such file or directory"}));
        QCOMPARE(buttons, QString::number(int(QMessageBox::Ok | QMessageBox::Cancel)));
    }

    void referenceDatabaseSettingComesFirstAndReloadsTheList() {
        // A second database: the bundled one with a shorter master list.
        QTemporaryDir dir;
        const std::string other = dir.filePath("other.sqlite").toStdString();
        std::filesystem::copy_file(kProgramDir / "FRUSTA2.sqlite", other);
        {
            frusta::ScriptedPort port;
            CPbtApp probe;
            probe.InitInstance(port, {kProgramDir, {}});
            QVERIFY(probe.taxonTable && probe.taxonTable->rowCount > 1);
        }
        const std::string sql =
            "sqlite3 '" + other + "' \"DELETE FROM NBSMasterTaxonList_PhaseII WHERE rowid > 1\"";
        QCOMPARE(std::system(sql.c_str()), 0);

        DesktopApp first;
        QVERIFY(first.InitInstance({kProgramDir, {}, 0, std::make_shared<FakeLauncher>()}));
        const int bundledRows = first.core().taxonTable->rowCount;
        QVERIFY(first.UseReferenceDatabase(other));
        QCOMPARE(first.core().taxonTable->rowCount, 1);
        QCOMPARE(QString::fromStdString(DesktopApp::savedDatabase()->string()),
                 QString::fromStdString(other));

        // The next start uses the remembered database before the program folder's.
        DesktopApp second;
        QVERIFY(second.InitInstance({kProgramDir, {}, 0, std::make_shared<FakeLauncher>()}));
        QCOMPARE(second.core().taxonTable->rowCount, 1);
        // --database comes before the settings.
        DesktopApp third;
        QVERIFY(third.InitInstance(
            {kProgramDir, kProgramDir / "FRUSTA2.sqlite", 0, std::make_shared<FakeLauncher>()}));
        QCOMPARE(third.core().taxonTable->rowCount, bundledRows);

        // A database that cannot be opened keeps the list in use and the setting.
        std::vector<std::string> shown;
        answerMessage(shown);
        answerMessage(shown);
        QVERIFY(!third.UseReferenceDatabase(dir.filePath("missing.mdb").toStdString()));
        QCOMPARE(shown.size(), std::size_t(2));
        QCOMPARE(shown[1], std::string("Error opening database"));
        QCOMPARE(third.core().taxonTable->rowCount, bundledRows);
        QCOMPARE(QString::fromStdString(DesktopApp::savedDatabase()->string()),
                 QString::fromStdString(other));
    }

    void aFailingCommandIsReportedAndTheProgramGoesOn() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<FakeLauncher>()}));
        auto* frame = app.mainFrame().mdiArea()->addSubWindow(new FailingView);
        frame->show();
        app.mainFrame().mdiArea()->setActiveSubWindow(frame);
        QVERIFY(app.mainFrame().actions().copy->isEnabled());
        std::vector<std::string> shown;
        answerMessage(shown);
        app.mainFrame().actions().copy->trigger();
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0],
                 std::string(
                     "The command could not be completed and nothing was changed.\ncopy failed"));
        QVERIFY(app.mainFrame().isVisible());
    }
};

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
