#include "gui/app/CMainFrame.h"

#include "app/ShellTexts.h"
#include "gui/common/WindowArrangement.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace frusta::gui {

namespace {

QAction* makeAction(QObject* owner, const QString& text, const CommandTexts& texts) {
    auto* action = new QAction(text, owner);
    action->setStatusTip(QString::fromUtf8(texts.prompt));
    action->setToolTip(QString::fromUtf8(texts.tip));
    return action;
}

QAction* makeAction(QObject* owner, const QString& text, const char* prompt) {
    auto* action = new QAction(text, owner);
    action->setStatusTip(QString::fromUtf8(prompt));
    return action;
}

QIcon icon(const char* name) {
    return QIcon(QString(":/frusta/icons/%1.svg").arg(name));
}

// The framework's own prompts of its standard commands.
const CommandTexts kPrintTexts = {"Print the active document", "Print"};

} // namespace

CMainFrame::CMainFrame() : mdi_(new QMdiArea(this)) {
    setObjectName("mainFrame");
    setWindowTitle(QString::fromUtf8(kMainCaption));
    setWindowIcon(icon("frusta2"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    resize(1100, 750);
}

void CMainFrame::createActions() {
    a_.fileOpen = makeAction(this, "&Open...", kFileOpenTexts);
    a_.fileOpen->setShortcut(QKeySequence("Ctrl+O"));
    a_.fileOpen->setIcon(icon("file-open"));
    a_.openExampleHere = makeAction(this, "Open &example",
                                    "Open the example dataset for an assessment\nOpen example");
    a_.openExampleHere->setStatusTip("Open the example dataset for an assessment");
    a_.referenceDatabase = makeAction(this, "Reference &database...",
                                      "Choose the reference database and load its taxon list");
    a_.taxonTranslations =
        makeAction(this, "Taxon &translations...",
                   "Choose the table that translates your taxon codes into the list's codes");
    a_.viewTaxonMatching = makeAction(this, "&Taxon matching",
                                      "Show how each taxon of the active analysis was matched");
    a_.runDetails =
        makeAction(this, "&Run details", "Show how the results of the active analysis were made");
    a_.fileClose = makeAction(this, "&Close", "Close the active document");
    // The shortcut text only: Ctrl+S itself is the File Save command below, which stays
    // available while this item is disabled.
    a_.saveResults = makeAction(this, "&Save results\tCtrl+S", kSaveResultsTexts);
    a_.saveResults->setIcon(icon("save-results"));
    a_.fileSave = new QAction("Save", this);
    a_.fileSave->setShortcut(QKeySequence("Ctrl+S"));
    a_.fileSave->setShortcutContext(Qt::ApplicationShortcut);
    addAction(a_.fileSave);
    a_.saveChart =
        makeAction(this, "Save c&hart as...", "Save the chart as a picture (PNG, SVG or PDF)");
    a_.print = makeAction(this, "&Print...", kPrintTexts);
    a_.print->setShortcut(QKeySequence("Ctrl+P"));
    a_.printPreview = makeAction(this, "Print Pre&view", "Display full pages");
    a_.printSetup = makeAction(this, "P&rint Setup...", "Change the printer and printing options");
    a_.recentPlaceholder = new QAction("Recent File", this);
    a_.recentPlaceholder->setEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto* entry = makeAction(this, QString(), "Open this document");
        entry->setVisible(false);
        a_.recentFiles.push_back(entry);
    }
    a_.exit = makeAction(this, "E&xit", "Quit the application; prompts to save documents");
    a_.copy = makeAction(this, "&Copy\tCtrl+C", kCopyTexts);
    a_.copy->setShortcuts({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Insert")});
    a_.copy->setIcon(icon("copy"));
    a_.selectAll = makeAction(this, "Select &All", "Select the whole grid");
    a_.selectAll->setShortcut(QKeySequence("Ctrl+A"));
    a_.viewToolbar = makeAction(this, "&Toolbar", "Show or hide the toolbar");
    a_.viewToolbar->setCheckable(true);
    a_.viewToolbar->setChecked(true);
    a_.viewStatusBar = makeAction(this, "&Status Bar", "Show or hide the status bar");
    a_.viewStatusBar->setCheckable(true);
    a_.viewStatusBar->setChecked(true);
    a_.cascade = makeAction(this, "&Cascade", "Arrange windows so they overlap");
    a_.tile = makeAction(this, "&Tile", "Arrange windows as non-overlapping tiles");
    a_.arrangeIcons =
        makeAction(this, "&Arrange Icons", "Arrange icons at the bottom of the window");
    a_.nextWindow = makeAction(this, "Next Window", "Switch to the next window");
    a_.nextWindow->setShortcut(QKeySequence(Qt::Key_F6));
    a_.previousWindow = makeAction(this, "Previous Window", "Switch to the previous window");
    a_.previousWindow->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    addAction(a_.nextWindow);
    addAction(a_.previousWindow);
    a_.escape = new QAction("Cancel", this);
    a_.escape->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(a_.escape);
    a_.help = makeAction(this, "&Help", kHelpTexts);
    a_.help->setShortcut(QKeySequence(Qt::Key_F1));
    a_.help->setIcon(icon("help"));
    a_.about = makeAction(this, "&About FRUSTA 2", "Display program information and version");
    a_.viewTaxonList = makeAction(this, "View &master taxon list", kViewTaxonListTexts);
    a_.viewTaxonList->setIcon(icon("taxon-list"));
    a_.openExample = makeAction(this, "Open Example Dataset in &Excel", kOpenExampleTexts);
    a_.openExample->setIcon(icon("example"));

    connect(a_.viewToolbar, &QAction::toggled, this, [this](bool on) { toolBar_->setVisible(on); });
    connect(a_.viewStatusBar, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    connect(a_.cascade, &QAction::triggered, this, [this] { cascadeWindows(*mdi_); });
    connect(a_.tile, &QAction::triggered, this, [this] { tileWindows(*mdi_); });
    connect(a_.arrangeIcons, &QAction::triggered, this, &CMainFrame::arrangeIcons);
    connect(a_.nextWindow, &QAction::triggered, mdi_, &QMdiArea::activateNextSubWindow);
    connect(a_.previousWindow, &QAction::triggered, mdi_, &QMdiArea::activatePreviousSubWindow);
    connect(a_.exit, &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::createMenus() {
    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->addAction(a_.fileOpen);
    fileMenu_->addAction(a_.openExampleHere);
    fileMenu_->addAction(a_.fileClose);
    fileMenu_->addAction(a_.saveResults);
    fileMenu_->addAction(a_.saveChart);
    fileMenu_->addSeparator();
    fileMenu_->addAction(a_.print);
    fileMenu_->addAction(a_.printPreview);
    fileMenu_->addAction(a_.printSetup);
    fileMenu_->addSeparator();
    fileMenu_->addAction(a_.referenceDatabase);
    fileMenu_->addAction(a_.taxonTranslations);
    fileMenu_->addSeparator();
    fileMenu_->addAction(a_.recentPlaceholder);
    for (QAction* entry : a_.recentFiles)
        fileMenu_->addAction(entry);
    fileMenu_->addSeparator();
    fileMenu_->addAction(a_.exit);

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->addAction(a_.copy);
    edit->addAction(a_.selectAll);

    QMenu* view = menuBar()->addMenu("&View");
    view->addAction(a_.viewToolbar);
    view->addAction(a_.viewStatusBar);
    view->addSeparator();
    view->addAction(a_.viewTaxonMatching);

    QMenu* window = menuBar()->addMenu("&Window");
    window->addAction(a_.cascade);
    window->addAction(a_.tile);
    window->addAction(a_.arrangeIcons);

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(a_.help);
    help->addSeparator();
    help->addAction(a_.runDetails);
    help->addAction(a_.about);
}

void CMainFrame::createToolBar() {
    toolBar_ = addToolBar("Standard");
    toolBar_->setObjectName("toolBar");
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->addAction(a_.fileOpen);
    toolBar_->addAction(a_.saveResults);
    toolBar_->addSeparator();
    toolBar_->addAction(a_.copy);
    toolBar_->addSeparator();
    toolBar_->addAction(a_.viewTaxonList);
    toolBar_->addAction(a_.openExample);
    toolBar_->addAction(a_.help);
    // The tool tips are the commands' own, without the menus' shortcut texts.
    a_.saveResults->setToolTip(QString::fromUtf8(kSaveResultsTexts.tip));
    a_.copy->setToolTip(QString::fromUtf8(kCopyTexts.tip));
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->showMessage(QString::fromUtf8(kIdlePrompt));
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& text) {
        if (text.isEmpty())
            bar->showMessage(QString::fromUtf8(kIdlePrompt));
    });
    // The lock indicators: the platform does not tell their state, so they stay blank.
    for (const char* name : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(this);
        pane->setObjectName(QString("indicator") + name);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(name) + 8);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(pane);
    }
}

void CMainFrame::setRecentFiles(const std::vector<std::string>& menuTexts) {
    for (std::size_t i = 0; i < a_.recentFiles.size(); ++i) {
        QAction* entry = a_.recentFiles[i];
        entry->setVisible(i < menuTexts.size());
        if (i < menuTexts.size())
            entry->setText(QString::fromStdString(menuTexts[i]));
    }
    a_.recentPlaceholder->setVisible(menuTexts.empty());
}

void CMainFrame::arrangeIcons() {
    // Minimised windows in a row along the bottom of the area.
    int x = 0;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        if (!w->isMinimized())
            continue;
        w->move(x, mdi_->viewport()->height() - w->height());
        x += w->width();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (canClose && !canClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace frusta::gui
