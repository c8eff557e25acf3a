#pragma once
// The client area of a results window: the tabbed pane with "Sample Summary", the
// uncertainty tab when the site uncertainty was computed, then "EQR chart" and, with the
// uncertainty, "Confidence chart". The Edit and File commands go to the grid or chart of the
// current tab; a chart tab's context menu (on the tab or the chart) saves the chart.
#include "gui/common/ViewCommands.h"

#include <QTabWidget>

namespace frusta {
class CPbtDoc;
}

namespace frusta::gui {

class ChartTab;
class GridView;

class CChildResFrame : public QTabWidget, public ViewCommands {
    Q_OBJECT
public:
    CChildResFrame(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                   QWidget* parent = nullptr);

    GridView* currentGrid() const;
    GridView* grid(int tab) const;
    ChartTab* currentChart() const;
    ChartTab* chart(int tab) const;
    // Draws every grid again from the document.
    void refresh();

    bool canCopy() const override;
    void copy() override;
    void selectAll() override;
    bool canPrint() const override;
    void print(QPrinter& printer) override;
    bool canSaveChart() const override;
    void saveChartAs() override;

private:
    // The window's caption followed by the tab's name.
    QString printTitle(int tab) const;
    void saveChart(int tab);
    void tabMenu(const QPoint& pos);
    void addChart(ChartTab* chart, const QString& name);
};

} // namespace frusta::gui
