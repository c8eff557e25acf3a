// frusta2-tour FOLDER [--example-only]: writes pictures of the desktop program's windows into
// FOLDER. --example-only leaves out the charts of 2,000 samples, which take most of the time;
// the user guide's build takes its pictures that way.
#include "gui/app/CMainFrame.h"
#include "gui/tour/Tour.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    bool exampleOnly = false;
    std::vector<const char*> folders;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--example-only") == 0)
            exampleOnly = true;
        else
            folders.push_back(argv[i]);
    }
    if (folders.size() != 1) {
        std::fprintf(stderr, "Usage: frusta2-tour FOLDER [--example-only]\n");
        return 2;
    }
    const char* folderArg = folders.front();
    const QString folder = QString::fromLocal8Bit(folderArg);
    QDir().mkpath(folder);
    frusta::gui::DesktopApp app;
    // As the desktop program does, so that every window shows the program's icon.
    QApplication::setWindowIcon(QIcon(":/frusta/icons/frusta2.svg"));
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
    frusta::gui::tour::tourTextFile(tour);
    frusta::gui::tour::tourMatching(tour);
    if (!exampleOnly)
        frusta::gui::tour::tourLargeCharts(tour);
    std::printf("%d pictures in %s\n", tour.count(), folderArg);
    return 0;
}
