#include "gui/output/GridWindows.h"

#include <QWidget>

namespace frusta::gui {

QWidget* createResultsView(DocumentSession&) {
    return new QWidget;
}
QWidget* createDataView(DocumentSession&) {
    return new QWidget;
}
QWidget* createTaxonListView(const CPbtApp&) {
    return new QWidget;
}

} // namespace frusta::gui
