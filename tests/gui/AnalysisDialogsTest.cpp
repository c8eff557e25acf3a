// An analysis in the desktop program as a user makes it: File Open, the worksheet dialog's
// controls, Analyse, Save, and the results compared with what the command line writes.
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/doc/CPbtView.h"
#include "gui/doc/DocumentSession.h"
#include "gui/doc/ImpGrid.h"
#include "gui/doc/WorksheetSelectDialog.h"
#include "gui/engine/CDefaultDialog.h"
#include "support/GuiTestSupport.h"
#include "workbook/Book.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

using namespace frusta;
using namespace frusta::gui;
using frusta::guitest::answerMessage;
using frusta::guitest::kExample;
using frusta::guitest::kProgramDir;
using frusta::guitest::NoLauncher;
using frusta::guitest::typeNameAndAccept;
using frusta::guitest::whenModal;

namespace {

// The example as LibreOffice and scripts save it.
const std::filesystem::path kFormats = FRUSTA_EXAMPLE_FORMATS_DIR;

struct SheetChoice {
    QString sheet;
    int family;
    bool latest;
    int firstRowIndex; // row list selection, -1: keep the proposal
    int firstColIndex;
};

void chooseSheet(const SheetChoice& c) {
    whenModal([c](QWidget* w) {
        auto* d = qobject_cast<WorksheetSelectDialog*>(w);
        QVERIFY(d);
        const auto items = d->sheetList()->findItems(c.sheet, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        d->sheetList()->setCurrentItem(items.front());
        QTest::mouseClick(d->metricButton(c.family), Qt::LeftButton);
        if (c.family != 2)
            QTest::mouseClick(c.latest ? d->latestButton() : d->previousButton(), Qt::LeftButton);
        if (c.firstRowIndex >= 0) {
            d->rowList()->setCurrentIndex(c.firstRowIndex);
            emit d->rowList()->activated(c.firstRowIndex);
        }
        if (c.firstColIndex >= 0) {
            d->colList()->setCurrentIndex(c.firstColIndex);
            emit d->colList()->activated(c.firstColIndex);
        }
        guitest::pressButton(d, "OK");
    });
}

// Answers the File Open dialog with `path`, then the worksheet dialog with `choice`.
void chooseFileAndSheet(const std::string& path, const SheetChoice& choice) {
    whenModal([path, choice](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QString("Open"));
        QCOMPARE(d->nameFilters(), (QStringList{"Workbooks (*.xls *.xlsx *.ods *.fods *.csv *.tsv)",
                                                "Excel Workbook (*.xls *.xlsx)", "All Files (*)"}));
        QCOMPARE(d->selectedNameFilter(),
                 QString("Workbooks (*.xls *.xlsx *.ods *.fods *.csv *.tsv)"));
        chooseSheet(choice);
        typeNameAndAccept(d, QString::fromStdString(path));
    });
}

// Answers the results file dialog: the type chosen in its type list, then the name typed.
void saveAs(const std::string& path, bool xlsx) {
    whenModal([path, xlsx](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        QVERIFY(d);
        auto* box = d->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(box);
        QCOMPARE(box->text(), QString("Results.xls"));
        auto* types = d->findChild<QComboBox*>("fileTypeCombo");
        QVERIFY(types);
        QCOMPARE(types->count(), 2);
        QCOMPARE(types->itemText(0), QString("Excel 97-2003 (*.xls)"));
        QCOMPARE(types->itemText(1), QString("Excel 2007 (*.xlsx)"));
        QCOMPARE(types->currentIndex(), 0);
        if (xlsx) {
            types->setCurrentIndex(1);
            emit types->activated(1);
            QCOMPARE(box->text(), QString("Results.xlsx"));
        }
        typeNameAndAccept(d, QString::fromStdString(path));
    });
}

CPbtView* panelOf(DocumentSession* s) {
    return qobject_cast<CPbtView*>(s->panelFrame()->widget());
}

// Opens the example as a rivers job through File Open and presses Analyse; its panel, or
// null when no document opened.
CPbtView* openAndAnalyseExample(DesktopApp& app) {
    chooseFileAndSheet(kExample, {"Rivers", 0, true, -1, -1});
    app.mainFrame().actions().fileOpen->trigger();
    if (app.sessions().size() != 1)
        return nullptr;
    CPbtView* panel = panelOf(app.activeSession());
    QTest::mouseClick(panel->button("Analyse"), Qt::LeftButton);
    return panel;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The run details that differ between two analyses of one workbook: the time.
const QStringList kRunTime = {"Analysed at (UTC)"};
// ... and, for two files of the same data, those that name the input file.
const QStringList kRunTimeAndInput = {"Analysed at (UTC)", "Input workbook",
                                      "Input workbook folder", "Input workbook SHA-256"};

// Every cell of every sheet, as text, for comparing two results workbooks; the values of
// the run details named in `varying` are left out.
QStringList cellsOf(const std::string& path, const QStringList& varying = kRunTime) {
    auto book = path.size() > 4 && path.substr(path.size() - 4) == ".xls" ? Book::createBinary()
                                                                          : Book::createXml();
    QStringList out;
    if (!book->load(path))
        return {"unreadable"};
    for (int i = 0; i < book->sheetCount(); ++i) {
        const Sheet* s = book->getSheet(i);
        out << QString::fromStdString(s->name());
        for (int r = 0; r < s->lastRow(); ++r)
            for (int c = 0; c < s->lastCol(); ++c) {
                const CellType t = s->cellType(r, c);
                if (t == CellType::Number)
                    out << QString("%1,%2=%3").arg(r).arg(c).arg(s->readNum(r, c), 0, 'g', 17);
                else if (s->name() == "Run details" && c == 1 &&
                         varying.contains(QString(s->readStr(r, 0))))
                    out << QString("%1,%2=(varies)").arg(r).arg(c);
                else if (t == CellType::String)
                    out << QString("%1,%2=%3").arg(r).arg(c).arg(s->readStr(r, c));
            }
    }
    return out;
}

// The results workbook of the example's `sheet` as the command line writes it from the .xls.
QStringList cliResultsOfExample(const QString& sheet, const char* metric, const QString& path,
                                const QStringList& varying = kRunTimeAndInput) {
    QProcess cli;
    cli.start(QString::fromStdString((kProgramDir / "frusta2-cli").string()),
              {"assess", QString::fromStdString(kExample), "--sheet", sheet, "--metric", metric,
               "-o", path});
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        return {"failed"};
    return cellsOf(path.toStdString(), varying);
}

// The cells with the workbook's file name in the job summary made neutral.
QStringList withoutFileName(QStringList cells, const QString& name) {
    return cells.replaceInStrings(name, "WORKBOOK");
}

// Answers File Open with `path`, then reads the worksheet dialog's note and presses OK; the
// message that follows, if any, goes to `shown`.
void openNotingTheDialog(const std::string& path, QString& note, std::vector<std::string>& shown) {
    whenModal([path, &note, &shown](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        QVERIFY(d);
        whenModal([&note, &shown](QWidget* s) {
            auto* dialog = qobject_cast<WorksheetSelectDialog*>(s);
            QVERIFY(dialog);
            note = dialog->notesLabel()->isVisibleTo(dialog) ? dialog->notesLabel()->text()
                                                             : QString("(none)");
            answerMessage(shown, "OK", 2000);
            guitest::pressButton(dialog, "OK");
        });
        typeNameAndAccept(d, QString::fromStdString(path));
    });
}

} // namespace

class AnalysisDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QSettings("FRUSTA2", "FRUSTA").clear(); }

    void eachWorksheetOpenedThroughTheDialogsAndAnalysedEqualsTheCommandLine() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        QTemporaryDir out;
        const struct {
            SheetChoice choice;
            const char* metric;
        } cases[] = {{{"Rivers", 0, true, -1, -1}, "TDI4"},
                     {{"Lakes", 1, false, -1, -1}, "LTDI1"},
                     {{"Acidification", 2, true, -1, -1}, "DAM"}};
        for (const auto& c : cases) {
            chooseFileAndSheet(kExample, c.choice);
            app.mainFrame().actions().fileOpen->trigger();
            QCOMPARE(app.sessions().size(), std::size_t(1));
            DocumentSession* session = app.activeSession();
            QVERIFY2(session, c.metric);
            CPbtView* panel = panelOf(session);
            QVERIFY(panel->summary()->isReadOnly());
            QVERIFY(panel->summary()->toPlainText().contains("Metric:"));
            QVERIFY(panel->button("Analyse")->isEnabled());
            QVERIFY(!panel->button("View Results")->isEnabled());
            QVERIFY(!panel->button("Save")->isEnabled());
            QVERIFY(!app.mainFrame().actions().saveResults->isEnabled());
            QTest::mouseClick(panel->button("Analyse"), Qt::LeftButton);
            QVERIFY(!panel->button("Analyse")->isEnabled());
            QVERIFY(panel->button("View Results")->isEnabled());
            QVERIFY(panel->button("Save")->isEnabled());
            QVERIFY(app.mainFrame().actions().saveResults->isEnabled());
            QCOMPARE(session->doc().m_bUncertaintyDone, c.choice.family != 2);
            for (bool xlsx : {true, false}) {
                const QString ext = xlsx ? "xlsx" : "xls";
                const std::string ours =
                    out.filePath(QString("%1-gui.%2").arg(c.metric, ext)).toStdString();
                const std::string theirs =
                    out.filePath(QString("%1-cli.%2").arg(c.metric, ext)).toStdString();
                saveAs(ours, xlsx);
                QTest::mouseClick(panel->button("Save"), Qt::LeftButton);
                QVERIFY(!session->doc().IsModified());
                QVERIFY(std::filesystem::exists(ours));
                QProcess cli;
                cli.start(QString::fromStdString((kProgramDir / "frusta2-cli").string()),
                          {"assess", QString::fromStdString(kExample), "--sheet", c.choice.sheet,
                           "--metric", c.metric, "-o", QString::fromStdString(theirs)});
                QVERIFY(cli.waitForFinished(60000));
                QCOMPARE(cli.exitCode(), 0);
                QCOMPARE(cellsOf(ours), cellsOf(theirs));
            }
            // Saved: Close asks nothing.
            QTest::mouseClick(panel->button("Close"), Qt::LeftButton);
            QTRY_VERIFY(app.sessions().empty());
        }
    }

    // The example saved as .ods, .fods and CSV opens through File Open as the .xls does and
    // gives the same results workbook, cell for cell; the recent-file list takes the files.
    void everyFormatOpenedThroughFileOpenGivesTheResultsOfTheXls() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        QTemporaryDir out;
        const struct {
            std::filesystem::path file;
            SheetChoice choice;
            const char* metric;
        } cases[] = {
            {kFormats / "FRUSTA2TestData.ods", {"Lakes", 1, true, -1, -1}, "LTDI2"},
            {kFormats / "FRUSTA2TestData.fods", {"Rivers", 0, true, -1, -1}, "TDI4"},
            {kFormats / "csv/Acidification.csv", {"Acidification", 2, true, -1, -1}, "DAM"},
            {kFormats / "semicolon/Rivers.csv", {"Rivers", 0, false, -1, -1}, "TDI3"}};
        for (const auto& c : cases) {
            const QString name = QString::fromStdString(c.file.filename().string());
            chooseFileAndSheet(c.file.string(), c.choice);
            app.mainFrame().actions().fileOpen->trigger();
            QCOMPARE(app.sessions().size(), std::size_t(1));
            CPbtView* panel = panelOf(app.activeSession());
            QVERIFY(panel->summary()->toPlainText().startsWith("File:\t" + name));
            QTest::mouseClick(panel->button("Analyse"), Qt::LeftButton);
            const QString ours = out.filePath(name + ".xlsx");
            saveAs(ours.toStdString(), true);
            QTest::mouseClick(panel->button("Save"), Qt::LeftButton);
            const QStringList want =
                cliResultsOfExample(c.choice.sheet, c.metric, out.filePath(name + "-cli.xlsx"));
            QCOMPARE(withoutFileName(cellsOf(ours.toStdString(), kRunTimeAndInput), name),
                     withoutFileName(want, "FRUSTA2TestData.xls"));
            QTest::mouseClick(panel->button("Close"), Qt::LeftButton);
            QTRY_VERIFY(app.sessions().empty());
        }
        // The last file opened heads the recent-file list and opens again from it.
        chooseSheet({"Rivers", 0, true, -1, -1});
        app.OnOpenRecentFile(0);
        QCOMPARE(app.sessions().size(), std::size_t(1));
        QVERIFY(
            panelOf(app.activeSession())->summary()->toPlainText().startsWith("File:\tRivers.csv"));
    }

    // A text file that is not UTF-8 says so in the worksheet dialog; dates written as
    // 01/30/2009 are warned about once the file is read, before any analysis.
    void textFilesTellHowTheyWereRead() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        QTemporaryDir dir;
        QFile utf8(QString::fromStdString((kFormats / "csv/Rivers.csv").string()));
        QVERIFY(utf8.open(QIODevice::ReadOnly));
        QByteArray bytes = utf8.readAll();
        bytes.replace("Sample name", "\xC9"
                                     "chantillon"); // Windows-1252
        const QString windows = dir.filePath("Rivers-1252.csv");
        writeBytes(windows, bytes);
        QString note;
        std::vector<std::string> shown;
        openNotingTheDialog(windows.toStdString(), note, shown);
        app.mainFrame().actions().fileOpen->trigger();
        QCOMPARE(note, QString("The file is not UTF-8 text; it was read as Windows-1252 (Western "
                               "European)."));
        QVERIFY(shown.empty());
        QCOMPARE(app.sessions().size(), std::size_t(1));
        QTest::qWait(2100); // the unanswered wait for a message ends

        openNotingTheDialog((kFormats / "libreoffice/FRUSTA2TestData-Rivers.csv").string(), note,
                            shown);
        app.mainFrame().actions().fileOpen->trigger();
        QCOMPARE(note, QString("(none)"));
        QCOMPARE(shown, std::vector<std::string>{
                            "The sampling dates of 24 samples are written as 01/30/2009 (row 3, "
                            "column C) and the like, which may be day/month or month/day; they are "
                            "read as missing dates.\nWrite dates in CSV files as year-month-day, "
                            "for example 2009-01-30."});
        QCOMPARE(app.sessions().size(), std::size_t(2));
        QVERIFY(panelOf(app.activeSession())->button("Analyse")->isEnabled());
    }

    // File Open and the results file dialog start in the folder last used for their kind of
    // file, kept for the next start; the first time in the user's home folder.
    void fileDialogsStartInTheFolderLastUsed() {
        QSettings("FRUSTA2", "FRUSTA").clear();
        // The folder of the file dialog that `open` shows, which is then cancelled.
        auto folderOfNextDialog = [](const std::function<void()>& open) {
            QString folder;
            whenModal([&folder](QWidget* w) {
                auto* d = qobject_cast<QFileDialog*>(w);
                QVERIFY(d);
                folder = QFileInfo(d->directory().absolutePath()).canonicalFilePath();
                guitest::pressButton(d, "Cancel");
            });
            open();
            return folder;
        };
        const QString exampleFolder = QFileInfo(QString::fromStdString(kExample)).canonicalPath();
        QTemporaryDir results;
        {
            DesktopApp app;
            QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
            auto fileOpen = [&app] { app.mainFrame().actions().fileOpen->trigger(); };
            QCOMPARE(folderOfNextDialog(fileOpen), QFileInfo(QDir::homePath()).canonicalFilePath());
            CPbtView* panel = openAndAnalyseExample(app);
            QVERIFY(panel);
            QCOMPARE(folderOfNextDialog(fileOpen), exampleFolder);
            saveAs(results.filePath("Results.xls").toStdString(), false);
            QTest::mouseClick(panel->button("Save"), Qt::LeftButton);
            QVERIFY(QFileInfo::exists(results.filePath("Results.xls")));
            QCOMPARE(folderOfNextDialog(
                         [panel] { QTest::mouseClick(panel->button("Save"), Qt::LeftButton); }),
                     QFileInfo(results.path()).canonicalFilePath());
            app.activeSession()->doc().SetModifiedFlag(false);
        }
        DesktopApp again;
        QVERIFY(again.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        QCOMPARE(folderOfNextDialog([&again] { again.mainFrame().actions().fileOpen->trigger(); }),
                 exampleFolder);
    }

    void fileDialogsCancelRefuseAndReport() {
        DesktopApp app;
        auto launcher = std::make_shared<NoLauncher>();
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, launcher}));
        QTemporaryDir dir;
        // Cancel in File Open does nothing.
        whenModal([](QWidget* w) { guitest::pressButton(w, "Cancel"); });
        app.mainFrame().actions().fileOpen->trigger();
        QVERIFY(app.sessions().empty());
        // A file that is no workbook: the reader's message with its reason, and no window.
        const QString broken = dir.filePath("broken.xls");
        writeBytes(broken, "Site,Date\nA,1\n");
        QString reason;
        whenModal([broken, &reason](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            whenModal([&reason](QWidget* m) {
                auto* box = qobject_cast<QMessageBox*>(m);
                QVERIFY(box);
                QCOMPARE(box->text(), QString("Error reading file"));
                reason = box->informativeText();
                box->accept();
            });
            typeNameAndAccept(d, broken);
        });
        app.mainFrame().actions().fileOpen->trigger();
        QVERIFY(app.sessions().empty());
        QVERIFY(!reason.isEmpty());
        QCOMPARE(app.mainFrame().mdiArea()->subWindowList().size(), 0);

        CPbtView* panel = openAndAnalyseExample(app);
        QVERIFY(panel);
        // The results file dialog's Help opens the help; Cancel writes nothing, not even over
        // an existing file.
        const QString existing = dir.filePath("Results.xls");
        writeBytes(existing, "keep");
        bool helpShown = false;
        whenModal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            helpShown = guitest::pressButton(d, "Help");
            guitest::pressButton(d, "Cancel");
        });
        QTest::mouseClick(panel->button("Save"), Qt::LeftButton);
        QVERIFY(helpShown);
        QCOMPARE(launcher->calls, 1);
        QVERIFY(app.activeSession()->doc().IsModified());
        QFile kept(existing);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep"));
        app.activeSession()->doc().SetModifiedFlag(false);
    }

    // A name in a folder that does not exist is refused with a message and the dialog stays
    // open; an existing file is replaced only after Yes to Qt's question.
    void resultsFileDialogRefusesMissingFolderAndAsksBeforeReplacing() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        QTemporaryDir dir;
        CPbtView* panel = openAndAnalyseExample(app);
        QVERIFY(panel);
        const QString existing = dir.filePath("Results.xls");
        writeBytes(existing, "keep");
        const QString missingFolder = dir.filePath("no such folder");
        QStringList said;
        bool openAfterRefusal = false, openAfterNo = false;
        auto answerBox = [&said](const QString& button) {
            whenModal([&said, button](QWidget* m) {
                auto* box = qobject_cast<QMessageBox*>(m);
                QVERIFY(box);
                said << box->text();
                QVERIFY(guitest::pressButton(box, button));
            });
        };
        whenModal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            QVERIFY(d);
            answerBox("OK");
            typeNameAndAccept(d, missingFolder + "/Results.xls");
            openAfterRefusal = d->isVisible();
            answerBox("No");
            typeNameAndAccept(d, existing);
            openAfterNo = d->isVisible();
            answerBox("Yes");
            typeNameAndAccept(d, existing);
        });
        QTest::mouseClick(panel->button("Save"), Qt::LeftButton);
        QVERIFY(openAfterRefusal);
        QVERIFY(openAfterNo);
        QCOMPARE(said.size(), 3);
        QCOMPARE(said[0], QDir::toNativeSeparators(missingFolder) +
                              "\nThe folder does not exist.\nCheck the name and try again.");
        QCOMPARE(said[1], QString("Results.xls already exists.\nDo you want to replace it?"));
        QCOMPARE(said[2], said[1]);
        QVERIFY(!std::filesystem::exists(missingFolder.toStdString()));
        QVERIFY(!app.activeSession()->doc().IsModified());
        auto saved = Book::createBinary();
        QVERIFY2(saved->load(existing.toStdString()), saved->errorMessage());
        QVERIFY(saved->sheetCount() >= 2);
        QCOMPARE(saved->getSheet(0)->name(), std::string("Job Summary"));
        QCOMPARE(saved->getSheet(1)->name(), std::string("Sample Summary"));
    }

    void worksheetDialogProposesRowsAndFollowsClicks() {
        auto book = Book::createBinary();
        QVERIFY(book->load(kExample));
        WorksheetRequest request;
        for (int i = 0; i < book->sheetCount(); ++i)
            request.sheetNames.push_back(book->getSheet(i)->name());
        request.book = book.get();
        QtUserPort port;
        WorksheetSelectDialog d(request, port, nullptr);
        d.show();
        QCOMPARE(d.windowTitle(), QString("Select worksheet"));
        // The list's label as users' instructions quote it, with its slip.
        QStringList labels;
        for (const QLabel* l : d.findChildren<QLabel*>())
            labels << l->text();
        QVERIFY(labels.contains("Avaliable worksheets"));
        QVERIFY(d.m_nFirstRow > 1); // proposed from column B
        const int proposed = d.m_nFirstRow;
        QCOMPARE(d.rowList()->currentIndex(), proposed - 1);
        QCOMPARE(d.colList()->currentText(), QString("C"));
        QCOMPARE(d.rowList()->count(), 20);
        QCOMPARE(d.colList()->itemText(19), QString("T"));
        // DAM greys out both version buttons; TDI enables them, keeping the checked one.
        QTest::mouseClick(d.previousButton(), Qt::LeftButton);
        QTest::mouseClick(d.metricButton(2), Qt::LeftButton);
        QVERIFY(!d.latestButton()->isEnabled() && !d.previousButton()->isEnabled());
        QTest::mouseClick(d.metricButton(0), Qt::LeftButton);
        QVERIFY(d.latestButton()->isEnabled() && d.previousButton()->isChecked());
        // The preview: headers, the date row and the count block colour.
        ImpGridModel& m = d.preview()->gridModel();
        QCOMPARE(m.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString("A"));
        QCOMPARE(m.headerData(26, Qt::Horizontal, Qt::DisplayRole).toString(), QString("AA"));
        QCOMPARE(m.data(m.index(proposed - 1, 2), Qt::BackgroundRole).value<QColor>(),
                 QColor(200, 255, 255));
        QCOMPARE(m.data(m.index(proposed - 2, 2), Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 255, 255));
        QCOMPARE(m.data(m.index(proposed - 1, 1), Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 255, 255));
        // A column beyond "T" clicked in the header: FC follows, the list shows nothing.
        if (m.columnCount() >= 25) {
            emit d.preview()->colChosen(25);
            QCOMPARE(d.m_nFirstCol, 25);
            QCOMPARE(d.colList()->currentIndex(), -1);
        }
        // A row beyond the used rows chosen in the list sets FR but not the colouring.
        if (m.rowCount() < 20) {
            d.rowList()->setCurrentIndex(19);
            emit d.rowList()->activated(19);
            QCOMPARE(d.m_nFirstRow, 20);
            QCOMPARE(m.firstRow(), proposed);
        }
        emit d.preview()->rowChosen(2);
        QCOMPARE(d.m_nFirstRow, 2);
        QCOMPARE(d.rowList()->currentIndex(), 1);
        d.reject();
    }

    void defaultsDialogChecksEachValue() {
        CDefaultDialog d({100.0, 100.0, 1.0}, nullptr);
        d.show();
        QCOMPARE(d.edit(0)->text(), QString("100"));
        QCOMPARE(d.edit(2)->text(), QString("1"));
        std::vector<std::string> shown;
        d.edit(1)->setText("150");
        answerMessage(shown);
        d.accept();
        QVERIFY(d.isVisible());
        d.edit(1)->setText("abc");
        answerMessage(shown);
        d.accept();
        d.edit(1)->setText("100");
        d.edit(0)->setText("1000.5");
        answerMessage(shown);
        d.accept();
        d.edit(0)->setText("20");
        d.edit(2)->setText("20.1");
        answerMessage(shown);
        d.accept();
        QCOMPARE(shown, (std::vector<std::string>{"Please enter a number between 0 and 100.",
                                                  "Please enter a number.",
                                                  "Please enter a number between 0 and 1000.",
                                                  "Please enter a number between 0 and 20."}));
        QVERIFY(d.isVisible());
        d.edit(2)->setText("0");
        d.accept();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.m_defaultAlk, 20.0);
        QCOMPARE(d.m_defaultDoc, 0.0);
    }
    void saveResultsQuestionAtCloseAndQuit() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        for (int i = 0; i < 2; ++i) {
            chooseSheet({"Rivers", 0, true, -1, -1});
            QVERIFY(app.OpenDocumentFile(kExample));
            QTest::mouseClick(panelOf(app.activeSession())->button("Analyse"), Qt::LeftButton);
        }
        QCOMPARE(app.sessions().size(), std::size_t(2));
        DocumentSession* first = app.sessions()[0].get();
        // View Data twice gives one window; closing it asks nothing.
        QTest::mouseClick(panelOf(first)->button("View Data"), Qt::LeftButton);
        QMdiSubWindow* data = first->dataFrame();
        QVERIFY(data);
        QTest::mouseClick(panelOf(first)->button("View Data"), Qt::LeftButton);
        QCOMPARE(first->dataFrame(), data);
        data->close();
        QTRY_VERIFY(!first->dataFrame());
        // Close: Cancel keeps every window of the document.
        std::vector<std::string> shown;
        answerMessage(shown, "Cancel");
        QTest::mouseClick(panelOf(first)->button("Close"), Qt::LeftButton);
        QCOMPARE(shown, std::vector<std::string>{"Save Results?"});
        QCOMPARE(app.sessions().size(), std::size_t(2));
        QVERIFY(first->panelFrame());
        // Quitting asks for every modified document; Cancel on the second stops the quit.
        shown.clear();
        answerMessage(shown, "No");
        QTimer::singleShot(300, [&] { answerMessage(shown, "Cancel"); });
        QVERIFY(!app.mainFrame().close());
        QCOMPARE(shown, (std::vector<std::string>{"Save Results?", "Save Results?"}));
        shown.clear();
        answerMessage(shown, "No");
        QTimer::singleShot(300, [&] { answerMessage(shown, "No"); });
        QVERIFY(app.mainFrame().close());
        QCOMPARE(shown.size(), std::size_t(2));
    }
};

QTEST_MAIN(AnalysisDialogsTest)
#include "AnalysisDialogsTest.moc"
