#pragma once
// The client area of a results window: the tabbed pane with "Sample Summary" and, when the
// site uncertainty was computed, the uncertainty tab. The Edit and File commands go to the
// grid of the current tab.
#include "gui/app/ViewCommands.h"

#include <QTabWidget>

namespace frusta {
class CPbtDoc;
}

namespace frusta::gui {

class GridView;

class CChildResFrame : public QTabWidget, public ViewCommands {
    Q_OBJECT
public:
    CChildResFrame(const CPbtDoc& doc, const std::vector<std::string>& classNames,
                   QWidget* parent = nullptr);

    GridView* currentGrid() const;
    GridView* grid(int tab) const;
    // Draws every grid again from the document.
    void refresh();

    bool canCopy() const override;
    void copy() override;
    void selectAll() override;
    bool canPrint() const override;
    void print(QPrinter& printer) override;
};

} // namespace frusta::gui
