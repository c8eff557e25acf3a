#include "app/ShellTexts.h"
#include "gui/app/BackgroundWork.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CSplashWnd.h"
#include "gui/tour/Tour.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

namespace frusta::gui::tour {

namespace {

// The messages of a machine failing under the program: a save on a full disk, a reference
// database locked since start-up, a settings folder that cannot be written.
void tourFailures(TourContext& tour) {
    QtUserPort& port = tour.app.port();
    tour.shotModal("save-failed-message", [&] {
        port.message("can't save '/home/ecologist/surveys/2024/Results.xlsx': the disk is full",
                     Buttons::Ok);
    });
    tour.shotModal("boundary-data-failed-message", [&] {
        port.notify({"Error retrieving boundary data",
                     "The database '/home/ecologist/reference/FRUSTA2.mdb' is locked: another "
                     "program is changing it. Try again when it has finished."});
    });
    tour.shotModal("settings-not-kept-message", [&] {
        port.message(settingsNotKeptMessage("/home/ecologist/.config/FRUSTA2/FRUSTA.conf",
                                            "permission denied"),
                     Buttons::Ok);
    });
}

} // namespace

void tourShell(TourContext& tour) {
    tour.shotMain("main-window");
    // The splash window deletes itself when it closes.
    auto* splash = new CSplashWnd(nullptr, 60000);
    splash->showOver();
    tour.shot(splash, "splash");
    splash->close();
    tour.shotModal("about-box", [&] { tour.app.mainFrame().actions().about->trigger(); });
    tourFailures(tour);

    // A damaged workbook: a compound file whose header is broken.
    QTemporaryDir folder;
    const QString damaged = folder.filePath("Survey 2023.xls");
    QFile file(damaged);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(1016, '\x07'));
        file.close();
    }
    tour.shotModal("damaged-workbook-message",
                   [&] { tour.app.OpenDocumentFile(damaged.toStdString()); });

    // Long work: its progress window, and Cancel.
    tour.app.port().setProgressWindowDelay(0);
    tour.shotModal("progress-window", [&] {
        tour.app.port().runCancellable("Reading Survey 2023.xlsx", [](LoadProgress& progress) {
            for (int i = 0; i < 1000 && !progress.cancelled(); ++i) {
                progress.report(i < 420 ? i : 420, 1000);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    });
    tour.app.port().setProgressWindowDelay(BackgroundWork::kWindowDelayMs);
}

} // namespace frusta::gui::tour
