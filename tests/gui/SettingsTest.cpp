// Starting with whatever an earlier run or a broken disk left in the settings file: empty,
// cut short, not text at all, recent files and a database choice that no longer lead to a
// workbook or a database. The program starts with what is valid, drops the rest and says
// nothing. A settings folder that cannot be written: the program runs and says once that the
// settings will not be kept.
#include "app/ShellTexts.h"
#include "faults/FaultTestSupport.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/app/DesktopSettings.h"
#include "gui/doc/DocumentSession.h"
#include "support/GuiTestSupport.h"
#include "support/PermissionsEnforced.h"

#include <QAction>
#include <QMessageBox>
#include <QSettings>
#include <QtTest>

#include <random>

using namespace frusta;
using namespace frusta::gui;
using namespace frusta::faulttest;

namespace {

// Settings kept in `folder` while the object lives.
class SettingsIn {
public:
    explicit SettingsIn(const fs::path& folder) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(folder.string()));
    }
    ~SettingsIn() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           qEnvironmentVariable("XDG_CONFIG_HOME"));
    }
    SettingsIn(const SettingsIn&) = delete;
    SettingsIn& operator=(const SettingsIn&) = delete;
};

// Starts the program; the texts of the message boxes it showed.
std::vector<std::string> start(DesktopApp& app) {
    guitest::ModalAnswers answers;
    const bool started =
        app.InitInstance({kProgramDir, {}, 0, std::make_shared<guitest::NoLauncher>()});
    std::vector<std::string> shown = answers.texts();
    if (!started)
        shown.push_back("(start-up failed)");
    return shown;
}

std::string notText() {
    std::mt19937 random(26);
    std::string bytes(700, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void damagedOrStaleSettingsStartWithWhatIsValid() {
        Folder files;
        const std::string workbook = (files / "survey.xls").string();
        fs::copy_file(kProgramDir / "TestData/FRUSTA2TestData.xls", workbook);
        const std::string gone = (files / "gone.xls").string();
        const std::string text = (files / "notes.xls").string();
        writeBytes(text, "a text file under a workbook's name\n");
        const std::string counts = (files / "counts.csv").string();
        writeBytes(counts, "Sample;S1\nSite;A\n");
        const std::string folder = (files / "a folder.xlsx").string();
        fs::create_directory(folder);
        const std::string otherDatabase = (files / "other.sqlite").string();
        fs::copy_file(kProgramDir / "FRUSTA2.sqlite", otherDatabase);

        struct Case {
            const char* name;
            std::string bytes;
            std::vector<std::string> recent; // kept at start-up
            bool otherDatabaseUsed;
        };
        const std::string section = "[Recent%20File%20List]\n";
        const std::vector<Case> cases = {
            {"empty", "", {}, false},
            {"cut short",
             section + "File1=" + workbook + "\nFile2=" + gone.substr(0, 9),
             {workbook},
             false},
            {"not text", notText(), {}, false},
            // What follows the damage can be read.
            {"not text, then entries",
             notText() + "\n" + section + "File1=" + workbook + "\n",
             {workbook},
             false},
            {"stale entries",
             section + "File1=" + gone + "\nFile2=" + text + "\nFile3=" + workbook +
                 "\nFile4=" + folder +
                 "\n\n[Settings]\nReferenceDatabase=" + (files / "gone.mdb").string() + "\n",
             {workbook},
             false},
            {"database choice that is a workbook",
             "[Settings]\nReferenceDatabase=" + workbook + "\n",
             {},
             false},
            {"valid",
             section + "File1=" + workbook + "\nFile2=" + counts +
                 "\n\n[Settings]\nReferenceDatabase=" + otherDatabase + "\n",
             {workbook, counts},
             true},
        };
        int bundledRows = 0;
        for (const Case& c : cases) {
            Folder config;
            fs::create_directories(config / "FRUSTA2");
            writeBytes(config / "FRUSTA2/FRUSTA.conf", c.bytes);
            SettingsIn in(config.path());
            DesktopApp app;
            QCOMPARE(start(app), std::vector<std::string>{});
            QVERIFY2(app.recentFiles().entries() == c.recent, c.name);
            const MainActions& a = app.mainFrame().actions();
            QCOMPARE(a.recentFiles[0]->isVisible(), !c.recent.empty());
            QVERIFY(app.core().taxonTable && app.core().taxonTable->rowCount > 0);
            QCOMPARE(app.core().databasePath.string(),
                     c.otherDatabaseUsed ? otherDatabase
                                         : (kProgramDir / "FRUSTA2.sqlite").string());
            if (!bundledRows)
                bundledRows = app.core().taxonTable->rowCount;
            QCOMPARE(app.core().taxonTable->rowCount, bundledRows);
            // What was dropped is gone from the file too.
            QVERIFY2(DesktopSettings::recentFiles() == c.recent, c.name);
            QCOMPARE(QSettings("FRUSTA2", "FRUSTA").contains("Settings/ReferenceDatabase"),
                     c.otherDatabaseUsed);
        }
    }

    void unwritableSettingsAreReportedOnceAndTheProgramRuns() {
        Folder home;
        fs::permissions(home.path(),
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        SettingsIn in(home / "config");
        test::PermissionsEnforced enforced;
        DesktopApp app;
        const std::string file = (home / "config/FRUSTA2/FRUSTA.conf").string();
        QCOMPARE(start(app),
                 std::vector<std::string>{settingsNotKeptMessage(file, "permission denied")});
        QCOMPARE(settingsNotKeptMessage(file, "permission denied"),
                 "FRUSTA 2 cannot save its settings in\n" + file +
                     "\n(permission denied).\nThe list of recent files and the choice of "
                     "reference database will not be kept when the program closes.");
        // The program runs: a workbook opens and joins the recent files of this run, with
        // nothing more said.
        std::vector<std::string> shown;
        guitest::whenModal([](QWidget* w) { guitest::pressButton(w, "OK"); });
        QVERIFY(app.OpenDocumentFile((kProgramDir / "TestData/FRUSTA2TestData.xls").string()));
        QCOMPARE(app.recentFiles().entries().size(), std::size_t(1));
        QVERIFY(!fs::exists(home / "config"));
        app.sessions().front()->doc().SetModifiedFlag(false);
    }
};

QTEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
