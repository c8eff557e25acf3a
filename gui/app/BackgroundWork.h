#pragma once
// Runs a long piece of work of the core on another thread while the windows go on painting:
// the wait cursor, the work's progress in the status bar and, after half a second, a window
// with its progress and a Cancel button. The user's clicks and keys go nowhere else
// meanwhile.
#include "workbook/LoadProgress.h"

#include <QString>

#include <functional>

class QStatusBar;
class QWidget;

namespace frusta::gui {

class BackgroundWork {
public:
    // `what` names the work in the status bar and the progress window, as "Reading
    // north.xlsx"; `owner` owns the progress window; `status` shows the progress (may be
    // null).
    BackgroundWork(QString what, QWidget* owner, QStatusBar* status);

    // How long the work may run before the progress window shows, in milliseconds.
    void setWindowDelay(int ms) { delayMs_ = ms; }

    // Runs `work` to its end; false when the user cancelled it. An exception that the work
    // throws is thrown again here.
    bool run(const std::function<void(LoadProgress&)>& work);

    // The default delay of the progress window.
    static constexpr int kWindowDelayMs = 500;

private:
    QString what_;
    QWidget* owner_;
    QStatusBar* status_;
    int delayMs_ = kWindowDelayMs;
};

} // namespace frusta::gui
