#pragma once
// The user-interaction port of the screenshot tour's own documents: reads the worksheet it
// is given without asking, answers every message with OK (printing it) and cancels the
// file and defaults dialogs.
#include "app/UserPort.h"

#include <cstdio>

namespace frusta::gui::tour {

class TourPort : public UserPort {
public:
    // The example's first worksheet as river samples from row 7, column C.
    WorksheetChoice sheet{0, 0, true, 7, 3};

    Answer notify(const Notice& notice) override {
        std::fprintf(stderr, "%s\n", notice.text.c_str());
        return Answer::Ok;
    }
    std::optional<WorksheetChoice> chooseWorksheet(const WorksheetRequest&) override {
        return sheet;
    }
    std::optional<ResultsFileChoice> chooseResultsFile(const ResultsFileRequest&) override {
        return std::nullopt;
    }
    std::optional<DefaultValues> chooseDefaults(const DefaultValues&) override {
        return std::nullopt;
    }
    void beginWait() override {}
    void endWait() override {}
};

} // namespace frusta::gui::tour
