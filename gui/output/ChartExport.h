#pragma once
// The pictures of a chart tab: on the clipboard, in a PNG, SVG or PDF file, on paper.
#include <QString>

class QChartView;
class QPainter;
class QPrinter;
class QRectF;
class QWidget;

namespace frusta::gui {

class ChartTab;

// Paints the chart's picture into `target`, scaled to fit with its proportions kept, centred.
void paintChart(QPainter& p, const QRectF& target, const ChartTab& chart);
// Paints what `view` shows into `target`, from its scene.
void paintChartView(QPainter& p, const QRectF& target, const QChartView& view);
// Puts the chart's picture on the clipboard.
void copyChart(ChartTab& chart);
// Writes the chart to `path` in the format of its suffix (.png, .svg or .pdf; a PDF page
// carries `title` above the chart). False when the suffix is none of these or the file
// could not be written.
bool writeChart(ChartTab& chart, const QString& path, const QString& title);
// Prints the chart on one page, under `title`.
void printChart(ChartTab& chart, QPrinter& printer, const QString& title);
// "Save chart as": asks for a file name and type, writes the chart, reports a failure.
void saveChartWithDialog(ChartTab& chart, QWidget* parent, const QString& title,
                         const QString& suggestedName);

} // namespace frusta::gui
