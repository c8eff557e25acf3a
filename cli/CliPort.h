#pragma once
// The command line's answers to the user-interaction port: choices come from the options,
// messages go to standard error one per line, line breaks kept.
#include "app/UserPort.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace frusta {

struct CliChoices {
    std::optional<std::string> sheet; // worksheet name; the first worksheet when absent
    int family = 0;
    bool latest = true;
    std::optional<int> firstRow; // proposed from the worksheet when absent
    int firstCol = 3;
    std::optional<std::string> output; // results workbook path
    DefaultValues defaults;
    Answer saveQuestion = Answer::No; // answer to "Save Results?"
};

class CliPort : public UserPort {
public:
    CliPort(CliChoices choices, std::ostream& err);

    // The text, then the detail in brackets on a line of its own.
    Answer notify(const Notice& notice) override;
    std::optional<WorksheetChoice> chooseWorksheet(const WorksheetRequest& request) override;
    std::optional<ResultsFileChoice> chooseResultsFile(const ResultsFileRequest& request) override;
    std::optional<DefaultValues> chooseDefaults(const DefaultValues& current) override;
    void beginWait() override {}
    void endWait() override {}

    // The name of the worksheet chosen last.
    const std::string& chosenSheet() const { return chosenSheet_; }
    // Why the options could not answer the worksheet dialog; empty when they could.
    const std::string& refusal() const { return refusal_; }
    // Messages go to `sink` instead of the stream (one call per message, no line feed).
    void setSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }

private:
    // Shows a message and keeps it among the messages.
    void say(const std::string& text);
    // Shows a text that is no message of the work, such as a note on how a file was read.
    void print(const std::string& text);

    CliChoices choices_;
    std::ostream& err_;
    std::function<void(const std::string&)> sink_;
    std::string chosenSheet_;
    std::string refusal_;
};

} // namespace frusta
