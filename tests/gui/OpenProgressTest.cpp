// Reading a large workbook as a user lives it: the wait cursor, the progress in the status
// bar and, after the delay, in a window whose Cancel stops the reading; the windows go on
// painting, clicks elsewhere do nothing meanwhile; a stopped opening leaves no document and
// no message, an opening to the end reaches the worksheet dialog.
#include "app/ShellTexts.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/app/ViewerLauncher.h"
#include "gui/doc/DocumentSession.h"
#include "gui/doc/WorksheetSelectDialog.h"
#include "support/GuiTestSupport.h"
#include "workbook/Book.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <thread>

using namespace frusta;
using namespace frusta::gui;
using frusta::guitest::kProgramDir;
using frusta::guitest::NoLauncher;
using frusta::guitest::pressButton;

namespace {

// A widget that counts its paints.
struct PaintCounter : QWidget {
    int paints = 0;
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// A rivers workbook of `samples` x `taxa` counts, information rows 1 to 6.
std::string writeWorkbook(const QTemporaryDir& dir, int samples, int taxa) {
    const std::string path = dir.filePath("survey.xlsx").toStdString();
    auto book = Book::createXml();
    Sheet* s = book->addSheet("Counts");
    const char* labels[] = {"Sample", "Site code", "Date", "Alkalinity (mg/l)", "Calcium", "DOC"};
    for (int r = 0; r < 6; ++r)
        s->writeStr(r, 0, labels[r]);
    for (int i = 0; i < samples; ++i) {
        s->writeStr(0, 2 + i, "S" + std::to_string(i + 1));
        s->writeStr(1, 2 + i, "SITE" + std::to_string(i / 3 + 1));
        s->writeNum(2, 2 + i, 40000 + i % 300);
        s->writeNum(3, 2 + i, 50);
    }
    for (int t = 0; t < taxa; ++t) {
        s->writeStr(6 + t, 0, "TX" + std::to_string(1000 + t));
        s->writeStr(6 + t, 1, "Taxon " + std::to_string(t));
        for (int i = 0; i < samples; ++i)
            s->writeNum(6 + t, 2 + i, (i + t) % 7);
    }
    if (!book->save(path))
        throw std::runtime_error(book->errorMessage());
    return path;
}

// Calls `act` every 10 ms until the test ends it, on the user-interface thread.
struct Watcher {
    QTimer timer;
    explicit Watcher(std::function<void()> act) {
        QObject::connect(&timer, &QTimer::timeout, std::move(act));
        timer.start(10);
    }
};

} // namespace

class OpenProgressTest : public QObject {
    Q_OBJECT

private slots:
    void longWorkShowsItsProgressAndStopsOnCancel() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        app.mainFrame().show();
        app.port().setProgressWindowDelay(300);
        PaintCounter painted;
        painted.show();
        QTimer repaint;
        QObject::connect(&repaint, &QTimer::timeout, &painted, [&] { painted.update(); });
        repaint.start(20);
        QPushButton elsewhere("Elsewhere");
        int clicks = 0;
        QObject::connect(&elsewhere, &QPushButton::clicked, [&] { ++clicks; });
        elsewhere.show();

        QElapsedTimer clock;
        Qt::CursorShape before = Qt::ArrowCursor, during = Qt::ArrowCursor;
        QString statusText, label;
        int windowAfterMs = -1, paintsBefore = 0;
        bool windowEarly = false;
        Watcher watch([&] {
            auto* window = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (!window || !window->isVisible()) {
                if (clock.elapsed() > 100 && statusText.isEmpty() &&
                    QApplication::overrideCursor()) {
                    before = QApplication::overrideCursor()->shape();
                    statusText = app.mainFrame().statusBar()->currentMessage();
                    paintsBefore = painted.paints;
                    QTest::mouseClick(&elsewhere, Qt::LeftButton);
                }
                return;
            }
            if (windowAfterMs >= 0)
                return;
            windowAfterMs = static_cast<int>(clock.elapsed());
            windowEarly = statusText.isEmpty();
            during = QApplication::overrideCursor()->shape();
            label = window->labelText();
            QTest::mouseClick(&elsewhere, Qt::LeftButton);
            QTimer::singleShot(200, window, [window] { pressButton(window, "Cancel"); });
        });
        clock.start();
        bool stopped = false;
        const bool finished =
            app.port().runCancellable("Reading big.xlsx", [&](LoadProgress& progress) {
                // Work that goes on until it is cancelled (at most ten seconds).
                for (int i = 0; i < 1000 && !progress.cancelled(); ++i) {
                    progress.report(i, 2000);
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                stopped = progress.cancelled();
            });
        QVERIFY(!finished);
        QVERIFY(stopped);
        // The window waits for its delay (a coarse timer may fire a few percent early).
        QVERIFY(!windowEarly);
        QCOMPARE(before, Qt::WaitCursor);
        QVERIFY2(statusText.startsWith("Reading big.xlsx... ") && statusText.endsWith("%"),
                 qPrintable(statusText));
        QVERIFY2(windowAfterMs >= 270 && windowAfterMs < 2000,
                 qPrintable(QString::number(windowAfterMs)));
        QCOMPARE(during, Qt::BusyCursor);
        QCOMPARE(label, "Reading big.xlsx...");
        // The windows painted all along; the clicks elsewhere did nothing.
        QVERIFY(paintsBefore >= 2);
        QVERIFY(painted.paints >= paintsBefore + 5);
        QCOMPARE(clicks, 0);
        // Everything back as it was.
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(app.mainFrame().statusBar()->currentMessage(), QString::fromUtf8(kIdlePrompt));
        QVERIFY(app.port().lastWorkCancelled());
        QTest::mouseClick(&elsewhere, Qt::LeftButton);
        QCOMPARE(clicks, 1);
    }

    void aFailureOfTheWorkReachesTheCaller() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        bool thrown = false;
        try {
            app.port().runCancellable(
                "Reading", [](LoadProgress&) { throw std::runtime_error("not enough memory"); });
        } catch (const std::runtime_error& e) {
            thrown = std::string(e.what()) == "not enough memory";
        }
        QVERIFY(thrown);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void openingALargeWorkbookCanBeStoppedOrReachesTheWorksheetDialog() {
        QTemporaryDir dir;
        const std::string path = writeWorkbook(dir, 1000, 1000);
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        app.mainFrame().show();

        // The progress window shows at once; Cancel stops the reading.
        app.port().setProgressWindowDelay(0);
        QStringList seen;
        Watcher stop([&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || modal->property("seen").toBool())
                return;
            modal->setProperty("seen", true);
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen << "message " + box->text();
                box->accept();
            } else if (auto* progress = qobject_cast<QProgressDialog*>(modal)) {
                seen << progress->labelText();
                pressButton(progress, "Cancel");
            } else if (auto* d = qobject_cast<QDialog*>(modal)) {
                seen << d->windowTitle();
                d->reject();
            }
        });
        QCOMPARE(app.OpenDocumentFile(path), nullptr);
        QCOMPARE(seen, QStringList{"Reading survey.xlsx..."});
        QVERIFY(app.sessions().empty());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        stop.timer.stop();

        // Read to the end: the worksheet dialog, then the counts, then the command panel.
        app.port().setProgressWindowDelay(10000);
        seen.clear();
        Watcher answer([&] {
            auto* dialog = qobject_cast<WorksheetSelectDialog*>(QApplication::activeModalWidget());
            if (dialog && dialog->isVisible() && !dialog->property("seen").toBool()) {
                dialog->setProperty("seen", true);
                seen << dialog->windowTitle();
                pressButton(dialog, "OK");
            }
        });
        DocumentSession* session = app.OpenDocumentFile(path);
        QVERIFY(session);
        QCOMPARE(seen, QStringList{"Select worksheet"});
        QCOMPARE(session->doc().m_nSamples, 1000);
        QCOMPARE(session->doc().m_nTaxa, 1000);
        QCOMPARE((*session->doc().m_pCounts)(999, 999), (999 + 999) % 7);
        QCOMPARE(app.recentFiles().entries().front(), path);
    }
};

QTEST_MAIN(OpenProgressTest)
#include "OpenProgressTest.moc"
