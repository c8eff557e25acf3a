// frusta2: the desktop program.
#include "gui/app/DesktopApp.h"

#include <QApplication>
#include <QCommandLineParser>

#include "app/ShellTexts.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("FRUSTA");
    QApplication::setOrganizationName("FRUSTA2");
    QApplication::setWindowIcon(QIcon(":/frusta/icons/frusta2.svg"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "FRUSTA 2: ecological status of rivers and lakes from diatom counts");
    parser.addHelpOption();
    QCommandLineOption database(
        "database", "Use the reference database PATH (.mdb, .accdb or SQLite).", "PATH");
    parser.addOption(database);
    QCommandLineOption quitAfterStart("quit-after-start",
                                      "Start, show the main window with the reference data loaded, "
                                      "then quit (to check an installation).");
    parser.addOption(quitAfterStart);
    // A file named on the command line opens nothing.
    parser.addPositionalArgument("file", "ignored", "[file]");
    parser.process(application);

    frusta::gui::DesktopOptions options;
    if (parser.isSet(quitAfterStart))
        options.splashMs = 0;
    if (parser.isSet(database))
        options.database = parser.value(database).toStdString();
    frusta::gui::DesktopApp app;
    if (!app.InitInstance(options))
        return 1;
    if (parser.isSet(quitAfterStart)) {
        const bool loaded = app.core().taxonTable != nullptr;
        std::printf("frusta2 %s: main window shown, master taxon list %s, %zu documents open\n",
                    frusta::productVersion().c_str(), loaded ? "loaded" : "not loaded",
                    app.sessions().size());
        app.ExitInstance();
        return loaded ? 0 : 1;
    }
    const int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
