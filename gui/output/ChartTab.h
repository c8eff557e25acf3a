#pragma once
// A chart tab of the results window: draws what the core computes from the document, again
// whenever the document changes (when the tab is next shown), and hands its picture to copy,
// save and print. The context menu offers copy, "Save chart as..." and zoom reset.
#include <QImage>
#include <QWidget>

class QPainter;

namespace frusta::gui {

class ChartTab : public QWidget {
    Q_OBJECT
public:
    explicit ChartTab(QWidget* parent = nullptr);

    // The document changed: the chart is drawn again now if shown, else when next shown.
    void refresh();
    // The size of the chart's picture in screen pixels: the whole chart, scrolled or not.
    virtual QSize pictureSize() const = 0;
    // Paints the picture at that size from (0, 0), drawn as vectors where the device
    // takes them (SVG, PDF, paper).
    virtual void paintPicture(QPainter& p) const = 0;
    // Builds the chart now if the document changed since it was last drawn.
    void ensureBuilt();
    // The chart's picture on white, at twice its size on screen while that stays below
    // about 16 million pixels.
    QImage image();
    // A size at which the chart reads well.
    QSize sizeHint() const override { return QSize(760, 520); }
    // Charts that zoom show the whole chart again.
    virtual bool zooms() const { return false; }
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
