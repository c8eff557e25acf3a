#pragma once
// The run details of the active analysis: how its results were made (program, reference
// database and its checksum, translation table, input workbook, metric, defaults, class
// boundaries, time), one item a row, read-only, with Copy and OK.
#include "doc/RunDetails.h"

#include <QDialog>

class QTableWidget;
class QPushButton;

namespace frusta::gui {

class RunDetailsDialog : public QDialog {
    Q_OBJECT
public:
    RunDetailsDialog(const RunDetails& details, const QString& title, QWidget* parent);
    QTableWidget* table() const { return table_; }
    // The details as text: one "item<TAB>value" line each.
    QString text() const;

private:
    QTableWidget* table_;
    RunDetails details_;
};

} // namespace frusta::gui
