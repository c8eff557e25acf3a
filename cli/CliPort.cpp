#include "cli/CliPort.h"

#include "doc/WorksheetProposal.h"
#include "workbook/Book.h"

#include <ostream>

namespace frusta {

CliPort::CliPort(CliChoices choices, std::ostream& err) : choices_(std::move(choices)), err_(err) {}

void CliPort::say(const std::string& text) {
    print(text);
}

void CliPort::print(const std::string& text) {
    if (sink_) {
        sink_(text);
        return;
    }
    err_ << text << '\n';
    err_.flush();
}

Answer CliPort::notify(const Notice& notice) {
    say(notice.text);
    if (!notice.detail.empty())
        say("(" + notice.detail + ")");
    switch (notice.buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    case Buttons::YesNoCancel:
        return choices_.saveQuestion;
    }
    return Answer::Ok;
}

std::optional<WorksheetChoice> CliPort::chooseWorksheet(const WorksheetRequest& request) {
    // What the dialog would show about how the file was read; not a message of the reading.
    if (request.book)
        for (const std::string& note : request.book->notes())
            print("Note: " + note);
    WorksheetChoice choice;
    if (choices_.sheet) {
        int found = -1;
        for (std::size_t i = 0; i < request.sheetNames.size(); ++i)
            if (request.sheetNames[i] == *choices_.sheet) {
                found = static_cast<int>(i);
                break;
            }
        if (found < 0) {
            const std::string refusal =
                "No worksheet named \"" + *choices_.sheet + "\" in this workbook.";
            refusal_ = refusal;
            say(refusal);
            return std::nullopt;
        }
        choice.sheetIndex = found;
    }
    if (static_cast<std::size_t>(choice.sheetIndex) < request.sheetNames.size())
        chosenSheet_ = request.sheetNames[static_cast<std::size_t>(choice.sheetIndex)];
    choice.family = choices_.family;
    choice.latest = choices_.latest;
    choice.firstCol = choices_.firstCol;
    if (choices_.firstRow) {
        choice.firstRow = *choices_.firstRow;
    } else {
        // As the dialog does: propose the row from column B of the chosen worksheet.
        const Sheet* sheet = request.book ? request.book->getSheet(choice.sheetIndex) : nullptr;
        choice.firstRow = sheet ? proposeFirstRow(*sheet, kDefaultFirstRow) : kDefaultFirstRow;
    }
    return choice;
}

std::optional<ResultsFileChoice> CliPort::chooseResultsFile(const ResultsFileRequest&) {
    if (!choices_.output)
        return std::nullopt;
    ResultsFileChoice choice;
    choice.path = *choices_.output;
    const auto dot = choice.path.rfind('.');
    const std::string ext = dot == std::string::npos ? "" : choice.path.substr(dot + 1);
    choice.type = ext == "xls" ? ResultsFileType::Xls : ResultsFileType::Xlsx;
    return choice;
}

std::optional<DefaultValues> CliPort::chooseDefaults(const DefaultValues&) {
    return choices_.defaults;
}

} // namespace frusta
