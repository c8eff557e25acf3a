#pragma once
// The main window: a multiple-document area whose child windows are the windows of the
// analyses, with the menus, the toolbar and the status bar.
#include <QMainWindow>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace frusta::gui {

struct MainActions {
    QAction* fileOpen = nullptr;        // "&Open...", Ctrl+O
    QAction* openExampleHere = nullptr; // "Open &example": the example as an analysis
    QAction* referenceDatabase = nullptr;
    QAction* taxonTranslations = nullptr; // "Taxon &translations..."
    QAction* viewTaxonMatching = nullptr; // View > "&Taxon matching" of the active analysis
    QAction* runDetails = nullptr;        // Help > "&Run details" of the active analysis
    QAction* fileClose = nullptr;         // "&Close"
    QAction* saveResults = nullptr;       // "&Save results": File Save As of the active document
    QAction* fileSave = nullptr;          // Ctrl+S: the framework's File Save
    QAction* saveChart = nullptr;         // "Save c&hart as...": the chart of the active tab
    QAction* print = nullptr;
    QAction* printPreview = nullptr;
    QAction* printSetup = nullptr;
    QAction* recentPlaceholder = nullptr;
    std::vector<QAction*> recentFiles; // four, hidden while unused
    QAction* exit = nullptr;
    QAction* copy = nullptr;
    QAction* selectAll = nullptr;
    QAction* viewToolbar = nullptr;
    QAction* viewStatusBar = nullptr;
    QAction* cascade = nullptr;
    QAction* tile = nullptr;
    QAction* arrangeIcons = nullptr;
    QAction* nextWindow = nullptr;     // F6
    QAction* previousWindow = nullptr; // Shift+F6
    QAction* escape = nullptr;
    QAction* help = nullptr;
    QAction* about = nullptr;
    QAction* viewTaxonList = nullptr;
    QAction* openExample = nullptr; // in the desktop's spreadsheet program
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();

    QMdiArea* mdiArea() const { return mdi_; }
    const MainActions& actions() const { return a_; }
    QToolBar* toolBar() const { return toolBar_; }
    QMenu* fileMenu() const { return fileMenu_; }

    // Shows the recent-file entries (menu texts) in the File menu.
    void setRecentFiles(const std::vector<std::string>& menuTexts);

    // Asked before the window closes; false keeps the program running.
    std::function<bool()> canClose;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void arrangeIcons();

    QMdiArea* mdi_;
    MainActions a_;
    QMenu* fileMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
};

} // namespace frusta::gui
