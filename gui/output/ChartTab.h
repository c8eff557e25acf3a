#pragma once
// A chart tab of the results window: draws what the core computes from the document, again
// whenever the document changes (when the tab is next shown), and hands its picture to copy,
// save and print. The context menu offers copy, "Save chart as..." and zoom reset.
#include <QImage>
#include <QWidget>

class QChartView;
class QMenu;

namespace frusta::gui {

class ChartTab : public QWidget {
    Q_OBJECT
public:
    explicit ChartTab(QWidget* parent = nullptr);

    // The document changed: the chart is drawn again now if shown, else when next shown.
    void refresh();
    // The widget whose picture copy, save and print take (the whole chart, scrolled or not).
    virtual QWidget* pictureWidget() const = 0;
    // Builds the chart now if the document changed since it was last drawn.
    void ensureBuilt();
    // The chart's picture at twice its size on screen, on white.
    QImage image();
    // Shows the whole chart again after zooming.
    virtual void resetZoom() {}

signals:
    void saveRequested();

protected:
    // Builds the chart from the document.
    virtual void rebuild() = 0;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool stale_ = true;
};

} // namespace frusta::gui
