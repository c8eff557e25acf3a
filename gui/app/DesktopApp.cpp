#include "gui/app/DesktopApp.h"

#include "app/ShellTexts.h"
#include "doc/CommandGuard.h"
#include "doc/TaxonMatchView.h"
#include "doc/TranslationFile.h"
#include "gui/app/CAboutDlg.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CSplashWnd.h"
#include "gui/app/DesktopSettings.h"
#include "gui/app/RunDetailsDialog.h"
#include "gui/common/FileDialogLayout.h"
#include "gui/common/HelpCommand.h"
#include "gui/common/RememberedFolder.h"
#include "gui/common/ViewCommands.h"
#include "gui/common/WindowArrangement.h"
#include "gui/doc/CChildFrame.h"
#include "gui/doc/CPbtView.h"
#include "gui/doc/DocumentSession.h"
#include "gui/output/GridWindows.h"
#include "output/ResultsWriter.h"
#include "output/TranslationWriter.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTabWidget>

#include <algorithm>

// The icons and pictures are compiled into the library; they must be registered once.
static void initResources() {
    Q_INIT_RESOURCE(gui);
    // The dialogs' face: the metric-compatible sans serif where MS Sans Serif is missing.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
}

namespace frusta::gui {

namespace {

ViewCommands* viewOf(QMdiSubWindow* frame) {
    return frame ? dynamic_cast<ViewCommands*>(frame->widget()) : nullptr;
}

// An existing file chosen in the program's own file dialog, which starts at `current` when
// given; nothing when the user cancels.
std::optional<std::string> chooseExistingFile(QWidget* parent, const QString& title,
                                              const QString& objectName, const QStringList& filters,
                                              const std::string& current = {}) {
    QFileDialog dialog(parent, title);
    dialog.setObjectName(objectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (!current.empty())
        dialog.selectFile(QString::fromStdString(current));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

} // namespace

DesktopApp::DesktopApp() {
    initResources();
}

DesktopApp::~DesktopApp() {
    setHelpCommand({});
    sessions_.clear();
    frame_.reset();
}

CSplashWnd* DesktopApp::splash() const {
    return splash_.data();
}

std::optional<std::filesystem::path> DesktopApp::savedDatabase() {
    return DesktopSettings::referenceDatabase();
}

bool DesktopApp::InitInstance(const DesktopOptions& options) {
    launcher_ = options.launcher ? options.launcher : std::make_shared<DesktopViewerLauncher>();
    loadRecentFiles();
    frame_ = std::make_unique<CMainFrame>();
    port_.setParent(frame_.get());
    frame_->canClose = [this] { return SaveAllModified(); };
    connectActions();
    setHelpCommand([this] { guarded([this] { OnHelp(); }); });
    showRecentFiles();
    frame_->show();
    frame_->setWindowTitle(QString::fromUtf8(kMainCaption));

    if (options.splashMs > 0) {
        splash_ = new CSplashWnd(frame_.get(), options.splashMs);
        splash_->showOver();
        QApplication::processEvents();
    }

    StartupOptions startup;
    startup.programFolder = options.programFolder;
    startup.database = options.database ? options.database : savedDatabase();
    guarded([&] { core_.InitInstance(port_, startup); });
    // The table remembered from the last run; one that the list in use refuses is said and
    // forgotten.
    if (const auto table = DesktopSettings::translationTable())
        guarded([&] {
            if (!loadTranslations(table->string(), core_.taxonTable.get(), port_,
                                  core_.translations))
                DesktopSettings::storeTranslationTable({});
        });
    if (const std::string why = DesktopSettings::unwritableReason(); !why.empty())
        port_.message(settingsNotKeptMessage(DesktopSettings::fileName(), why), Buttons::Ok);
    updateCommandStates();
    return true;
}

int DesktopApp::ExitInstance() {
    sessions_.clear();
    return core_.ExitInstance();
}

void DesktopApp::connectActions() {
    const MainActions& a = frame_->actions();
    auto bind = [this](QAction* action, void (DesktopApp::*command)()) {
        connect(action, &QAction::triggered, this,
                [this, command] { guarded([&] { (this->*command)(); }); });
    };
    bind(a.fileOpen, &DesktopApp::OnFileOpen);
    bind(a.openExampleHere, &DesktopApp::OnOpenExampleHere);
    bind(a.referenceDatabase, &DesktopApp::OnReferenceDatabase);
    bind(a.taxonTranslations, &DesktopApp::OnTaxonTranslations);
    bind(a.viewTaxonMatching, &DesktopApp::OnViewTaxonMatching);
    bind(a.runDetails, &DesktopApp::OnRunDetails);
    bind(a.fileClose, &DesktopApp::OnFileClose);
    bind(a.saveResults, &DesktopApp::OnSaveResults);
    bind(a.fileSave, &DesktopApp::OnFileSave);
    bind(a.saveChart, &DesktopApp::OnSaveChart);
    bind(a.print, &DesktopApp::OnPrint);
    bind(a.printPreview, &DesktopApp::OnPrintPreview);
    bind(a.printSetup, &DesktopApp::OnPrintSetup);
    bind(a.copy, &DesktopApp::OnCopy);
    bind(a.selectAll, &DesktopApp::OnSelectAll);
    bind(a.help, &DesktopApp::OnHelp);
    bind(a.about, &DesktopApp::OnAppAbout);
    bind(a.viewTaxonList, &DesktopApp::OnViewTaxonList);
    bind(a.openExample, &DesktopApp::OnOpenExample);
    for (std::size_t i = 0; i < a.recentFiles.size(); ++i)
        connect(a.recentFiles[i], &QAction::triggered, this,
                [this, i] { guarded([&] { OnOpenRecentFile(i); }); });
    connect(frame_->mdiArea(), &QMdiArea::subWindowActivated, this,
            &DesktopApp::updateCommandStates);
}

void DesktopApp::guarded(const std::function<void()>& command) {
    try {
        runGuarded(port_, [&] {
            command();
            return Outcome::done();
        });
    } catch (const std::exception& e) {
        port_.message(commandFailureMessage(e.what()), Buttons::Ok);
    }
}

DocumentSession* DesktopApp::activeSession() const {
    return frame_ ? sessionOf(frame_->mdiArea()->activeSubWindow()) : nullptr;
}

void DesktopApp::updateCommandStates() {
    if (!frame_)
        return;
    const MainActions& a = frame_->actions();
    DocumentSession* session = activeSession();
    QMdiSubWindow* active = frame_->mdiArea()->activeSubWindow();
    ViewCommands* view = viewOf(active);
    a.saveResults->setEnabled(session && session->doc().m_bAnalysed);
    a.viewTaxonMatching->setEnabled(session && session->doc().m_bAnalysed);
    a.runDetails->setEnabled(session && session->doc().m_bAnalysed);
    a.fileClose->setEnabled(active != nullptr);
    a.copy->setEnabled(view && view->canCopy());
    a.selectAll->setEnabled(view && view->canCopy());
    a.print->setEnabled(view && view->canPrint());
    a.printPreview->setEnabled(view && view->canPrint());
    a.saveChart->setEnabled(view && view->canSaveChart());
    // What a tabbed view offers changes with its tab (a chart or a grid).
    if (auto* tabs = active ? qobject_cast<QTabWidget*>(active->widget()) : nullptr)
        connect(tabs, &QTabWidget::currentChanged, this, &DesktopApp::updateCommandStates,
                Qt::UniqueConnection);
}

// ---- Documents ----

void DesktopApp::OnFileOpen() {
    QFileDialog dialog(nullptr, "Open");
    dialog.setObjectName("fileOpenDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({"Workbooks (*.xls *.xlsx *.ods *.fods *.csv *.tsv)",
                           "Excel Workbook (*.xls *.xlsx)", "All Files (*)"});
    dialog.selectNameFilter("Workbooks (*.xls *.xlsx *.ods *.fods *.csv *.tsv)");
    dialog.setDirectory(rememberedFolder(FileKind::Workbook));
    fitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    rememberFolder(FileKind::Workbook, dialog.selectedFiles().front());
    OpenDocumentFile(dialog.selectedFiles().front().toStdString());
}

DocumentSession* DesktopApp::OpenDocumentFile(const std::string& path) {
    auto doc = std::make_unique<CPbtDoc>(core_, port_);
    port_.forgetLastWork();
    bool opened = false;
    guarded([&] { opened = doc->OnOpenDocument(path).ok(); });
    if (!opened) {
        // An entry of the recent-file list that can no longer be opened leaves the list;
        // one whose reading the user stopped stays.
        if (port_.lastWorkCancelled())
            return nullptr;
        recent_.remove(path);
        storeRecentFiles();
        showRecentFiles();
        return nullptr;
    }
    recent_.add(path);
    storeRecentFiles();
    showRecentFiles();
    DocumentSession* session = addSession(std::move(doc));
    return session;
}

DocumentSession* DesktopApp::addSession(std::unique_ptr<CPbtDoc> doc) {
    doc->m_minScoredShare = DesktopSettings::minScoredShare();
    sessions_.push_back(std::make_unique<DocumentSession>(std::move(doc), *frame_->mdiArea()));
    DocumentSession* session = sessions_.back().get();
    session->useSuggestion = [this, session](int taxon, int index) {
        guarded([&] { UseSuggestion(*session, taxon, index); });
    };
    session->scoredShareChanged = [](double share) { DesktopSettings::storeMinScoredShare(share); };
    connect(session, &DocumentSession::changed, this, &DesktopApp::updateCommandStates);
    connect(session, &DocumentSession::closed, this, &DesktopApp::forget, Qt::QueuedConnection);
    session->openPanel();
    updateCommandStates();
    return session;
}

void DesktopApp::forget(DocumentSession* session) {
    auto it = std::find_if(sessions_.begin(), sessions_.end(),
                           [session](const auto& s) { return s.get() == session; });
    if (it != sessions_.end())
        sessions_.erase(it);
    updateCommandStates();
}

void DesktopApp::OnOpenRecentFile(std::size_t index) {
    if (index < recent_.entries().size())
        OpenDocumentFile(recent_.entries()[index]);
}

void DesktopApp::OnOpenExampleHere() {
    OpenDocumentFile(core_.examplePath.string());
}

void DesktopApp::OnFileClose() {
    QMdiSubWindow* active = frame_->mdiArea()->activeSubWindow();
    if (!active)
        return;
    if (DocumentSession* session = sessionOf(active))
        session->CanCloseFrame(active);
    else
        active->close();
}

void DesktopApp::OnSaveResults() {
    DocumentSession* session = activeSession();
    if (!session || !session->doc().m_bAnalysed)
        return;
    saveResultsWorkbook(session->doc());
    session->notifyChanged();
}

void DesktopApp::OnFileSave() {
    if (DocumentSession* session = activeSession()) {
        saveResultsWorkbook(session->doc());
        session->notifyChanged();
    }
}

bool DesktopApp::SaveAllModified() {
    bool go = true;
    guarded([&] {
        for (const auto& session : sessions_)
            if (!saveModified(session->doc())) {
                go = false;
                return;
            }
    });
    return go;
}

// ---- Windows of the application ----

void DesktopApp::OnViewTaxonList() {
    auto* frame = new CChildFrame(nullptr, createTaxonListView(core_), "Master taxon list");
    frame->setWindowIcon(QIcon(":/frusta/icons/frusta2.svg"));
    frame_->mdiArea()->addSubWindow(frame);
    frame->show();
    placeNewWindow(*frame_->mdiArea(), *frame);
    frame_->mdiArea()->setActiveSubWindow(frame);
}

void DesktopApp::OnAppAbout() {
    CAboutDlg about(aboutText(productVersion()), frame_.get());
    about.exec();
}

void DesktopApp::OnHelp() {
    const LaunchResult r = launcher_->open(ViewerKind::Pdf, core_.helpPath.string());
    if (r.status == LaunchResult::NoViewer)
        port_.message(kNoPdfViewerMessage, Buttons::Ok);
    else if (r.status == LaunchResult::Failed)
        port_.message(errorRunningProgramMessage(r.error), Buttons::OkCancel);
}

void DesktopApp::OnOpenExample() {
    const LaunchResult r = launcher_->open(ViewerKind::Spreadsheet, core_.examplePath.string());
    if (r.status == LaunchResult::NoViewer)
        port_.message(kNoSpreadsheetMessage, Buttons::Ok);
    else if (r.status == LaunchResult::Failed)
        port_.message(errorRunningProgramMessage(r.error), Buttons::OkCancel);
}

void DesktopApp::OnReferenceDatabase() {
    if (const auto file = chooseExistingFile(
            frame_.get(), "Reference database", "referenceDatabaseDialog",
            {"Reference databases (*.mdb *.accdb *.sqlite *.db)", "All Files (*)"}))
        UseReferenceDatabase(*file);
}

bool DesktopApp::UseReferenceDatabase(const std::filesystem::path& file) {
    bool used = false;
    guarded([&] {
        WaitCursor wait(port_);
        used = core_.UseReferenceDatabase(file, port_);
    });
    if (used)
        DesktopSettings::storeReferenceDatabase(file);
    return used;
}

// ---- Taxon matching ----

void DesktopApp::OnTaxonTranslations() {
    // With a table in use the user may choose another or stop using it.
    if (core_.translations) {
        const std::string name =
            std::filesystem::path(core_.translations->path).filename().string();
        switch (port_.message(translationsInUseMessage(name), Buttons::YesNoCancel)) {
        case Answer::No:
            core_.translations.reset();
            DesktopSettings::storeTranslationTable({});
            return;
        case Answer::Yes:
            break;
        default:
            return;
        }
    }
    if (const auto file = chooseExistingFile(
            frame_.get(), "Taxon translations", "translationsDialog",
            {"Translation tables (*.csv *.xlsx *.xls *.ods *.fods *.tsv *.txt)", "All Files (*)"},
            core_.translations ? core_.translations->path : std::string()))
        UseTranslations(*file);
}

bool DesktopApp::UseTranslations(const std::filesystem::path& file) {
    bool used = false;
    guarded([&] {
        WaitCursor wait(port_);
        used =
            loadTranslations(file.string(), core_.taxonTable.get(), port_, core_.translations).ok();
    });
    if (used)
        DesktopSettings::storeTranslationTable(file);
    return used;
}

void DesktopApp::OnViewTaxonMatching() {
    if (DocumentSession* session = activeSession(); session && session->doc().m_bAnalysed)
        session->ShowMatchingView();
}

void DesktopApp::OnRunDetails() {
    DocumentSession* session = activeSession();
    if (!session)
        return;
    RunDetailsDialog dialog(session->doc().m_runDetails, session->caption(), frame_.get());
    dialog.exec();
}

// The table that rows are added to: the one in use, else one the user names (a new .csv
// by default); nothing when the user cancels.
std::optional<std::string> DesktopApp::translationTableForRows() {
    if (core_.translations)
        return core_.translations->path;
    QFileDialog dialog(frame_.get(), "Add to which taxon translation table?");
    dialog.setObjectName("translationsSaveDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters({"CSV (*.csv)", "Excel 2007 (*.xlsx)", "Excel 97-2003 (*.xls)"});
    dialog.setDefaultSuffix("csv");
    dialog.selectFile("taxon-translations.csv");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void DesktopApp::UseSuggestion(DocumentSession& session, int taxon, int index) {
    CPbtDoc& doc = session.doc();
    const TaxonMatchView view(doc);
    if (taxon < 0 || taxon >= view.taxonCount() || index < 0 ||
        index >= view.suggestionCount(taxon))
        return;
    const std::optional<std::string> path = translationTableForRows();
    if (!path)
        return;
    const TranslationRow row{0, view.text(taxon, TaxonColumn::Code),
                             view.suggestionCode(taxon, index),
                             "suggested: " + view.suggestionReason(taxon, index)};
    if (!addTranslationRow(*path, row, port_) || !UseTranslations(*path))
        return;
    const std::string question = "The code " + row.from + " now translates to " + row.to + " in " +
                                 std::filesystem::path(*path).filename().string() +
                                 ".\nAnalyse again now?";
    if (port_.message(question, Buttons::YesNoCancel) != Answer::Yes)
        return;
    if (auto* panel = qobject_cast<CPbtView*>(session.panelFrame()->widget()))
        panel->OnAnalyse();
}

// ---- Edit and print commands of the active view ----

void DesktopApp::OnCopy() {
    if (ViewCommands* view = viewOf(frame_->mdiArea()->activeSubWindow()); view && view->canCopy())
        view->copy();
}

void DesktopApp::OnSaveChart() {
    if (ViewCommands* view = viewOf(frame_->mdiArea()->activeSubWindow());
        view && view->canSaveChart())
        view->saveChartAs();
}

void DesktopApp::OnSelectAll() {
    if (ViewCommands* view = viewOf(frame_->mdiArea()->activeSubWindow()))
        view->selectAll();
}

QPrinter& DesktopApp::printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void DesktopApp::OnPrint() {
    ViewCommands* view = viewOf(frame_->mdiArea()->activeSubWindow());
    if (!view || !view->canPrint())
        return;
    QPrintDialog dialog(&printer(), frame_.get());
    if (dialog.exec() == QDialog::Accepted)
        view->print(printer());
}

void DesktopApp::OnPrintPreview() {
    ViewCommands* view = viewOf(frame_->mdiArea()->activeSubWindow());
    if (!view || !view->canPrint())
        return;
    QPrintPreviewDialog preview(&printer(), frame_.get());
    preview.setObjectName("printPreview");
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [view](QPrinter* p) { view->print(*p); });
    preview.exec();
}

void DesktopApp::OnPrintSetup() {
    QPageSetupDialog dialog(&printer(), frame_.get());
    dialog.exec();
}

// ---- Recent files, kept in the settings as File1 to File4 ----

void DesktopApp::loadRecentFiles() {
    recent_ = RecentFileList(DesktopSettings::recentFiles());
}

void DesktopApp::storeRecentFiles() {
    DesktopSettings::storeRecentFiles(recent_.entries());
}

void DesktopApp::showRecentFiles() {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < recent_.entries().size(); ++i)
        texts.push_back(recentFileMenuText(i, recent_.entries()[i]));
    frame_->setRecentFiles(texts);
}

} // namespace frusta::gui
