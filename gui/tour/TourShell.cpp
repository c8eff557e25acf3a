#include "app/ShellTexts.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CSplashWnd.h"
#include "gui/tour/Tour.h"

#include <QAction>

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
    port.setReadErrorDetail([] {
        return std::string("The database '/home/ecologist/reference/FRUSTA2.mdb' is locked: "
                           "another program is changing it. Try again when it has finished.");
    });
    tour.shotModal("boundary-data-failed-message",
                   [&] { port.message("Error retrieving boundary data", Buttons::Ok); });
    port.setReadErrorDetail({});
    tour.shotModal("settings-not-kept-message", [&] {
        port.message(settingsNotKeptMessage("/home/ecologist/.config/FRUSTA2/FRUSTA.conf",
                                            "permission denied"),
                     Buttons::Ok);
    });
}

} // namespace

void tourShell(TourContext& tour) {
    tour.shotMain("main-window");
    CSplashWnd splash(nullptr, 60000);
    splash.showOver();
    tour.shot(&splash, "splash");
    splash.close();
    tour.shotModal("about-box", [&] { tour.app.mainFrame().actions().about->trigger(); });
    tourFailures(tour);
}

} // namespace frusta::gui::tour
