// bench_grids: opens the grid windows on a document of 20,000 samples and 2,000 taxa and on a
// master taxon list of 100,000 records (offscreen), and prints the times and the memory; then
// times the desktop program's open path on the dense workbook of 2,000 samples x 1,500 taxa
// (3 million cells, made by bench_gen_workbook) until the worksheet dialog shows, against
// `frusta2-cli dump` of the same file.
//
// Usage: bench_grids [WORKBOOK]   (default: the dense workbook, made in a temporary folder)
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "gui/app/DesktopApp.h"
#include "gui/app/ViewerLauncher.h"
#include "gui/doc/DocumentSession.h"
#include "gui/doc/WorksheetSelectDialog.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/DataListView.h"
#include "gui/output/GridWindows.h"
#include "refdb/dbTable.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace frusta;

namespace {

constexpr int kSamples = 20000;
constexpr int kTaxa = 2000;
constexpr int kSites = 2000;
constexpr int kRecords = 100000;

long rssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

std::unique_ptr<CPbtDoc> bigDocument(CPbtApp& app, UserPort& port) {
    auto doc = std::make_unique<CPbtDoc>(app, port);
    doc->m_nSamples = kSamples;
    doc->m_nTaxa = kTaxa;
    doc->m_nInfoRows = 6;
    doc->m_nMetric = kMetricTDI4;
    doc->m_infoLabels = {"Sample name",       "Site code",       "Sampling date",
                         "Alkalinity (mg/l)", "Calcium (ueq/l)", "DOC (mg/l)"};
    doc->m_infoValues.assign(6, std::vector<std::string>(kSamples));
    for (int s = 0; s < kSamples; ++s) {
        const auto i = static_cast<std::size_t>(s);
        doc->m_infoValues[0][i] = "S" + std::to_string(s + 1);
        doc->m_infoValues[1][i] = "SITE" + std::to_string(s % kSites + 1);
        doc->m_infoValues[2][i] = std::to_string(39000 + s % 3000);
        doc->m_infoValues[3][i] = std::to_string(5 + s % 200);
        doc->m_infoValues[4][i] = std::to_string(20 + s % 300);
        doc->m_infoValues[5][i] = "2.5";
    }
    for (int t = 0; t < kTaxa; ++t)
        doc->m_taxa.push_back(
            {"TX" + std::to_string(1000 + t), "Taxon name " + std::to_string(t), ""});
    doc->m_pCounts = std::make_unique<dMat>(kSamples, kTaxa, 0.0);
    for (int s = 0; s < kSamples; ++s)
        for (int t = s % 7; t < kTaxa; t += 7)
            (*doc->m_pCounts)(s, t) = (s + t) % 50;
    doc->m_pResults = std::make_unique<dMat>(kSamples, kResultColumnCount, 0.0);
    for (int s = 0; s < kSamples; ++s)
        for (ResultColumn c : allResultColumns())
            if (c != ResultColumn::Type)
                (*doc->m_pResults)(s, col(c)) =
                    c == ResultColumn::Class ? 1 + s % 5 : (s % 100) * 0.37 + col(c);
    doc->m_resultLabels = resultLabels(kMetricTDI4);
    doc->m_comments.assign(kSamples, "");
    doc->m_pTaxonScored.resize(kTaxa);
    for (int t = 0; t < kTaxa; ++t)
        doc->m_pTaxonScored[static_cast<std::size_t>(t)] = t % 10 == 0 ? -1 : t;
    doc->m_uncLabels = siteLabels();
    doc->m_pUncertainty = std::make_unique<dMat>(kSites, kSiteColumnCount, 0.5);
    for (int i = 0; i < kSites; ++i)
        doc->m_siteCodes.push_back("SITE" + std::to_string(i + 1));
    doc->m_bAnalysed = true;
    doc->m_bUncertaintyDone = true;
    return doc;
}

std::shared_ptr<const dbTable> bigTaxonList() {
    auto table = std::make_shared<dbTable>();
    table->addColumn("NBSCode", ColumnType::Text);
    table->addColumn("TaxonCode", ColumnType::Text);
    table->addColumn("TaxonName", ColumnType::Text);
    table->addColumn("TDI3", ColumnType::Int);
    table->addColumn("TDI4", ColumnType::Double);
    table->addColumn("LTDI2", ColumnType::Double);
    table->addColumn("Motile", ColumnType::Bool);
    table->addColumn("Genus", ColumnType::Text);
    table->addColumn("TaxonKey", ColumnType::Long);
    table->setRowCount(kRecords);
    for (int r = 0; r < kRecords; ++r) {
        table->setText(r, 0, "NBSSYS" + std::to_string(2000100000LL + r));
        table->setText(r, 1, "TX" + std::to_string(r));
        table->setText(r, 2,
                       "Genus" + std::to_string(r % 900) + " species " +
                           std::string(static_cast<std::size_t>(r % 23), 'x'));
        table->setInt(r, 3, r % 6);
        table->setDouble(r, 4, (r % 50) / 10.0);
        table->setDouble(r, 5, (r % 37) / 7.0);
        table->setBool(r, 6, r % 3 == 0);
        table->setText(r, 7, "Genus" + std::to_string(r % 900));
        table->setLong(r, 8, 1000 + r);
    }
    return table;
}

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Shows the frame and draws it once, as the first paint after opening does.
void paintNow(QMdiSubWindow* frame) {
    frame->show();
    QApplication::processEvents();
    frame->repaint();
}

void repaintGrid(QTableView& view) {
    view.viewport()->repaint();
    for (QObject* child : view.children())
        if (auto* pane = qobject_cast<QTableView*>(child))
            pane->viewport()->repaint();
}

double jumpToFarEnd(QTableView& view) {
    QElapsedTimer timer;
    timer.start();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    repaintGrid(view);
    return msSince(timer);
}

constexpr int kRuns = 5;

// Wall time and processor time (user and system, every thread) of one run, in ms.
struct Cost {
    double wall = 1e300;
    double cpu = 1e300;
    void keepLeast(const Cost& other) {
        wall = std::min(wall, other.wall);
        cpu = std::min(cpu, other.cpu);
    }
};

double cpuMs(const rusage& u) {
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The least costs of `kRuns` runs of `frusta2-cli dump WORKBOOK` to /dev/null.
Cost dumpCost(const QString& workbook) {
    const std::string cli = (QCoreApplication::applicationDirPath() + "/frusta2-cli").toStdString();
    const std::string book = workbook.toStdString();
    Cost best;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        const pid_t child = fork();
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            execl(cli.c_str(), cli.c_str(), "dump", book.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        best.keepLeast({msSince(timer), cpuMs(usage)});
    }
    return best;
}

struct NoViewer : gui::ViewerLauncher {
    gui::LaunchResult open(gui::ViewerKind, const std::string&) override { return {}; }
};

// The least costs of `kRuns` File Open paths from the chosen file to the worksheet dialog
// on screen; the dialog is cancelled each time.
Cost openPathCost(const QString& workbook) {
    gui::DesktopApp desktop;
    desktop.InitInstance({QCoreApplication::applicationDirPath().toStdString(), std::nullopt, 0,
                          std::make_shared<NoViewer>()});
    Cost best;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        double cpuStart = 0;
        Cost shown;
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog =
                qobject_cast<gui::WorksheetSelectDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            dialog->repaint();
            shown = {msSince(timer), processCpuMs() - cpuStart};
            poll.stop();
            dialog->reject();
        });
        poll.start();
        timer.start();
        cpuStart = processCpuMs();
        desktop.OpenDocumentFile(workbook.toStdString());
        best.keepLeast(shown);
    }
    return best;
}

void benchOpenPath(QString workbook) {
    QTemporaryDir folder;
    if (workbook.isEmpty()) {
        workbook = folder.filePath("dense.xlsx");
        QProcess::execute(QCoreApplication::applicationDirPath() + "/bench_gen_workbook",
                          {workbook, "2000", "1500", "0.10", "zeros"});
    }
    const Cost dump = dumpCost(workbook);
    const Cost open = openPathCost(workbook);
    std::printf("open path of %s (least of %d runs; wall time, then processor time of all "
                "threads):\n",
                qPrintable(QDir().relativeFilePath(workbook)), kRuns);
    std::printf("  frusta2-cli dump: %.0f ms, %.0f ms\n", dump.wall, dump.cpu);
    std::printf("  desktop File Open to the worksheet dialog on screen: %.0f ms, %.0f ms: %.2f "
                "and %.2f x dump (goal 1.2)\n",
                open.wall, open.cpu, open.wall / dump.wall, open.cpu / dump.cpu);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ScriptedPort port;
    port.worksheet = std::nullopt;
    CPbtApp app;
    app.classNames = {"High", "Good", "Moderate", "Poor", "Bad"};
    QMdiArea area;
    area.resize(1200, 800);
    area.show();
    QApplication::processEvents();

    const long rssStart = rssKb();
    gui::DocumentSession session(bigDocument(app, port), area);
    const long rssDoc = rssKb();
    std::printf("document %d samples x %d taxa: %.1f MB\n", kSamples, kTaxa,
                (rssDoc - rssStart) / 1024.0);

    QElapsedTimer timer;
    timer.start();
    session.ShowResultsView();
    paintNow(session.resultsFrame());
    std::printf("results window open and drawn: %.1f ms (goal 200)\n", msSince(timer));

    timer.restart();
    session.ShowDataView();
    paintNow(session.dataFrame());
    std::printf("data window (%d x %d) open and drawn: %.1f ms (goal 200)\n", kTaxa + 6,
                kSamples + 2, msSince(timer));
    const long rssWindows = rssKb();
    std::printf("memory of both windows: %.1f MB (goal: a few MB)\n",
                (rssWindows - rssDoc) / 1024.0);

    auto* results = qobject_cast<gui::CChildResFrame*>(session.resultsFrame()->widget());
    auto* data = qobject_cast<gui::DataListView*>(session.dataFrame()->widget());
    area.setActiveSubWindow(session.resultsFrame());
    std::printf("results: jump to the far end and repaint: %.1f ms (goal 30)\n",
                jumpToFarEnd(*results->grid(0)));
    area.setActiveSubWindow(session.dataFrame());
    std::printf("data: jump to the far end and repaint: %.1f ms (goal 30)\n", jumpToFarEnd(*data));

    app.taxonTable = bigTaxonList();
    timer.restart();
    QWidget* list = gui::createTaxonListView(app);
    QMdiSubWindow* frame = area.addSubWindow(list);
    frame->resize(1000, 700);
    paintNow(frame);
    std::printf("master taxon list (%d rows) open and drawn: %.1f ms (goal 1000)\n", kRecords,
                msSince(timer));
    benchOpenPath(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    return 0;
}
