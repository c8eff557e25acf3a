// The charts of the results window as a user meets them: which tabs there are for each
// worksheet of the example, what the marks and bars show and follow, thinned labels for
// 2,000 samples and 500 sites, Save chart as PNG, SVG and PDF through the File menu, Copy
// and Print Preview on a chart tab, and the class tints of the grids.
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "doc/ResultsView.h"
#include "engine/ClassBoundaries.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/DesktopApp.h"
#include "gui/app/ViewerLauncher.h"
#include "gui/doc/DocumentSession.h"
#include "gui/output/CChildResFrame.h"
#include "gui/output/ConfidenceChartView.h"
#include "gui/output/EqrChartView.h"
#include "gui/output/GridView.h"
#include "gui/output/ZoomChartView.h"
#include "output/ChartSeries.h"
#include "output/GridText.h"
#include "support/ExampleProgram.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHorizontalPercentBarSeries>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <filesystem>

using namespace frusta;
using namespace frusta::gui;
using namespace frusta::guitest;

namespace {

QStringList tabNames(const CChildResFrame& tabs) {
    QStringList names;
    for (int i = 0; i < tabs.count(); ++i)
        names << tabs.tabText(i);
    return names;
}

// Points of every scatter series of a chart, by series name.
QMap<QString, int> markCounts(QChart& chart) {
    QMap<QString, int> counts;
    for (QAbstractSeries* s : chart.series())
        if (auto* scatter = qobject_cast<QScatterSeries*>(s))
            counts[scatter->name()] = scatter->count();
    return counts;
}

QCategoryAxis* horizontalAxis(QChart& chart, Qt::Alignment side) {
    for (QAbstractAxis* axis : chart.axes(Qt::Horizontal))
        if (axis->alignment() == side)
            return qobject_cast<QCategoryAxis*>(axis);
    return nullptr;
}

// Answers "Save chart as": types `name`, chooses the file type `filter`, presses Save.
void answerSaveDialog(const QString& name, int filter) {
    guitest::whenModal([name, filter](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), "Save chart as");
        dialog->findChild<QComboBox*>("fileTypeCombo")->setCurrentIndex(filter);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
        QVERIFY(guitest::pressButton(dialog, "Save"));
    });
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool hasColour(const QImage& image, const QColor& colour) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); y += 2)
        for (int x = 0; x < rgb.width(); x += 2)
            if (QColor(rgb.pixel(x, y)) == colour)
                return true;
    return false;
}

QColor tint(int code) {
    const charts::Rgb c = charts::classTint(code);
    return QColor(c.r, c.g, c.b);
}

} // namespace

class ChartsTest : public QObject {
    Q_OBJECT

private slots:
    void chartTabsFollowTheGridTabsExactlyWhenTheyShould() {
        {
            Program rivers(kRivers);
            QCOMPARE(tabNames(*rivers.results()), QStringList({"Sample Summary", "Uncertainty TDI4",
                                                               "EQR chart", "Confidence chart"}));
        }
        {
            Program lakes(kLakes);
            QCOMPARE(tabNames(*lakes.results()), QStringList({"Sample Summary", "Uncertainty LTDI2",
                                                              "EQR chart", "Confidence chart"}));
        }
        {
            Program acid(kAcid);
            QVERIFY(!acid.doc().m_bUncertaintyDone);
            QCOMPARE(tabNames(*acid.results()), QStringList({"Sample Summary", "EQR chart"}));
        }
        Program without(kRivers, Analysis::Samples);
        QCOMPARE(tabNames(*without.results()), QStringList({"Sample Summary", "EQR chart"}));
    }

    void eqrChartShowsEverySampleInItsClassAndFollowsTheDocument() {
        Program p(kRivers);
        const int tab = p.showTab("EQR chart");
        auto* view = qobject_cast<EqrChartView*>(p.results()->widget(tab));
        QVERIFY(view);
        QChart& chart = *view->chartView()->chart();
        const CPbtDoc& doc = p.doc();
        const int n = doc.m_pResults->nrow();
        int perClass[6] = {};
        for (int s = 0; s < n; ++s)
            ++perClass[ResultsView(doc).classCode(s)];
        const QMap<QString, int> counts = markCounts(chart);
        QCOMPARE(counts.value("High"), perClass[1]);
        QCOMPARE(counts.value("Moderate"), perClass[3]);
        QCOMPARE(counts.value("Bad"), perClass[5]);
        int total = 0;
        for (int c : counts)
            total += c;
        QCOMPARE(total, n);
        // The first sample R01-1 is Moderate at 0.49; its hover texts give the EQR and the
        // boundaries of its class bands.
        QCOMPARE(view->markAt(0.0), 0);
        QCOMPARE(view->markText(0), "R01-1 (SITE01)\nEQR 0.49, Moderate");
        QVERIFY(view->bandText(0).startsWith("R01-1 boundaries:\nHigh/Good "));
        // Eight sites of three samples: the fourth sample stands after one empty place.
        QCOMPARE(view->markAt(3.0), -1);
        QVERIFY(view->markText(view->markAt(4.0)).startsWith("R02-1 (SITE02)"));
        QCOMPARE(horizontalAxis(chart, Qt::AlignTop)->categoriesLabels().first(), "SITE01");

        // The document changes (a sample loses its EQR): the chart follows on refresh.
        CPbtDoc& changed = p.doc();
        (*changed.m_pResults)(0, col(ResultColumn::Eqr)) = changed.m_pResults->missingValue();
        (*changed.m_pResults)(0, col(ResultColumn::Class)) = changed.m_pResults->missingValue();
        changed.m_comments[0] = "No matching taxa found";
        p.session->notifyChanged();
        QTest::qWait(20);
        QChart& redrawn = *view->chartView()->chart();
        QCOMPARE(markCounts(redrawn).value("No EQR"), 1);
        QCOMPARE(markCounts(redrawn).value("Moderate"), perClass[3] - 1);
        QCOMPARE(view->markText(0), "R01-1 (SITE01)\nNo EQR: No matching taxa found");
    }

    void marksAtTheEndsAreWholeAndANegativeExpectedValueHasNoEqr() {
        Program p(kAcid);
        const int tab = p.showTab("EQR chart");
        auto* view = qobject_cast<EqrChartView*>(p.results()->widget(tab));
        QVERIFY(view);
        for (const QSize size : {QSize(1100, 700), QSize(500, 260)}) {
            p.session->resultsFrame()->showNormal();
            p.session->resultsFrame()->resize(size);
            QTest::qWait(50);
            QChart& chart = *view->chartView()->chart();
            // Sample A03-3's expected DAM is below 0: its mark is the one without an EQR,
            // and its tip gives the comment's reason.
            QCOMPARE(markCounts(chart).value("No EQR"), 1);
            int a033 = -1;
            for (int i = 0; i < p.doc().m_nSamples && a033 < 0; ++i)
                if (view->markText(i).startsWith("A03-3 "))
                    a033 = i;
            QCOMPARE(view->markText(a033), "A03-3 (SITE03)\nDOC > 50, value set to 50 mg/l; No "
                                           "EQR: expected value -37.698 is below 0");
            // Every mark lies wholly inside the plot, those at EQR 1 (the cap) and at the
            // bottom of the axis too.
            const QRectF plot = chart.plotArea();
            int atCap = 0;
            for (QAbstractSeries* series : chart.series()) {
                auto* marks = qobject_cast<QScatterSeries*>(series);
                if (!marks)
                    continue;
                const double r = marks->markerSize() / 2.0 + marks->pen().widthF() / 2.0;
                for (const QPointF& value : marks->points()) {
                    const QPointF c = chart.mapToPosition(value, marks);
                    atCap += value.y() == 1.0;
                    QVERIFY2(c.y() - r >= plot.top() - 0.5 && c.y() + r <= plot.bottom() + 0.5,
                             qPrintable(QString("mark at %1 cut at %2 x %3")
                                            .arg(value.y())
                                            .arg(size.width())
                                            .arg(size.height())));
                }
            }
            QVERIFY(atCap > 0);
        }
        // The results grid agrees: no EQR, no class, the note in the comment; the negative
        // expected value shows as the grid shows every negative value.
        const QAbstractItemModel& grid = *p.results()->grid(0)->model();
        const int nH = static_cast<int>(p.doc().m_infoValues.size());
        int row = 0;
        while (row < grid.rowCount() && grid.index(row, 0).data().toString() != "A03-3")
            ++row;
        QVERIFY(row < grid.rowCount());
        auto cellText = [&](int k) { return grid.index(row, nH + k - 1).data().toString(); };
        QCOMPARE(cellText(4), "...");
        QCOMPARE(cellText(5), "...");
        QCOMPARE(cellText(6), "...");
        QVERIFY(cellText(11).endsWith("; No EQR: expected value -37.698 is below 0"));
    }

    void lakeBandsChangeWithTheLakeType() {
        Program p(kLakes);
        auto* view = qobject_cast<EqrChartView*>(p.results()->widget(p.showTab("EQR chart")));
        QVERIFY(view);
        // The example's sites have the lake types HA, MA, LA in turn: the boundaries behind
        // the first site's samples differ from those behind the second site's.
        const QString first = view->bandText(0).section('\n', 1);
        QVERIFY(first.startsWith("High/Good "));
        QCOMPARE(view->bandText(1).section('\n', 1), first);
        QVERIFY(view->bandText(view->markAt(4.0)).section('\n', 1) != first);
    }

    void confidenceChartHasOneBarPerSiteWithTheRisksOnHover() {
        Program p(kRivers);
        auto* view =
            qobject_cast<ConfidenceChartView*>(p.results()->widget(p.showTab("Confidence chart")));
        QVERIFY(view);
        QChart& chart = *view->chartView()->chart();
        auto* bars = qobject_cast<QHorizontalPercentBarSeries*>(chart.series().value(0));
        QVERIFY(bars);
        QStringList sets;
        for (QBarSet* set : bars->barSets())
            sets << set->label();
        QCOMPARE(sets, QStringList({"High", "Good", "Moderate", "Poor", "Bad"}));
        const CPbtDoc& doc = p.doc();
        const int sites = doc.m_pUncertainty->nrow();
        auto* axis = qobject_cast<QBarCategoryAxis*>(chart.axes(Qt::Vertical).value(0));
        QVERIFY(axis);
        QCOMPARE(axis->count(), sites);
        QVERIFY(!view->withoutList()->isVisible());
        // The axis runs upwards: the first site is the last category, at the top.
        QVERIFY(axis->categories().last().startsWith("SITE01, 3 samples, mean "));
        QVERIFY(axis->categories().last().endsWith("Moderate"));
        QVERIFY(axis->categories().first().startsWith("SITE08, "));
        // The five parts of a bar are the grid's CoC columns, in their class colours; its tip
        // names them in the same order, High first, then the two risks.
        auto percent = [&](SiteColumn c) {
            return QString::fromStdString(charts::twoDecimals((*doc.m_pUncertainty)(0, col(c)))) +
                   "%";
        };
        const QStringList tip = view->barText(0).split('\n');
        QVERIFY(tip.value(0).startsWith("SITE01, 3 samples"));
        for (int k = 0; k < 5; ++k) {
            const auto coc = static_cast<SiteColumn>(col(SiteColumn::CocHigh) + k);
            QCOMPARE(bars->barSets()[k]->at(sites - 1), (*doc.m_pUncertainty)(0, col(coc)));
            const charts::Rgb c = charts::classColour(k + 1);
            QCOMPARE(bars->barSets()[k]->color(), QColor(c.r, c.g, c.b));
            QCOMPARE(tip.value(k + 1), "CoC " + sets[k] + " " + percent(coc));
        }
        QCOMPARE(tip.value(6), "Risk of misclassification " + percent(SiteColumn::Rom));
        QCOMPARE(tip.value(7), "Good/Moderate risk " + percent(SiteColumn::RomGM));
    }

    void sitesWithoutFiguresAreListedWithTheReason() {
        Program p(kRivers);
        CPbtDoc& doc = p.doc();
        // Site 2 loses every EQR and is analysed again into the site table.
        for (int s = 3; s < 6; ++s)
            (*doc.m_pResults)(s, col(ResultColumn::Eqr)) = doc.m_pResults->missingValue();
        QVERIFY(doc.RunUncertainty());
        p.session->notifyChanged();
        auto* view =
            qobject_cast<ConfidenceChartView*>(p.results()->widget(p.showTab("Confidence chart")));
        QVERIFY(view->withoutList()->isVisible());
        QCOMPARE(view->withoutList()->text(),
                 "Sites without a confidence of class:\n"
                 "SITE02, 0 samples (3 without EQR): no sample of the site has an EQR");
    }

    void twoThousandSamplesAndFiveHundredSitesStayReadable() {
        Program p(kRivers);
        CPbtDoc& doc = p.doc();
        // A document of 2,000 samples at 500 sites, four samples each.
        const int n = 2000;
        for (auto& row : doc.m_infoValues)
            row.resize(n);
        doc.m_comments.assign(n, "");
        doc.m_pResults = std::make_unique<dMat>(n, kResultColumnCount, 0.0);
        const engine::ClassBoundaries bounds(doc.m_boundaryTable.get());
        for (int s = 0; s < n; ++s) {
            doc.m_infoValues[0][s] = "S" + std::to_string(s + 1);
            doc.m_infoValues[1][s] = "SITE" + std::to_string(s / 4 + 1);
            (*doc.m_pResults)(s, col(ResultColumn::Eqr)) = (s % 97) / 96.0;
            (*doc.m_pResults)(s, col(ResultColumn::Class)) =
                engine::classForEqr((s % 97) / 96.0, *bounds.boundaries(0));
        }
        QVERIFY(doc.RunUncertainty());
        QCOMPARE(doc.m_pUncertainty->nrow(), 500);
        p.session->notifyChanged();

        auto* eqr = qobject_cast<EqrChartView*>(p.results()->widget(p.showTab("EQR chart")));
        QChart& chart = *eqr->chartView()->chart();
        const double width = chart.plotArea().width();
        QCategoryAxis* samples = horizontalAxis(chart, Qt::AlignBottom);
        QCategoryAxis* sites = horizontalAxis(chart, Qt::AlignTop);
        const int shown = samples->count();
        QVERIFY(shown >= 10);
        // Upright sample names no closer than their height; site codes no closer than their
        // widths.
        const double perPosition = width / (samples->max() - samples->min());
        const QStringList labels = samples->categoriesLabels();
        const double gap = samples->endValue(labels[1]) - samples->endValue(labels[0]);
        QVERIFY(gap * perPosition >= QFontMetricsF(samples->labelsFont()).height());
        QVERIFY(sites->count() < 500);
        for (int i = 1; i < sites->count(); ++i) {
            const QStringList codes = sites->categoriesLabels();
            const double d =
                (sites->endValue(codes[i]) - sites->endValue(codes[i - 1])) * perPosition;
            QVERIFY(d >= QFontMetricsF(sites->labelsFont()).horizontalAdvance(codes[i]));
        }
        for (QAbstractSeries* s : chart.series())
            if (auto* scatter = qobject_cast<QScatterSeries*>(s))
                QCOMPARE(scatter->markerSize(), 3.0);
        // Zooming in on the samples shows more of their names.
        eqr->chartView()->chart()->zoom(8.0);
        QTest::qWait(20);
        QVERIFY(samples->max() - samples->min() < 2500.0 / 4);
        QVERIFY(samples->count() > 0);
        eqr->resetZoom();
        QCOMPARE(samples->count(), shown);

        auto* coc =
            qobject_cast<ConfidenceChartView*>(p.results()->widget(p.showTab("Confidence chart")));
        QVERIFY(coc->chartView()->height() >= 500 * ConfidenceChartView::kRowHeight);
        auto* scroll = coc->findChild<QScrollArea*>();
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
    }

    void saveChartAsWritesPngSvgAndPdfFromTheFileMenu() {
        Program p(kRivers);
        QTemporaryDir dir;
        const MainActions& a = p.actions();
        QVERIFY(!a.saveChart->isEnabled()); // on a grid tab
        p.showTab("EQR chart");
        QVERIFY(a.saveChart->isEnabled());
        // Types `typed`, chooses the type `filter`; the bytes of the file `written`.
        auto saveAs = [&](const QString& typed, int filter, const QString& written) {
            answerSaveDialog(dir.filePath(typed), filter);
            a.saveChart->trigger();
            return readFile(dir.filePath(written));
        };

        const QByteArray pngBytes = saveAs("eqr.png", 0, "eqr.png");
        QVERIFY(pngBytes.startsWith("\x89PNG\r\n\x1a\n"));
        QImage image;
        QVERIFY(image.loadFromData(pngBytes, "PNG"));
        QVERIFY(image.width() > 400 && image.height() > 300);
        // Every river sample stands before the five class bands, in their tints.
        for (int k = 1; k <= 5; ++k)
            QVERIFY2(hasColour(image, tint(k)), qPrintable(QString::number(k)));

        // Without a suffix the file takes the chosen type.
        const QByteArray svg = saveAs("eqr", 1, "eqr.svg");
        QVERIFY(svg.startsWith("<?xml"));
        QXmlStreamReader xml(svg);
        QString root;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && root.isEmpty())
                root = xml.name().toString();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(root, "svg");
        QVERIFY(svg.contains("SITE01") && svg.contains("EQR TDI4"));
        QVERIFY(QSvgRenderer(svg).isValid());

        p.showTab("Confidence chart");
        QVERIFY(a.saveChart->isEnabled());
        const QByteArray pdfBytes = saveAs("confidence.pdf", 2, "confidence.pdf");
        QVERIFY(pdfBytes.startsWith("%PDF-"));
        QVERIFY(pdfBytes.trimmed().endsWith("%%EOF"));
        QCOMPARE(QString::fromLatin1(pdfBytes).count(QRegularExpression("/Type\\s*/Page\\b(?!s)")),
                 1);
    }

    void theTabsContextMenuSavesItsChart() {
        Program p(kRivers);
        p.showTab("Sample Summary");
        QTemporaryDir dir;
        const QString png = dir.filePath("sites.png");
        auto* bar = p.results()->findChild<QTabBar*>();
        QVERIFY(bar);
        // A right click on the "Confidence chart" tab; the menu's one entry is chosen.
        QStringList entries;
        QTimer::singleShot(100, [&entries] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* a : menu->actions())
                entries << a->text();
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        answerSaveDialog(png, 0);
        const QPoint at = bar->tabRect(3).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
        QApplication::sendEvent(bar, &click);
        QTest::qWait(50);
        QCOMPARE(entries, QStringList({"Save c&hart as..."}));
        QImage image;
        QVERIFY(image.load(png, "PNG"));
        QVERIFY(hasColour(image, QColor(0, 158, 73)));
        // The grid tabs have no such menu.
        bool menuShown = false;
        QTimer::singleShot(100, [&menuShown] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuShown = true;
                popup->close();
            }
        });
        const QPoint grid = bar->tabRect(0).center();
        QContextMenuEvent onGrid(QContextMenuEvent::Mouse, grid, bar->mapToGlobal(grid));
        QApplication::sendEvent(bar, &onGrid);
        QTest::qWait(200);
        QVERIFY(!menuShown);
    }

    void copyAndPrintPreviewTakeTheChart() {
        Program p(kRivers);
        const MainActions& a = p.actions();
        p.showTab("Confidence chart");
        QApplication::clipboard()->clear();
        QVERIFY(a.copy->isEnabled());
        a.copy->trigger();
        const QImage copied = QApplication::clipboard()->image();
        QVERIFY(!copied.isNull());
        QVERIFY(hasColour(copied, QColor(0, 158, 73))); // Good's green bars

        int pages = -1;
        guitest::whenModal([&pages](QWidget* w) {
            if (auto* preview = w->findChild<QPrintPreviewWidget*>()) {
                preview->updatePreview();
                pages = preview->pageCount();
            }
            qobject_cast<QDialog*>(w)->reject();
        });
        QVERIFY(a.printPreview->isEnabled());
        a.printPreview->trigger();
        QCOMPARE(pages, 1);
    }

    void classCellsOfTheGridsAreTintedInTheirClassColour() {
        Program p(kRivers);
        const CPbtDoc& doc = p.doc();
        // Model column c shows grid column c + 1.
        const int classColumn = cells::resultsGridColumn(doc, ResultColumn::Class) - 1;
        const int eqrColumn = cells::resultsGridColumn(doc, ResultColumn::Eqr) - 1;
        const QAbstractItemModel& samples = *p.results()->grid(0)->model();
        // R01-1 is Moderate: its class cell is pale yellow, its EQR cell plain.
        QCOMPARE(samples.index(0, classColumn).data().toString(), "Moderate");
        QCOMPARE(samples.index(0, classColumn).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 239, 166));
        QVERIFY(samples.index(0, eqrColumn).data(Qt::BackgroundRole).isNull());
        for (int s = 0; s < samples.rowCount(); ++s) {
            const int code = ResultsView(doc).classCode(s);
            const QVariant fill = samples.index(s, classColumn).data(Qt::BackgroundRole);
            QCOMPARE(fill.isNull(), code == 0);
            if (code > 0)
                QCOMPARE(fill.value<QColor>(), tint(code));
        }
        const QAbstractItemModel& sites = *p.results()->grid(1)->model();
        const int siteClass = cells::uncertaintyGridColumn(SiteColumn::Class) - 1;
        QCOMPARE(sites.index(0, siteClass).data().toString(), "Moderate");
        QCOMPARE(sites.index(0, siteClass).data(Qt::BackgroundRole).value<QColor>(), tint(3));
        QVERIFY(sites.index(0, siteClass - 1).data(Qt::BackgroundRole).isNull());
    }
};

QTEST_MAIN(ChartsTest)
#include "ChartsTest.moc"
