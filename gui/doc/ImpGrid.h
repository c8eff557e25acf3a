#pragma once
// The worksheet preview of the worksheet selection dialog: a virtual grid over the open
// book's worksheet (no copy of its cells), the count block from the first data row and
// column coloured.
#include <QAbstractTableModel>
#include <QTableView>

namespace frusta {
class Sheet;
}

namespace frusta::gui {

class ImpGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void setSheet(const Sheet* sheet);
    const Sheet* sheet() const { return sheet_; }
    void setFirst(int row, int col);
    int firstRow() const { return fr_; }
    int firstCol() const { return fc_; }

    int rowCount(const QModelIndex& = {}) const override { return rows_; }
    int columnCount(const QModelIndex& = {}) const override { return cols_; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled; }

private:
    const Sheet* sheet_ = nullptr;
    int rows_ = 0;
    int cols_ = 0;
    int fr_ = 1;
    int fc_ = 1;
};

class ImpGrid : public QTableView {
    Q_OBJECT
public:
    explicit ImpGrid(QWidget* parent = nullptr);
    void load(const Sheet* sheet);
    // Store r (c) when it is not beyond the grid's rows (columns); otherwise change nothing.
    bool SetFirstRow(int r);
    bool SetFirstCol(int c);
    ImpGridModel& gridModel() { return model_; }

signals:
    void rowChosen(int r);
    void colChosen(int c);

private:
    void fitColumns();
    ImpGridModel model_;
};

} // namespace frusta::gui
