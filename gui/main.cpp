// frusta2: the desktop program.
#include "gui/app/DesktopApp.h"

#include <QApplication>
#include <QCommandLineParser>

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
    // A file named on the command line opens nothing.
    parser.addPositionalArgument("file", "ignored", "[file]");
    parser.process(application);

    frusta::gui::DesktopOptions options;
    if (parser.isSet(database))
        options.database = parser.value(database).toStdString();
    frusta::gui::DesktopApp app;
    if (!app.InitInstance(options))
        return 1;
    const int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
