#include "gui/doc/ImpGrid.h"

#include "output/GridText.h"
#include "workbook/Book.h"

#include <QColor>
#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>
#include <unordered_map>

namespace frusta::gui {

namespace {
const QColor kBlockColour(200, 255, 255);
const QColor kOtherColour(255, 255, 255);
constexpr int kFitRows = 50;
constexpr int kMaxWidth = 100;
} // namespace

void ImpGridModel::setSheet(const Sheet* sheet) {
    beginResetModel();
    sheet_ = sheet;
    rows_ = sheet ? sheet->lastRow() : 0;
    cols_ = sheet ? sheet->lastCol() : 0;
    endResetModel();
}

void ImpGridModel::setFirst(int row, int col) {
    fr_ = row;
    fc_ = col;
    if (rows_ > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::BackgroundRole});
}

QVariant ImpGridModel::data(const QModelIndex& index, int role) const {
    if (!sheet_ || !index.isValid())
        return {};
    const int r = index.row() + 1;
    const int c = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(cells::preview(*sheet_, r, c));
    case Qt::BackgroundRole:
        return r >= fr_ && c >= fc_ ? kBlockColour : kOtherColour;
    case Qt::TextAlignmentRole: {
        const Cell* cell = sheet_->cell(r - 1, c - 1);
        const bool number = cell && static_cast<CellType>(cell->type) == CellType::Number;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant ImpGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return QString::fromStdString(cells::columnName(section + 1));
}

ImpGrid::ImpGrid(QWidget* parent) : QTableView(parent) {
    setModel(&model_);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(true);
    verticalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit colChosen(section + 1); });
    connect(verticalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit rowChosen(section + 1); });
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& i) {
        emit rowChosen(i.row() + 1);
        emit colChosen(i.column() + 1);
    });
}

void ImpGrid::load(const Sheet* sheet) {
    model_.setSheet(sheet);
    fitColumns();
}

// Widths fitted to the texts of rows 1 to 50 only, then capped at 100 pixels. Texts repeat
// (counts, site codes), so each is measured once.
void ImpGrid::fitColumns() {
    const Sheet* sheet = model_.sheet();
    if (!sheet)
        return;
    const QFontMetrics m(font());
    const int rows = std::min(model_.rowCount(), kFitRows);
    const int minimum = m.horizontalAdvance("AAA") + 8;
    std::unordered_map<std::string, int> measured;
    for (int c = 0; c < model_.columnCount(); ++c) {
        int width = minimum;
        for (int r = 0; r < rows && width < kMaxWidth; ++r) {
            const std::string text = cells::preview(*sheet, r + 1, c + 1);
            auto [it, added] = measured.try_emplace(text, 0);
            if (added)
                it->second = m.horizontalAdvance(QString::fromStdString(text)) + 8;
            width = std::max(width, it->second);
        }
        setColumnWidth(c, std::min(width, kMaxWidth));
    }
}

bool ImpGrid::SetFirstRow(int r) {
    if (r > model_.rowCount())
        return false;
    model_.setFirst(r, model_.firstCol());
    viewport()->update();
    return true;
}

bool ImpGrid::SetFirstCol(int c) {
    if (c > model_.columnCount())
        return false;
    model_.setFirst(model_.firstRow(), c);
    viewport()->update();
    return true;
}

} // namespace frusta::gui
