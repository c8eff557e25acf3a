#pragma once
// A grid with an optional line of text above it; the Edit and File commands go to the grid.
#include "gui/common/ViewCommands.h"

#include <QWidget>

class QLabel;

namespace frusta::gui {

class GridView;

class GridPane : public QWidget, public ViewCommands {
    Q_OBJECT
public:
    // Takes `grid` as its child; an empty `notice` shows no line.
    GridPane(GridView* grid, const QString& notice, QWidget* parent = nullptr);

    GridView* grid() const { return grid_; }
    QLabel* noticeLabel() const { return notice_; }

    bool canCopy() const override;
    void copy() override;
    void selectAll() override;
    bool canPrint() const override;
    void print(QPrinter& printer) override;

private:
    GridView* grid_;
    QLabel* notice_;
};

} // namespace frusta::gui
