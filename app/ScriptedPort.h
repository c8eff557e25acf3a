#pragma once
// A user-interaction port that answers from a script, for the tests, the screenshot tour, the
// benchmarks and the tools: records every message (printing it when asked to) and returns
// pre-set answers.
#include "app/UserPort.h"

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace frusta {

class ScriptedPort : public UserPort {
public:
    struct Shown {
        std::string text;
        Buttons buttons;
        std::string detail;
    };

    std::vector<Shown> shown;
    std::deque<Answer> answers; // answers to messages, in order; Ok when exhausted
    std::optional<WorksheetChoice> worksheet = WorksheetChoice{};
    std::vector<WorksheetRequest> worksheetRequests;
    std::optional<ResultsFileChoice> resultsFile;
    std::optional<DefaultValues> defaults;
    int waitDepth = 0;
    int waitCount = 0;
    std::vector<std::string> longWork; // what each long piece of work said it does
    int cancelLongWork = -1;           // the index of the long piece of work the user stops
    std::optional<std::string> echo;   // when set, each message goes to standard error after it

    Answer notify(const Notice& notice) override {
        if (echo)
            std::fprintf(stderr, "%s%s\n", echo->c_str(), notice.text.c_str());
        shown.push_back({notice.text, notice.buttons, notice.detail});
        if (answers.empty())
            return Answer::Ok;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<WorksheetChoice> chooseWorksheet(const WorksheetRequest& request) override {
        worksheetRequests.push_back(request);
        return worksheet;
    }
    std::optional<ResultsFileChoice> chooseResultsFile(const ResultsFileRequest&) override {
        return resultsFile;
    }
    std::optional<DefaultValues> chooseDefaults(const DefaultValues&) override { return defaults; }
    void beginWait() override {
        ++waitDepth;
        ++waitCount;
    }
    void endWait() override { --waitDepth; }
    bool runCancellable(const std::string& what,
                        const std::function<void(LoadProgress&)>& work) override {
        LoadProgress progress;
        if (static_cast<int>(longWork.size()) == cancelLongWork)
            progress.cancel();
        longWork.push_back(what);
        work(progress);
        return !progress.cancelled();
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& s : shown)
            out.push_back(s.text);
        return out;
    }
};

} // namespace frusta
