#include "app/ShellTexts.h"

#include "app/Version.h"

namespace frusta {

const char* const kAppTitle = "FRUSTA";
const char* const kMainCaption = "FRUSTA2 - Periphyton Status Assessment";
const char* const kIdlePrompt = "For Help, press F1";
const char* const kSettingsOrganisation = "FRUSTA2";
const char* const kSettingsApplication = "FRUSTA";
const char* const kRecentFileSection = "Recent File List";

std::string settingsNotKeptMessage(const std::string& file, const std::string& reason) {
    return "FRUSTA 2 cannot save its settings in\n" + file + "\n(" + reason +
           ").\nThe list of recent files and the choice of reference database will not be "
           "kept when the program closes.";
}

std::string translationsInUseMessage(const std::string& table) {
    return "The taxon translation table " + table +
           " is in use.\nYes chooses another table; No stops using it.";
}

std::string productVersion() {
    // The build's version has at most four parts; the product version shows three.
    const std::string full = FRUSTA_VERSION;
    std::size_t pos = 0;
    for (int dots = 0; pos < full.size(); ++pos)
        if (full[pos] == '.' && ++dots == 3)
            break;
    return full.substr(0, pos);
}

const char* const kSplashTitle1 = "FRUSTA 2 - Periphyton";
const char* const kSplashTitle2 = "Status Assessment";

std::string splashVersionLine(const std::string& version) {
    return "Version " + version + "  by the FRUSTA 2 developers";
}

std::string aboutText(const std::string& version) {
    std::string t = "FRUSTA Version " + version + "\r\n";
    t += "\r\n";
    t += "FRUSTA 2 assesses the ecological status of rivers and lakes from counts of benthic "
         "diatoms: it computes the trophic diatom indices TDI3, TDI4, LTDI1 and LTDI2 and the "
         "diatom acidification metric DAM, their expected values, the ecological quality "
         "ratio and the status class of every sample, and the confidence of class of every "
         "site. It was developed within the work that follows.";
    t += "\r\n\r\n";
    t += "The assessment engine, the reading of sample workbooks and the writing of results "
         "workbooks, shared by the desktop program frusta2 and the command line frusta2-cli.";
    t += "\r\n\r\n";
    t += "The desktop program for Linux, free software under the GNU General Public License, "
         "version 3 or any later version, built with Qt.";
    t += "\r\n\r\n";
    t += "Authors: the FRUSTA 2 developers.";
    t += "\r\n\r\n\r\n\r\n";
    t += "Please report faults on the FRUSTA 2 project's issue tracker.";
    return t;
}

const CommandTexts kViewTaxonListTexts = {"View mater taxon list", "View master taxon list"};
const CommandTexts kHelpTexts = {"Display help", "Help"};
const CommandTexts kOpenExampleTexts = {"Open Example Dataset in Excel",
                                        "Open Example Dataset in Excel"};
const CommandTexts kFileOpenTexts = {"Open an existing document", "Open"};
const CommandTexts kSaveResultsTexts = {"Save the results of the analysis", "Save results"};
const CommandTexts kCopyTexts = {"Copy the selection and put it on the Clipboard", "Copy"};

const char* const kNoPdfViewerMessage =
    "FRUSTA 2 needs a PDF viewer to open the help file.\nPlease install one and try again";
const char* const kNoSpreadsheetMessage =
    "FRUSTA 2 needs a spreadsheet program, such as LibreOffice Calc, to open the example "
    "dataset.\nPlease install one and try again";

std::string errorRunningProgramMessage(const std::string& systemError) {
    return "Error Running Program\n" + systemError;
}

const char* const kDamagedWorkbookAdvice =
    "The workbook is damaged. Open it in your spreadsheet program and save it again, or use a "
    "backup.";

ReadFailureTexts readFailureTexts(const std::string& reason) {
    // The readers' words for a file whose structure is broken.
    for (const char* sign : {"damaged", "cut short", "not well-formed", "invalid"})
        if (reason.find(sign) != std::string::npos)
            return {kDamagedWorkbookAdvice, reason};
    return {reason, {}};
}

} // namespace frusta
