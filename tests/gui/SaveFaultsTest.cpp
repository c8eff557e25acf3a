// Saving results in the desktop program while the disk fails: the user presses Save, names the
// file in the results file dialog, and an operation of the save fails. The message box gives
// the reason, the previous file is unchanged, the results stay unsaved (closing still asks
// "Save Results?", and a failed save there keeps the window open) and the next save works.
// Also: the folder removed after the dialog closed, and a read-only folder.
#include "faults/FaultTestSupport.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/doc/CPbtView.h"
#include "gui/doc/DocumentSession.h"
#include "support/GuiTestSupport.h"
#include "support/PermissionsEnforced.h"
#include "workbook/AtomicFile.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <set>

using namespace frusta;
using namespace frusta::gui;
using namespace frusta::faulttest;
using frusta::guitest::kExample;
using frusta::guitest::whenModal;

namespace {

CPbtView* panelOf(DocumentSession* s) {
    return qobject_cast<CPbtView*>(s->panelFrame()->widget());
}

// The example's rivers worksheet opened with the dialog's proposals and analysed.
CPbtView* openAndAnalyse(DesktopApp& app) {
    whenModal([](QWidget* w) { guitest::pressButton(w, "OK"); });
    DocumentSession* session = app.OpenDocumentFile(kExample);
    if (!session)
        return nullptr;
    QTest::mouseClick(panelOf(session)->button("Analyse"), Qt::LeftButton);
    return panelOf(session);
}

// Answers the results file dialog with `path`; `beforeWriting` runs when it has closed.
void nameResultsFile(const fs::path& path, std::function<void()> beforeWriting = {}) {
    whenModal([path, beforeWriting](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        QVERIFY(d);
        if (beforeWriting)
            QObject::connect(d, &QDialog::accepted, beforeWriting);
        guitest::typeNameAndAccept(d, QString::fromStdString(path.string()));
    });
}

// While it lives, every message box is answered Yes (replacing a file, "Save Results?") or
// OK, and its text recorded.
class MessageBoxes : public guitest::ModalAnswers {
public:
    MessageBoxes() : ModalAnswers({"Yes", "OK"}) {}
    // The last message, other than Qt's question before replacing a file; "" when none.
    std::string last() const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->text.find("already exists") == std::string::npos)
                return it->text;
        return {};
    }
};

} // namespace

class SaveFaultsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DesktopApp> app_;
    CPbtView* panel_ = nullptr;

    CPbtDoc& doc() { return app_->activeSession()->doc(); }

    // Presses Save and names `path`; the message shown, "" when none.
    std::string save(const fs::path& path, std::function<void()> beforeWriting = {}) {
        MessageBoxes boxes;
        nameResultsFile(path, std::move(beforeWriting));
        QTest::mouseClick(panel_->button("Save"), Qt::LeftButton);
        return boxes.last();
    }

private slots:
    void initTestCase() {
        QSettings("FRUSTA2", "FRUSTA").clear();
        app_ = std::make_unique<DesktopApp>();
        QVERIFY(app_->InitInstance({kProgramDir, {}, 0, std::make_shared<guitest::NoLauncher>()}));
        panel_ = openAndAnalyse(*app_);
        QVERIFY(panel_);
        QVERIFY(doc().IsModified());
    }

    void cleanupTestCase() {
        doc().SetModifiedFlag(false);
        app_.reset();
    }

    // The first operation of each kind on the results file and on libxlsxwriter's temporary
    // files, with each errno (the fault tests of the core fail every operation).
    void eachFailedOperationIsReportedAndLeavesTheResultsUnsaved() {
        long injected = 0;
        for (const char* name : {"Results.xls", "Results.xlsx"}) {
            Folder dir;
            const fs::path target = dir / name;
            writeBytes(target, "previous results");
            Watch watch({dir.path()});
            frusta_fault_arm(0, 0);
            QCOMPARE(save(target), std::string());
            const long operations = frusta_fault_count();
            std::vector<std::string> ops;
            for (long k = 1; k <= operations; ++k)
                ops.push_back(frusta_fault_describe(k));
            std::set<std::string> tried;
            for (long k = 1; k <= operations; ++k) {
                const std::string& op = ops[k - 1];
                const std::string kind = op.substr(0, op.find(' '));
                const bool scratch = op.find(watch.scratch().path().string()) != std::string::npos;
                if (!tried.insert(kind + (scratch ? " scratch" : " results")).second)
                    continue; // each kind of operation once on each kind of file
                if (scratch && (kind == "create" || kind == "close"))
                    continue; // libxlsxwriter makes its files elsewhere, or has read them
                for (const int err : {ENOSPC, EIO, EACCES}) {
                    writeBytes(target, "previous results");
                    doc().SetModifiedFlag(true);
                    frusta_fault_arm(k, err);
                    const std::string message = save(target);
                    const bool fired = frusta_fault_fired();
                    frusta_fault_arm(0, 0);
                    ++injected;
                    const std::string where = op + " with " + std::strerror(err);
                    QVERIFY2(fired, where.c_str());
                    const std::string prefix = "can't save '" + target.string() + "': ";
                    QVERIFY2(message.starts_with(prefix), (where + ": " + message).c_str());
                    if (!scratch)
                        QCOMPARE(message, prefix + describeErrno(err));
                    QVERIFY2(doc().IsModified(), where.c_str());
                    QVERIFY2(app_->mainFrame().actions().saveResults->isEnabled(), where.c_str());
                    QCOMPARE(dir.contents(),
                             (std::map<std::string, std::string>{{name, "previous results"}}));
                    if (scratch)
                        break; // the library drops the errno: one is enough
                }
            }
            QCOMPARE(save(target), std::string());
            QVERIFY(!doc().IsModified());
        }
        std::cout << "[ faults   ] desktop program: " << injected
                  << " save failures injected and reported, the results kept unsaved\n";
    }

    // A failed save behind "Save Results?" keeps the document open; the next Yes saves and
    // closes it.
    void failedSaveAtClosingKeepsTheWindow() {
        Folder dir;
        const fs::path target = dir / "Results.xls";
        Watch watch({dir.path()});
        doc().SetModifiedFlag(true);
        MessageBoxes boxes;
        nameResultsFile(target);
        frusta_fault_arm_kind("rename", ENOSPC);
        QTest::mouseClick(panel_->button("Close"), Qt::LeftButton);
        QCOMPARE(boxes.texts(),
                 (std::vector<std::string>{"Save Results?", "can't save '" + target.string() +
                                                                "': the disk is full"}));
        QCOMPARE(app_->sessions().size(), std::size_t(1));
        QVERIFY(doc().IsModified());
        QVERIFY(dir.contents().empty());
        frusta_fault_arm(0, 0);
    }

    void folderRemovedAfterTheDialogClosed() {
        Folder dir;
        fs::create_directory(dir / "survey");
        const fs::path target = dir / "survey" / "Results.xlsx";
        doc().SetModifiedFlag(true);
        const std::string message = save(target, [&] { fs::remove_all(dir / "survey"); });
        QCOMPARE(message, "can't save '" + target.string() + "': the folder does not exist");
        QVERIFY(doc().IsModified());
        QVERIFY(dir.contents().empty());
    }

    void readOnlyFolder() {
        Folder dir;
        writeBytes(dir / "Results.xls", "previous results");
        fs::permissions(dir.path(),
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        doc().SetModifiedFlag(true);
        std::string message;
        {
            test::PermissionsEnforced enforced;
            message = save(dir / "Results.xls");
        }
        fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
        QCOMPARE(message, "can't save '" + (dir / "Results.xls").string() + "': permission denied");
        QVERIFY(doc().IsModified());
        QCOMPARE(dir.contents(),
                 (std::map<std::string, std::string>{{"Results.xls", "previous results"}}));
    }
};

QTEST_MAIN(SaveFaultsTest)
#include "SaveFaultsTest.moc"
