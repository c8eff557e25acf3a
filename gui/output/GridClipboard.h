#pragma once
// The clipboard form of a grid selection: the cells of the selection's bounding rectangle
// (cells inside it that are not selected are empty) as tab-separated text and as an HTML
// table, so that they paste into a spreadsheet as cells. When whole columns are selected,
// their header texts come first.
#include <QString>

#include <memory>

class QAbstractItemModel;
class QItemSelectionModel;
#include <QMimeData>

namespace frusta::gui {

struct GridSelectionText {
    QString tsv;
    QString html;
};

GridSelectionText selectionText(const QAbstractItemModel& model,
                                const QItemSelectionModel& selection);
std::unique_ptr<QMimeData> selectionMimeData(const QAbstractItemModel& model,
                                             const QItemSelectionModel& selection);

} // namespace frusta::gui
