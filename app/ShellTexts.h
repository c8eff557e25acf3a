#pragma once
// The fixed texts of the desktop shell: caption, splash lines, About text, command prompts
// and tool tips, and the messages of the help and example commands.
#include <string>

namespace frusta {

extern const char* const kAppTitle;             // title of every message box: "FRUSTA"
extern const char* const kMainCaption;          // "FRUSTA2 - Periphyton Status Assessment"
extern const char* const kIdlePrompt;           // "For Help, press F1"
extern const char* const kSettingsOrganisation; // "FRUSTA2"
extern const char* const kSettingsApplication;  // "FRUSTA"
extern const char* const kRecentFileSection;    // "Recent File List"

// Said once at start-up when the settings file cannot be written.
std::string settingsNotKeptMessage(const std::string& file, const std::string& reason);

// Asked by File > Taxon translations... while the table `table` (a file name) is in use.
std::string translationsInUseMessage(const std::string& table);

// The product version as shown: the three parts of the build's version, "2.0.1".
std::string productVersion();

// Splash window: the two title lines and the bottom line.
extern const char* const kSplashTitle1;
extern const char* const kSplashTitle2;
std::string splashVersionLine(const std::string& version);

// The About box's text, lines separated by CR LF, starting "FRUSTA Version <version>".
std::string aboutText(const std::string& version);

// Status-bar prompt and tool tip of a command.
struct CommandTexts {
    const char* prompt;
    const char* tip;
};
extern const CommandTexts kViewTaxonListTexts;
extern const CommandTexts kHelpTexts;
extern const CommandTexts kOpenExampleTexts;
extern const CommandTexts kFileOpenTexts;
extern const CommandTexts kSaveResultsTexts;
extern const CommandTexts kCopyTexts;

// The help and example commands' messages.
extern const char* const kNoPdfViewerMessage;
extern const char* const kNoSpreadsheetMessage;
// "Error Running Program\n" followed by the system's error text.
std::string errorRunningProgramMessage(const std::string& systemError);

// What the box "Error reading file" adds for a workbook that could not be read, given the
// reader's reason: for a damaged workbook, what happened and what to do in a user's words,
// with the reason as the technical details; otherwise the reason itself, which says it.
struct ReadFailureTexts {
    std::string informative;
    std::string details; // empty when the informative text is the reason
};
ReadFailureTexts readFailureTexts(const std::string& reason);
extern const char* const kDamagedWorkbookAdvice;

} // namespace frusta
