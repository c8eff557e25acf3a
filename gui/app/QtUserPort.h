#pragma once
// The desktop program's answers to the user-interaction port: message boxes titled
// "FRUSTA", the wait cursor, and the worksheet, defaults and results-file dialogs.
#include "app/UserPort.h"

#include <QPointer>
#include <QWidget>

namespace frusta::gui {

class QtUserPort : public UserPort {
public:
    // Message boxes and dialogs are owned by `parent` (the main frame) while it exists.
    void setParent(QWidget* parent) { parent_ = parent; }
    QWidget* dialogParent() const;

    Answer notify(const Notice& notice) override;
    std::optional<WorksheetChoice> chooseWorksheet(const WorksheetRequest& request) override;
    std::optional<ResultsFileChoice> chooseResultsFile(const ResultsFileRequest& request) override;
    std::optional<DefaultValues> chooseDefaults(const DefaultValues& current) override;
    void beginWait() override;
    void endWait() override;
    // The work on another thread, with its progress in the main window's status bar and,
    // after the delay, in a window with a Cancel button.
    bool runCancellable(const std::string& what,
                        const std::function<void(LoadProgress&)>& work) override;
    // How long long work may run before its progress window shows (tests shorten it).
    void setProgressWindowDelay(int ms) { progressDelayMs_ = ms; }
    // Whether the user cancelled the last long piece of work since forgetLastWork().
    bool lastWorkCancelled() const { return lastWorkCancelled_; }
    void forgetLastWork() { lastWorkCancelled_ = false; }

    int waitDepth() const { return waitDepth_; }

private:
    QPointer<QWidget> parent_;
    int waitDepth_ = 0;
    int progressDelayMs_ = 500; // BackgroundWork::kWindowDelayMs
    bool lastWorkCancelled_ = false;
};

} // namespace frusta::gui
