#include "gui/output/DataListView.h"

#include "doc/CPbtDoc.h"
#include "doc/TaxonMatchView.h"
#include "gui/common/WaitCursor.h"
#include "output/GridText.h"

#include <QHeaderView>
#include <QMenu>

#include <algorithm>

namespace frusta::gui {

namespace {

GridModel* dataModel(const CPbtDoc& doc) {
    auto* model = new GridModel(
        cells::dataRowCount(doc), cells::dataColumnCount(doc),
        [&doc](int r, int c) { return cells::data(doc, r, c); },
        [&doc](int r, int c) -> std::optional<QColor> {
            if (c >= 1 && cells::dataRowUnscored(doc, r))
                return kUnscoredColour;
            return std::nullopt;
        });
    model->setTipSource([&doc](int r, int c) { return cells::dataTip(doc, r, c); });
    return model;
}

} // namespace

DataListView::DataListView(const CPbtDoc& doc, QWidget* parent)
    : GridView(dataModel(doc), parent), doc_(doc) {
    setObjectName("DataListView");
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = indexAt(at);
        if (!index.isValid())
            return;
        if (const std::unique_ptr<QMenu> menu = suggestionMenu(index.row() + 1))
            menu->exec(viewport()->mapToGlobal(at));
    });
    const WaitCursor wait;
    setUpdatesEnabled(false);
    // Every count column is 80 pixels wide: the default, so no column is set one by one.
    horizontalHeader()->setDefaultSectionSize(80);
    fitColumns(1, 2, 1, std::min(gridModel().rowCount(), 50));
    freeze(2, 2);
    setUpdatesEnabled(true);
}

std::unique_ptr<QMenu> DataListView::suggestionMenu(int r) {
    const int taxon = frusta::cells::dataTaxon(doc_, r);
    const TaxonMatchView view(doc_);
    if (taxon < 0 || !frusta::cells::dataRowUnscored(doc_, r) || taxon >= view.taxonCount() ||
        view.suggestionCount(taxon) == 0)
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName("suggestionMenu");
    for (int i = 0; i < view.suggestionCount(taxon); ++i) {
        const QString text = QString("Use suggestion %1 %2")
                                 .arg(QString::fromStdString(view.suggestionCode(taxon, i)),
                                      QString::fromStdString(view.suggestionName(taxon, i)));
        menu->addAction(text.trimmed(), this, [this, taxon, i] { emit useSuggestion(taxon, i); });
    }
    return menu;
}

} // namespace frusta::gui
