#include "gui/app/CMainFrame.h"
#include "gui/app/CSplashWnd.h"
#include "gui/tour/Tour.h"

#include <QAction>

namespace frusta::gui::tour {

void tourShell(TourContext& tour) {
    tour.shotMain("main-window");
    CSplashWnd splash(nullptr, 60000);
    splash.showOver();
    tour.shot(&splash, "splash");
    splash.close();
    tour.shotModal("about-box", [&] { tour.app.mainFrame().actions().about->trigger(); });
}

} // namespace frusta::gui::tour
