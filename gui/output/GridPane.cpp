#include "gui/output/GridPane.h"

#include "gui/output/GridView.h"

#include <QLabel>
#include <QVBoxLayout>

namespace frusta::gui {

GridPane::GridPane(GridView* grid, const QString& notice, QWidget* parent)
    : QWidget(parent), grid_(grid), notice_(new QLabel(notice, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    notice_->setObjectName("gridNotice");
    notice_->setWordWrap(true);
    notice_->setContentsMargins(6, 4, 6, 4);
    notice_->setVisible(!notice.isEmpty());
    layout->addWidget(notice_);
    layout->addWidget(grid_, 1);
    setFocusProxy(grid_);
}

bool GridPane::canCopy() const {
    return grid_->canCopy();
}
void GridPane::copy() {
    grid_->copy();
}
void GridPane::selectAll() {
    grid_->selectAll();
}
bool GridPane::canPrint() const {
    return grid_->canPrint();
}
void GridPane::print(QPrinter& printer) {
    grid_->print(printer);
}

} // namespace frusta::gui
