#pragma once
// The taxon matching window of an analysis: the smallest scored share (a spin box, in
// percent) above a grid of every input taxon's match, as the results workbook's "Taxon
// matching" sheet has it. The grid reads the document's match records when drawn.
#include "gui/common/ViewCommands.h"

#include <QWidget>

#include <functional>

class QDoubleSpinBox;
class QLabel;

namespace frusta {
class CPbtDoc;
}

namespace frusta::gui {

class GridView;

class MatchingView : public QWidget, public ViewCommands {
    Q_OBJECT
public:
    // `shareChanged` is told each new smallest scored share the user sets.
    MatchingView(CPbtDoc& doc, std::function<void(double)> shareChanged, QWidget* parent = nullptr);

    GridView* grid() const { return grid_; }
    QDoubleSpinBox* shareBox() const { return share_; }
    QLabel* countsLabel() const { return counts_; }
    // Draws the grid and the counts again from the document.
    void refresh();

    bool canCopy() const override { return true; }
    void copy() override;
    void selectAll() override;
    bool canPrint() const override { return true; }
    void print(QPrinter& printer) override;

private:
    CPbtDoc& doc_;
    QDoubleSpinBox* share_;
    QLabel* counts_;
    GridView* grid_;
};

} // namespace frusta::gui
