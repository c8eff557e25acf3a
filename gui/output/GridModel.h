#pragma once
// The model of a grid view: asks its text source for each cell's text when the cell is drawn
// and keeps no copy. Grid row r is model row r - 1 and grid column c model column c - 1; grid row
// 0 and grid column 0 are the header row and the row-header column.
#include <QAbstractTableModel>
#include <QColor>

#include <functional>
#include <optional>
#include <string>

namespace frusta::gui {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The text of grid cell (r, c).
    using TextSource = std::function<std::string(int r, int c)>;
    // The background of grid cell (r, c), when it is not the default.
    using BackgroundSource = std::function<std::optional<QColor>(int r, int c)>;

    // `rows` and `columns` count the cells without the header row and column; they are fixed.
    GridModel(int rows, int columns, TextSource text, BackgroundSource background = {},
              QObject* parent = nullptr);

    std::string cellText(int r, int c) const { return text_(r, c); }
    std::optional<QColor> cellBackground(int r, int c) const;
    // The hover texts of the cells, from `tip` (an empty text: none).
    void setTipSource(TextSource tip) { tip_ = std::move(tip); }
    std::string cellTip(int r, int c) const { return tip_ ? tip_(r, c) : std::string(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The source changed: every cell and header is to be drawn again.
    void refresh();

private:
    int rows_;
    int columns_;
    TextSource text_;
    BackgroundSource background_;
    TextSource tip_;
};

// True for texts that show a number or the missing mark: these are right-aligned.
bool isNumberText(const std::string& text);

} // namespace frusta::gui
