// The grid windows as a user reads them: headers and row headers, the site tab, frozen
// columns while scrolling, fitted widths, the unscored-taxa highlight before and after an
// analysis, master list windows, and copying cells into a spreadsheet.
#include "gui/output/GridWindows.h"
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/app/ViewerLauncher.h"
#include "gui/doc/DocumentSession.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/DataListView.h"
#include "gui/output/GridPane.h"
#include "gui/output/ResListView.h"
#include "gui/output/TaxonListView.h"
#include "output/GridText.h"
#include "output/ResultsBook.h"
#include "support/ExampleProgram.h"
#include "workbook/Book.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <set>

using namespace frusta;
using namespace frusta::gui;
using frusta::guitest::NoLauncher;

namespace {

using Fixture = frusta::guitest::ExampleSession;
using frusta::guitest::Analysis;
using frusta::guitest::kProgramDir;

QString cell(const QAbstractItemModel& m, int row, int col) {
    return m.index(row, col).data().toString();
}
QString header(const QAbstractItemModel& m, Qt::Orientation o, int section) {
    return m.headerData(section, o, Qt::DisplayRole).toString();
}

// A document built in memory: `samples` samples with one taxon; sample `wide` has a long name.
std::unique_ptr<CPbtDoc> memoryDoc(CPbtApp& app, UserPort& port, int samples, int wide) {
    auto doc = std::make_unique<CPbtDoc>(app, port);
    doc->m_nSamples = samples;
    doc->m_nTaxa = 1;
    doc->m_nInfoRows = 2;
    doc->m_infoLabels = {"Sample name", "Site code"};
    doc->m_infoValues.assign(2, std::vector<std::string>(static_cast<std::size_t>(samples), "S"));
    doc->m_infoValues[0][static_cast<std::size_t>(wide)] = std::string(60, 'W');
    doc->m_taxa = {{"AB001A", "Abc def", ""}};
    doc->m_pCounts = std::make_unique<dMat>(samples, 1, 3.0);
    doc->m_pResults = std::make_unique<dMat>(samples, kResultColumnCount, 1.0);
    doc->m_resultLabels.assign(resultLabels(kMetricTDI4).size(), "L");
    doc->m_comments.assign(static_cast<std::size_t>(samples), "");
    return doc;
}

// A minimal CSV reader for what soffice writes: commas, double quotes, one record a line.
QList<QStringList> readCsv(const QString& text) {
    QList<QStringList> rows;
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        QStringList cells;
        QString current;
        bool quoted = false;
        for (int i = 0; i < line.size(); ++i) {
            const QChar ch = line[i];
            if (quoted && ch == '"' && i + 1 < line.size() && line[i + 1] == '"')
                current += '"', ++i;
            else if (ch == '"')
                quoted = !quoted;
            else if (ch == ',' && !quoted)
                cells << current, current.clear();
            else if (ch != '\r')
                current += ch;
        }
        cells << current;
        rows << cells;
    }
    return rows;
}

} // namespace

class GridWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void resultsGridMapsHeadersRowHeadersAndCells() {
        Fixture f;
        CChildResFrame* tabs = f.results();
        QVERIFY(tabs);
        QCOMPARE(f.session->resultsFrame()->windowTitle(),
                 "Results view: FRUSTA2TestData.xls (Rivers, TDI4)");
        const CPbtDoc& doc = f.doc();
        const int nH = static_cast<int>(doc.m_infoValues.size());
        // Model column c shows grid column c + 1.
        const int eqr = cells::resultsGridColumn(doc, ResultColumn::Eqr) - 1;
        const int cls = cells::resultsGridColumn(doc, ResultColumn::Class) - 1;
        const QAbstractItemModel& m = *tabs->grid(0)->model();
        QCOMPARE(m.rowCount(), doc.m_pResults->nrow());
        QCOMPARE(m.columnCount(), nH + 11);
        // Grid row 0 is the header, grid column 0 the row header; model (0, 0) is cell (1, 1).
        QCOMPARE(header(m, Qt::Horizontal, 0), QString::fromStdString(doc.m_infoLabels[0]));
        QCOMPARE(header(m, Qt::Horizontal, nH), "Sample sum");
        QCOMPARE(header(m, Qt::Horizontal, eqr), "EQR TDI4");
        QCOMPARE(header(m, Qt::Vertical, 0), "1");
        QCOMPARE(header(m, Qt::Vertical, m.rowCount() - 1), QString::number(m.rowCount()));
        QCOMPARE(cell(m, 0, 0), "R01-1");
        QCOMPARE(cell(m, 0, 2), "30-Jan-2009");
        QCOMPARE(cell(m, 0, eqr), "0.49");
        QCOMPARE(cell(m, 0, cls), "Moderate");
        QCOMPARE(m.index(0, eqr).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QCOMPARE(tabs->grid(0)->frozenColumns(), 2);

        const QAbstractItemModel& sites = *tabs->grid(1)->model();
        QCOMPARE(sites.rowCount(), static_cast<int>(doc.m_siteCodes.size()));
        QCOMPARE(sites.columnCount(), 14);
        QCOMPARE(header(sites, Qt::Horizontal, 0), "Site code");
        QCOMPARE(header(sites, Qt::Horizontal, 13), "RoM-G/M");
        QCOMPARE(header(sites, Qt::Vertical, 0), "");
        QCOMPARE(cell(sites, 0, 0), "SITE01");
        QCOMPARE(cell(sites, 0, 1), "3.00");
        QCOMPARE(cell(sites, 0, 4), "Moderate");
        QCOMPARE(tabs->grid(1)->frozenColumns(), 1);
        // Every column, the row header included, is at least 50 pixels wide.
        for (int tab = 0; tab < 2; ++tab)
            for (int c = 0; c <= tabs->grid(tab)->model()->columnCount(); ++c)
                QVERIFY(tabs->grid(tab)->gridColumnWidth(c) >= 50);
    }

    void resultsWindowBeforeTheAnalysisShowsAnEmptyGrid() {
        Fixture before(Analysis::None);
        QCOMPARE(before.results()->grid(0)->model()->rowCount(), 0);
    }

    void frozenColumnsAndRowsStayInStepWhileScrolling() {
        Fixture f(Analysis::None);
        DataListView* view = f.data();
        f.session->dataFrame()->resize(500, 300);
        QVERIFY(QTest::qWaitForWindowExposed(f.session->dataFrame()));
        QCOMPARE(view->frozenRows(), 2);
        QCOMPARE(view->frozenColumns(), 2);
        QTableView* columns = view->frozenColumnPane();
        QTableView* rows = view->frozenRowPane();
        QVERIFY(columns && rows);
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum() / 2);
        QVERIFY(view->verticalScrollBar()->value() > 0);
        QCOMPARE(columns->verticalScrollBar()->value(), view->verticalScrollBar()->value());
        QCOMPARE(rows->horizontalScrollBar()->value(), view->horizontalScrollBar()->value());
        QCOMPARE(columns->horizontalScrollBar()->value(), 0);
        QCOMPARE(rows->verticalScrollBar()->value(), 0);
        // The frozen panes cover exactly the row header and the two frozen columns or rows.
        QCOMPARE(columns->width(),
                 view->verticalHeader()->width() + view->columnWidth(0) + view->columnWidth(1));
        QCOMPARE(rows->height(),
                 view->horizontalHeader()->height() + view->rowHeight(0) + view->rowHeight(1));
        // Resizing a frozen column in its pane resizes it in the grid and moves the pane edge.
        columns->setColumnWidth(1, 150);
        QCOMPARE(view->columnWidth(1), 150);
        QCOMPARE(columns->width(), view->verticalHeader()->width() + view->columnWidth(0) + 150);
        // Data grid headers: column letters, row numbers, codes, names and counts.
        const QAbstractItemModel& m = *view->model();
        QCOMPARE(header(m, Qt::Horizontal, 0), "A");
        QCOMPARE(header(m, Qt::Vertical, 0), "1");
        QCOMPARE(cell(m, 0, 0), "Sample name");
        QCOMPARE(cell(m, 0, 1), "");
        QCOMPARE(cell(m, 2, 2), "30-Jan-2009");
        QCOMPARE(cell(m, 6, 0), "AC004A");
        QCOMPARE(cell(m, 6, 2), "7.00");
        QCOMPARE(f.session->dataFrame()->windowTitle(),
                 "Data view: FRUSTA2TestData.xls (Rivers, TDI4)");
        QCOMPARE(view->columnWidth(5), 80);
    }

    void widthsAreFittedToTheFirstFiftyRowsOnly() {
        frusta::ScriptedPort port;
        CPbtApp app;
        for (const int wide : {49, 50}) { // grid rows 50 and 51
            auto doc = memoryDoc(app, port, 60, wide);
            ResListView results(*doc, app.classNames);
            const int wideText = results.cellTextWidth(QString(60, 'W'));
            if (wide < 50)
                QCOMPARE(results.gridColumnWidth(1), wideText);
            else
                QCOMPARE(results.gridColumnWidth(1), results.headerTextWidth("Sample name"));
        }
        // The data grid fits code and name to rows 1 to 50 of the grid, counts are 80 wide.
        auto doc = memoryDoc(app, port, 60, 3);
        DataListView data(*doc);
        QCOMPARE(data.gridColumnWidth(1), data.cellTextWidth("Sample name"));
        QCOMPARE(data.gridColumnWidth(4), 80);
        // 2,000 samples: the column headers go on past ZZ as in a spreadsheet.
        auto wide = memoryDoc(app, port, 2000, 0);
        DataListView many(*wide);
        const QAbstractItemModel& m = *many.model();
        QCOMPARE(m.columnCount(), 2002);
        QCOMPARE(header(m, Qt::Horizontal, 701), "ZZ");
        QCOMPARE(header(m, Qt::Horizontal, 2001), "BXZ");
    }

    void unscoredTaxaAreHighlightedAfterTheAnalysisInAnOpenWindow() {
        Fixture f(Analysis::None);
        DataListView* view = f.data();
        const QAbstractItemModel& m = *view->model();
        const int nI = f.doc().m_nInfoRows;
        auto highlighted = [&]() -> std::set<std::string> {
            std::set<std::string> codes;
            for (int r = 0; r < m.rowCount(); ++r) {
                const QVariant bg = m.index(r, 0).data(Qt::BackgroundRole);
                if (!bg.isValid())
                    continue;
                // Information rows never; a highlighted taxon row is highlighted in full.
                if (r < nI)
                    throw std::runtime_error("information row highlighted");
                for (int c = 0; c < m.columnCount(); ++c)
                    if (m.index(r, c).data(Qt::BackgroundRole).value<QColor>() !=
                        QColor(255, 200, 200))
                        throw std::runtime_error("taxon row highlighted in part");
                codes.insert(cell(m, r, 0).toStdString());
            }
            return codes;
        };
        try {
            QVERIFY(highlighted().empty());
        } catch (const std::exception& e) {
            QFAIL(e.what());
        }
        QVERIFY(f.doc().RunAnalysis());
        f.session->notifyChanged();
        // The unmatched-taxa table of the results workbook's job summary sheet.
        auto book = Book::createBinary();
        buildResultsBook(f.doc(), f.app.classNames, *book);
        const Sheet& summary = *book->getSheet(0);
        std::set<std::string> unmatched;
        auto text = [&](int row) {
            const char* s = summary.readStr(row, 0);
            return std::string(s ? s : "");
        };
        int r = 0;
        while (r < summary.lastRow() && text(r) != "Code")
            ++r;
        QVERIFY(r < summary.lastRow());
        for (++r; r < summary.lastRow() && !text(r).empty(); ++r)
            unmatched.insert(text(r));
        QVERIFY(!unmatched.empty());
        try {
            QCOMPARE(highlighted(), unmatched);
        } catch (const std::exception& e) {
            QFAIL(e.what());
        }
        QVERIFY(m.headerData(0, Qt::Vertical, Qt::BackgroundRole).isNull());
    }

    void eachCommandOpensAnotherMasterListWindow() {
        DesktopApp app;
        QVERIFY(app.InitInstance({kProgramDir, {}, 0, std::make_shared<NoLauncher>()}));
        QMdiArea& area = *app.mainFrame().mdiArea();
        app.OnViewTaxonList();
        app.OnViewTaxonList();
        QCOMPARE(area.subWindowList().size(), 2);
        for (QMdiSubWindow* frame : area.subWindowList()) {
            QCOMPARE(frame->windowTitle(), "Master taxon list");
            auto* pane = qobject_cast<GridPane*>(frame->widget());
            QVERIFY(pane);
            QVERIFY(pane->noticeLabel()->isHidden());
            QCOMPARE(pane->grid()->model()->rowCount(), app.core().taxonTable->rowCount);
            QCOMPARE(header(*pane->grid()->model(), Qt::Horizontal, 1), "TaxonCode");
        }
        QVERIFY(area.subWindowList()[0]->widget() != area.subWindowList()[1]->widget());
    }

    void noMasterListShowsAnEmptyGridAndWhy() {
        CPbtApp app; // never started: no reference database, no list
        std::unique_ptr<QWidget> widget(createTaxonListView(app));
        auto* pane = qobject_cast<GridPane*>(widget.get());
        QVERIFY(pane);
        QCOMPARE(pane->grid()->model()->rowCount(), 0);
        QCOMPARE(pane->grid()->model()->columnCount(), 0);
        QVERIFY(!pane->noticeLabel()->isHidden());
        QVERIFY(pane->noticeLabel()->text().startsWith("No master taxon list was loaded: "));
        pane->selectAll();
        pane->copy();
    }

    void copiedCellsPasteAsTheCellsShown() {
        Fixture f;
        CChildResFrame* tabs = f.results();
        GridView* grid = tabs->grid(0);
        const QAbstractItemModel& m = *grid->model();
        // Samples 1 to 6: sample name, site code, then sample sum to class.
        const int first = cells::resultsGridColumn(f.doc(), ResultColumn::SampleSum) - 1;
        const int last = cells::resultsGridColumn(f.doc(), ResultColumn::Class) - 1;
        QList<int> cols = {0, 1};
        for (int c = first; c <= last; ++c)
            cols << c;
        QItemSelection selection;
        for (int c : cols)
            selection.select(m.index(0, c), m.index(5, c));
        grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        tabs->copy();
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        QVERIFY(mime->hasText() && mime->hasHtml());
        // The bounding rectangle: unselected cells inside it are empty.
        QList<QStringList> expected;
        for (int r = 0; r <= 5; ++r) {
            QStringList line;
            for (int c = 0; c <= last; ++c)
                line << (cols.contains(c) ? cell(m, r, c) : QString());
            expected << line;
        }
        QList<QStringList> pasted;
        for (const QString& line : mime->text().split('\n', Qt::SkipEmptyParts))
            pasted << line.split('\t');
        QCOMPARE(pasted, expected);
        QVERIFY(expected[0].contains("Moderate") && expected[0].contains("0.49"));

        // The HTML flavour read by a spreadsheet program gives the same cells.
        QTemporaryDir dir;
        const QString html = dir.filePath("copied.html");
        {
            QFile file(html);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(mime->html().toUtf8());
        }
        QProcess soffice;
        soffice.start("soffice",
                      {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless",
                       "--infilter=HTML (StarCalc)", "--convert-to",
                       "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir", dir.path(), html});
        QVERIFY(soffice.waitForFinished(120000));
        QFile csv(dir.filePath("copied.csv"));
        QVERIFY2(csv.open(QIODevice::ReadOnly), qPrintable(soffice.readAllStandardError()));
        QList<QStringList> converted = readCsv(QString::fromUtf8(csv.readAll()));
        // The spreadsheet drops empty trailing cells of a row; pad back to the width.
        for (QStringList& row : converted)
            while (row.size() < expected[0].size())
                row << QString();
        // Numbers arrive as numbers: the spreadsheet shows 310.0 as 310, the same value.
        QCOMPARE(converted.size(), expected.size());
        for (int r = 0; r < expected.size(); ++r)
            for (int c = 0; c < expected[r].size(); ++c) {
                bool a = false, b = false;
                const double x = converted[r][c].toDouble(&a), y = expected[r][c].toDouble(&b);
                if (a && b)
                    QCOMPARE(x, y);
                else
                    QCOMPARE(converted[r][c], expected[r][c]);
            }
    }

    void selectAllCopiesTheHeaderRowToo() {
        Fixture f;
        CChildResFrame* tabs = f.results();
        tabs->setCurrentIndex(1);
        tabs->selectAll();
        tabs->copy();
        const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
        const QAbstractItemModel& m = *tabs->grid(1)->model();
        QCOMPARE(lines.size(), m.rowCount() + 1);
        QVERIFY(lines[0].startsWith("Site code\tNo. Samples\tNo. missing\tMean EQR\tClass\t"));
        QVERIFY(lines[1].startsWith("SITE01\t3.00\t0.00\t"));
    }
};

QTEST_MAIN(GridWindowsTest)
#include "GridWindowsTest.moc"
