#include "doc/ResultsView.h"

#include "doc/CPbtDoc.h"

#include <cmath>

namespace frusta {

namespace {

const std::string& textAt(const std::vector<std::string>& v, int i) {
    static const std::string empty;
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? v[static_cast<std::size_t>(i)]
                                                            : empty;
}

std::optional<double> cellOf(const dMat* m, int row, int col) {
    if (!m || row < 0 || row >= m->nrow() || col >= m->ncol() || m->isMissing(row, col))
        return std::nullopt;
    const double x = (*m)(row, col);
    return std::isfinite(x) ? std::optional<double>(x) : std::nullopt;
}

int classOf(std::optional<double> x) {
    return x ? classCodeOf(*x) : 0;
}

} // namespace

ResultsView::ResultsView(const CPbtDoc& doc)
    : doc_(doc), results_(doc.m_pResults.get()), sites_(doc.m_pUncertainty.get()) {}

int ResultsView::sampleCount() const {
    return results_ ? results_->nrow() : 0;
}

std::optional<double> ResultsView::value(int s, ResultColumn c) const {
    return cellOf(results_, s, col(c));
}

int ResultsView::classCode(int s) const {
    return classOf(value(s, ResultColumn::Class));
}

const std::string& ResultsView::comment(int s) const {
    return textAt(doc_.m_comments, s);
}

bool ResultsView::hasComment(int s) const {
    return s >= 0 && static_cast<std::size_t>(s) < doc_.m_comments.size();
}

const std::string& ResultsView::label(ResultColumn c) const {
    return textAt(doc_.m_resultLabels, col(c));
}

bool ResultsView::hasSites() const {
    return doc_.m_bUncertaintyDone && sites_;
}

int ResultsView::siteCount() const {
    return sites_ ? sites_->nrow() : 0;
}

std::optional<double> ResultsView::siteValue(int i, SiteColumn c) const {
    return cellOf(sites_, i, col(c));
}

int ResultsView::siteClass(int i) const {
    return classOf(siteValue(i, SiteColumn::Class));
}

const std::string& ResultsView::siteCode(int i) const {
    return textAt(doc_.m_siteCodes, i);
}

bool ResultsView::hasSiteCode(int i) const {
    return i >= 0 && static_cast<std::size_t>(i) < doc_.m_siteCodes.size();
}

const std::string& ResultsView::siteLabel(int i) const {
    return textAt(doc_.m_uncLabels, i);
}

std::optional<double> ResultsView::scoredShare(int s) const {
    return engine::scoredShare(value(s, ResultColumn::SampleSum),
                               value(s, ResultColumn::ScoredSum));
}

bool ResultsView::belowScoredShare(int s) const {
    return engine::belowScoredShare(scoredShare(s), doc_.m_minScoredShare);
}

} // namespace frusta
