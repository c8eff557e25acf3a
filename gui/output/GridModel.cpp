#include "gui/output/GridModel.h"

#include <cstdlib>

namespace frusta::gui {

GridModel::GridModel(int rows, int columns, TextSource text, BackgroundSource background,
                     QObject* parent)
    : QAbstractTableModel(parent), rows_(rows < 0 ? 0 : rows), columns_(columns < 0 ? 0 : columns),
      text_(std::move(text)), background_(std::move(background)) {}

std::optional<QColor> GridModel::cellBackground(int r, int c) const {
    return background_ ? background_(r, c) : std::nullopt;
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int r = index.row() + 1, c = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(cellText(r, c));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (isNumberText(cellText(r, c)) ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::ToolTipRole: {
        const std::string tip = cellTip(r, c);
        return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
    }
    case Qt::BackgroundRole:
        if (const auto colour = cellBackground(r, c))
            return *colour;
        return {};
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    const std::string text =
        orientation == Qt::Horizontal ? cellText(0, section + 1) : cellText(section + 1, 0);
    return QString::fromStdString(text);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void GridModel::refresh() {
    if (rows_ > 0 && columns_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
    if (columns_ > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
    if (rows_ > 0)
        emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
}

bool isNumberText(const std::string& text) {
    if (text.empty())
        return false;
    if (text == "...")
        return true;
    const char* begin = text.c_str();
    char* end = nullptr;
    std::strtod(begin, &end);
    return end != begin && *end == '\0';
}

} // namespace frusta::gui
