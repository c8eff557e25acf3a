#include "gui/output/MatchingView.h"

#include "doc/CPbtDoc.h"
#include "doc/ResultsView.h"
#include "doc/TaxonMatchView.h"
#include "gui/common/WaitCursor.h"
#include "gui/output/DataListView.h"
#include "gui/output/GridView.h"
#include "output/GridText.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace frusta::gui {

namespace {

GridModel* matchingModel(const CPbtDoc& doc) {
    auto* model = new GridModel(
        cells::matchingRowCount(doc), cells::matchingColumnCount(),
        [&doc](int r, int c) { return cells::matching(doc, r, c); },
        // The rows of taxa that do not count towards the metric, as in the data window.
        [&doc](int r, int c) -> std::optional<QColor> {
            const TaxonMatchView view(doc);
            if (c < 1 || r < 1 || r > view.taxonCount() ||
                view.match(r - 1).status == engine::MatchStatus::Scored)
                return std::nullopt;
            return kUnscoredColour;
        });
    model->setTipSource([&doc](int r, int c) { return cells::matchingTip(doc, r, c); });
    return model;
}

// "48 taxa: 41 scored, 4 in the list without a TDI4 score, 3 not in the list; 2 of 12
// samples below 70% scored"
QString countsText(const CPbtDoc& doc) {
    const TaxonMatchView view(doc);
    int scored = 0, unscored = 0, absent = 0;
    for (int k = 0; k < view.taxonCount(); ++k)
        switch (view.match(k).status) {
        case engine::MatchStatus::Scored:
            ++scored;
            break;
        case engine::MatchStatus::InListUnscored:
            ++unscored;
            break;
        case engine::MatchStatus::NotInList:
            ++absent;
            break;
        }
    const ResultsView results(doc);
    int below = 0;
    for (int s = 0; s < results.sampleCount(); ++s)
        below += results.belowScoredShare(s);
    return QString("%1 taxa: %2 scored, %3 in the list without a %4 score, %5 not in the list; "
                   "%6 of %7 samples below the smallest scored share")
        .arg(view.taxonCount())
        .arg(scored)
        .arg(unscored)
        .arg(QString::fromStdString(doc.m_strMetric))
        .arg(absent)
        .arg(below)
        .arg(results.sampleCount());
}

} // namespace

MatchingView::MatchingView(CPbtDoc& doc, std::function<void(double)> shareChanged, QWidget* parent)
    : QWidget(parent), doc_(doc), share_(new QDoubleSpinBox(this)), counts_(new QLabel(this)),
      grid_(new GridView(matchingModel(doc), this)) {
    setObjectName("MatchingView");
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* label = new QLabel("Smallest scored share (%):", this);
    label->setBuddy(share_);
    share_->setObjectName("minScoredShare");
    share_->setRange(0.0, 100.0);
    share_->setDecimals(1);
    share_->setSingleStep(5.0);
    share_->setValue(doc.m_minScoredShare);
    share_->setToolTip("Samples whose scored taxa make up less of the count than this are "
                       "marked in the results");
    bar->addWidget(label);
    bar->addWidget(share_);
    bar->addSpacing(16);
    counts_->setWordWrap(true);
    bar->addWidget(counts_, 1);
    layout->addLayout(bar);
    layout->addWidget(grid_, 1);
    grid_->setObjectName("MatchingGrid");
    {
        const WaitCursor wait;
        grid_->freeze(0, 2);
        grid_->fitColumns(1, cells::matchingColumnCount(), 0,
                          std::min(grid_->gridModel().rowCount(), 50));
        grid_->widenColumnsTo(50);
    }
    counts_->setText(countsText(doc));
    connect(share_, &QDoubleSpinBox::valueChanged, this,
            [this, shareChanged = std::move(shareChanged)](double v) {
                doc_.m_minScoredShare = v;
                if (shareChanged)
                    shareChanged(v);
            });
}

void MatchingView::refresh() {
    share_->blockSignals(true);
    share_->setValue(doc_.m_minScoredShare);
    share_->blockSignals(false);
    counts_->setText(countsText(doc_));
    grid_->refresh();
}

void MatchingView::copy() {
    grid_->copy();
}
void MatchingView::selectAll() {
    grid_->selectAll();
}
void MatchingView::print(QPrinter& printer) {
    grid_->print(printer);
}

} // namespace frusta::gui
