#pragma once
// The command line's answers to the user-interaction port: choices come from the options,
// messages go to standard error one per line, line breaks kept.
#include "app/UserPort.h"

#include <iosfwd>
#include <optional>
#include <string>

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

    Answer message(const std::string& text, Buttons buttons) override;
    std::optional<WorksheetChoice> chooseWorksheet(const WorksheetRequest& request) override;
    std::optional<ResultsFileChoice> chooseResultsFile(const ResultsFileRequest& request) override;
    std::optional<DefaultValues> chooseDefaults(const DefaultValues& current) override;
    void beginWait() override {}
    void endWait() override {}

    int messageCount() const { return messages_; }

private:
    CliChoices choices_;
    std::ostream& err_;
    int messages_ = 0;
};

} // namespace frusta
