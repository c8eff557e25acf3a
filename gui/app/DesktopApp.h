#pragma once
// The desktop program's application object: start-up in the order of the framework's
// InitInstance (settings, main frame, caption, paths, splash window, reference database),
// the application commands, the open analyses and shutdown.
#include "app/CPbtApp.h"
#include "app/RecentFileList.h"
#include "doc/CPbtDoc.h"
#include "gui/app/QtUserPort.h"
#include "gui/app/ViewerLauncher.h"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QMdiSubWindow;
class QPrinter;

namespace frusta::gui {

class CMainFrame;
class CSplashWnd;
class DocumentSession;

struct DesktopOptions {
    std::filesystem::path programFolder;           // empty: the folder of the executable
    std::optional<std::filesystem::path> database; // --database: before the settings' choice
    int splashMs = 5000;                           // 0: no splash window
    std::shared_ptr<ViewerLauncher> launcher;      // null: the desktop's own programs
};

class DesktopApp : public QObject {
    Q_OBJECT
public:
    DesktopApp();
    ~DesktopApp() override;

    bool InitInstance(const DesktopOptions& options);
    int ExitInstance();

    CPbtApp& core() { return core_; }
    QtUserPort& port() { return port_; }
    CMainFrame& mainFrame() { return *frame_; }
    CSplashWnd* splash() const;
    const RecentFileList& recentFiles() const { return recent_; }
    const std::vector<std::unique_ptr<DocumentSession>>& sessions() const { return sessions_; }
    DocumentSession* activeSession() const;

    // Commands.
    void OnFileOpen();
    DocumentSession* OpenDocumentFile(const std::string& path);
    // Takes a read document into the program and opens its command panel.
    DocumentSession* addSession(std::unique_ptr<CPbtDoc> doc);
    void OnOpenRecentFile(std::size_t index);
    void OnViewTaxonList();
    void OnHelp();
    void OnOpenExample();
    void OnOpenExampleHere();
    void OnAppAbout();
    void OnReferenceDatabase();
    void OnTaxonTranslations();
    // Reads and checks the translation table `file`, uses it for the analyses from now on
    // and remembers it; false, after the message, when it is refused.
    bool UseTranslations(const std::filesystem::path& file);
    void OnViewTaxonMatching();
    void OnRunDetails();
    // Adds suggestion `index` of taxon `taxon` of the session's analysis to the translation
    // table (asking for one when none is chosen) and analyses again when the user wishes.
    void UseSuggestion(DocumentSession& session, int taxon, int index);
    // Loads the master list of `file` and remembers it for the next start.
    bool UseReferenceDatabase(const std::filesystem::path& file);
    void OnFileClose();
    void OnSaveResults(); // File Save As of the active document
    void OnFileSave();    // File Save (Ctrl+S)
    void OnSaveChart();   // "Save chart as..." of the active view
    void OnCopy();
    void OnSelectAll();
    void OnPrint();
    void OnPrintPreview();
    void OnPrintSetup();

    // Puts the save-modified question to every modified document; false when cancelled.
    bool SaveAllModified();

    // The settings' choice of reference database, if any.
    static std::optional<std::filesystem::path> savedDatabase();

    // Runs a command so that no exception escapes into the event loop: a failure is shown
    // in a message box and the program goes on unchanged.
    void guarded(const std::function<void()>& command);

    // The printer that Print Setup chose, shared by every print.
    QPrinter& printer();

public slots:
    void updateCommandStates();

private:
    void connectActions();
    std::optional<std::string> translationTableForRows();
    void loadRecentFiles();
    void storeRecentFiles();
    void showRecentFiles();
    void forget(DocumentSession* session);

    CPbtApp core_;
    QtUserPort port_;
    std::unique_ptr<CMainFrame> frame_;
    QPointer<CSplashWnd> splash_;
    std::shared_ptr<ViewerLauncher> launcher_;
    RecentFileList recent_;
    std::vector<std::unique_ptr<DocumentSession>> sessions_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace frusta::gui
