// frusta2-tour FOLDER: writes pictures of the desktop program's windows into FOLDER.
#include "gui/app/CMainFrame.h"
#include "gui/tour/Tour.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Usage: frusta2-tour FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    frusta::gui::DesktopApp app;
    frusta::gui::DesktopOptions options;
    options.splashMs = 0;
    if (!app.InitInstance(options))
        return 1;
    // The main window keeps its first size, as a new user sees it.
    frusta::gui::tour::TourContext tour(app, folder);
    frusta::gui::tour::tourShell(tour);
    frusta::gui::tour::tourAnalysis(tour);
    frusta::gui::tour::tourGrids(tour);
    frusta::gui::tour::tourCharts(tour);
    std::printf("%d pictures in %s\n", tour.count(), argv[1]);
    return 0;
}
