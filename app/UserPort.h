#pragma once
// The user-interaction port: the one interface through which core code asks the user
// anything or tells the user anything. Front ends implement it (desktop dialogs, command
// line options, scripted answers in tests). Message texts pass through unchanged.
#include "app/ShellTexts.h"
#include "workbook/LoadProgress.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace frusta {

class Book;

enum class Buttons { Ok, OkCancel, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// What the user is told in one message box.
struct Notice {
    Notice(std::string text, std::string detail = {}, Buttons buttons = Buttons::Ok)
        : text(std::move(text)), detail(std::move(detail)), buttons(buttons) {}

    std::string text;
    // More about the text, shown below it (why a file could not be read); may be empty.
    std::string detail;
    Buttons buttons;
    std::string title = kAppTitle;
    // The detail in a user's words (what happened and what to do), which a window shows in
    // its place, keeping the detail itself as technical details; empty: the detail says it.
    std::string advice;
};

// What the worksheet selection dialog is given.
struct WorksheetRequest {
    std::vector<std::string> sheetNames; // in workbook order
    const Book* book = nullptr;          // the open book, for a preview
    int family = 0;                      // initially checked metric family
};

// What the worksheet selection dialog returns on OK.
struct WorksheetChoice {
    int sheetIndex = 0;
    int family = 0;     // 0 rivers, 1 lakes, 2 acidification
    bool latest = true; // TDI4 / LTDI2 when true
    int firstRow = 1;   // FR, 1-based
    int firstCol = 3;   // FC, 1-based (3 = column C)
};

enum class ResultsFileType { Xls = 0, Xlsx = 1 };

struct ResultsFileRequest {
    std::string defaultName = "Results.xls";
};

struct ResultsFileChoice {
    std::string path;
    ResultsFileType type = ResultsFileType::Xls;
};

struct DefaultValues {
    double alk = 100.0; // mg/l
    double ca = 100.0;  // ueq/l
    double doc = 1.0;   // mg/l
};

class UserPort {
public:
    virtual ~UserPort() = default;
    // Shows the notice; returns the button the user chose.
    virtual Answer notify(const Notice& notice) = 0;
    // A notice of a text alone.
    Answer message(const std::string& text, Buttons buttons = Buttons::Ok) {
        return notify(Notice(text, {}, buttons));
    }
    virtual std::optional<WorksheetChoice> chooseWorksheet(const WorksheetRequest& request) = 0;
    virtual std::optional<ResultsFileChoice>
    chooseResultsFile(const ResultsFileRequest& request) = 0;
    virtual std::optional<DefaultValues> chooseDefaults(const DefaultValues& current) = 0;
    virtual void beginWait() = 0;
    virtual void endWait() = 0;

    // Runs a long piece of work that asks the user nothing (`what` says what it does, as
    // "Reading north.xlsx"): it reports through the progress it is given and stops when
    // that is cancelled. False when the user cancelled it. This default runs it here, to
    // the end; a desktop runs it on another thread and shows its progress meanwhile.
    virtual bool runCancellable(const std::string& what,
                                const std::function<void(LoadProgress&)>& work) {
        (void)what;
        LoadProgress progress;
        work(progress);
        return !progress.cancelled();
    }
};

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
public:
    explicit WaitCursor(UserPort& port) : port_(port) { port_.beginWait(); }
    ~WaitCursor() { port_.endWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    UserPort& port_;
};

} // namespace frusta
