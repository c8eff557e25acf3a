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

    int waitDepth() const { return waitDepth_; }

private:
    QPointer<QWidget> parent_;
    int waitDepth_ = 0;
};

} // namespace frusta::gui
