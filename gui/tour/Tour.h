#pragma once
// The screenshot tour: runs the desktop program offscreen and writes a PNG of every window
// and dialog to a folder. Each group of windows has its own tour function.
#include "app/ScriptedPort.h"
#include "gui/app/DesktopApp.h"

#include <QRect>
#include <QString>

#include <functional>

class QWidget;

namespace frusta::gui::tour {

class TourContext {
public:
    TourContext(DesktopApp& app, QString folder) : app(app), folder_(std::move(folder)) {}

    DesktopApp& app;

    // Writes `widget` (a window, with its frame's contents) to <folder>/<name>.png.
    void shot(QWidget* widget, const QString& name);
    // Writes the part `area` of `widget` (in its own coordinates) to <folder>/<name>.png.
    void shotPart(QWidget* widget, const QRect& area, const QString& name);
    // Writes the main frame with all its child windows.
    void shotMain(const QString& name);
    // Runs `trigger`, which opens a modal dialog or message box; when it shows, `prepare`
    // may set its controls, then the picture is taken and `finish` closes it (default:
    // reject / press Escape).
    void shotModal(const QString& name, const std::function<void()>& trigger,
                   const std::function<void(QWidget*)>& prepare = {},
                   const std::function<void(QWidget*)>& finish = {});
    // Lets pending events and paints run.
    static void settle(int ms = 100);

    int count() const { return count_; }
    const QString& folder() const { return folder_; }

private:
    QString folder_;
    int count_ = 0;
};

// The port of the tour's own documents: reads the worksheet it is given without asking
// (first the example's first worksheet as river samples from row 7, column C), prints every
// message and answers it with OK, and cancels the file and defaults dialogs.
ScriptedPort& tourPort();

void tourShell(TourContext& tour);    // main window, splash, About box, failure messages
void tourAnalysis(TourContext& tour); // File Open, worksheet dialog, command panel, defaults, save
void tourGrids(TourContext& tour);    // results, data and master taxon list windows
void tourCharts(TourContext& tour);   // the charts of the example's three worksheets
void tourTextFile(TourContext& tour); // a CSV file: its note and the warning about its dates
void tourMatching(TourContext& tour); // taxon matching: hover texts, suggestions, run details
void tourLargeCharts(TourContext& tour); // the charts of 2,000 samples at 500 sites

} // namespace frusta::gui::tour
