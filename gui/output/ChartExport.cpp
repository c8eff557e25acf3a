#include "gui/output/ChartExport.h"

#include "gui/output/ChartTab.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

namespace frusta::gui {

namespace {

const QStringList kFilters = {"PNG image (*.png)", "SVG drawing (*.svg)", "PDF document (*.pdf)"};

// The title line above the chart and the chart below it, within `page`.
void paintPage(QPainter& p, const QRectF& page, const QString& title, const ChartTab& chart) {
    QFont font("Arial");
    font.setPixelSize(std::max(1, static_cast<int>(page.height() / 50)));
    p.setFont(font);
    const double titleH = QFontMetricsF(font).height() * 2;
    p.setPen(Qt::black);
    p.drawText(QRectF(page.left(), page.top(), page.width(), titleH),
               Qt::AlignLeft | Qt::AlignVCenter, title);
    paintChart(p, page.adjusted(0, titleH, 0, 0), chart);
}

// Landscape when the chart is wider than high.
QPageLayout::Orientation orientationFor(const ChartTab& chart) {
    const QSize size = chart.pictureSize();
    return size.width() >= size.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

bool writePng(ChartTab& chart, const QString& path) {
    return chart.image().save(path, "PNG");
}

bool writeSvg(ChartTab& chart, const QString& path, const QString& title) {
    const QSize size = chart.pictureSize();
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    QPainter p;
    if (!p.begin(&svg))
        return false;
    paintChart(p, QRectF(QPointF(0, 0), QSizeF(size)), chart);
    return p.end();
}

bool writePdf(ChartTab& chart, const QString& path, const QString& title) {
    QPdfWriter pdf(path);
    pdf.setTitle(title);
    pdf.setCreator("FRUSTA 2");
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientationFor(chart),
                                  QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
    QPainter p;
    if (!p.begin(&pdf))
        return false;
    paintPage(p, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())), title, chart);
    return p.end();
}

} // namespace

void paintChart(QPainter& p, const QRectF& target, const ChartTab& chart) {
    const QSizeF size = QSizeF(chart.pictureSize()).expandedTo(QSizeF(1, 1));
    const double scale = std::min(target.width() / size.width(), target.height() / size.height());
    p.save();
    p.translate(target.left() + (target.width() - size.width() * scale) / 2,
                target.top() + (target.height() - size.height() * scale) / 2);
    p.scale(scale, scale);
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    chart.paintPicture(p);
    p.restore();
}

void paintChartView(QPainter& p, const QRectF& target, const QChartView& view) {
    if (QChart* chart = view.chart())
        view.scene()->render(&p, target, chart->sceneBoundingRect());
}

void copyChart(ChartTab& chart) {
    QApplication::clipboard()->setImage(chart.image());
}

bool writeChart(ChartTab& chart, const QString& path, const QString& title) {
    chart.ensureBuilt();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "png")
        return writePng(chart, path);
    if (suffix == "svg")
        return writeSvg(chart, path, title) && QFileInfo(path).size() > 0;
    if (suffix == "pdf")
        return writePdf(chart, path, title) && QFileInfo(path).size() > 0;
    return false;
}

void printChart(ChartTab& chart, QPrinter& printer, const QString& title) {
    chart.ensureBuilt();
    printer.setPageOrientation(orientationFor(chart));
    QPainter p;
    if (!p.begin(&printer))
        return;
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    paintPage(p, page, title, chart);
    p.end();
}

void saveChartWithDialog(ChartTab& chart, QWidget* parent, const QString& title,
                         const QString& suggestedName) {
    QFileDialog dialog(parent, "Save chart as");
    dialog.setObjectName("saveChartDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(kFilters);
    dialog.selectFile(suggestedName + ".png");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString path = dialog.selectedFiles().front();
    // Without a known suffix the file takes the type chosen in the dialog.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != "png" && suffix != "svg" && suffix != "pdf") {
        static const char* const kSuffixes[] = {".png", ".svg", ".pdf"};
        path += kSuffixes[std::max<qsizetype>(0, kFilters.indexOf(dialog.selectedNameFilter()))];
    }
    if (!writeChart(chart, path, title))
        QMessageBox::warning(parent, "FRUSTA 2", "The chart could not be written to " + path);
}

} // namespace frusta::gui
