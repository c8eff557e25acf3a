#include "doc/TaxonMatchView.h"

#include "doc/CPbtDoc.h"
#include "engine/MatchTexts.h"

namespace frusta {

namespace {

const char* const kLabels[kTaxonColumnCount] = {"Code",
                                                "Name",
                                                "Status",
                                                "List code",
                                                "List name",
                                                "",
                                                "Planktic",
                                                "Motile",
                                                "Organic tolerant",
                                                "Saline",
                                                "Samples",
                                                "Total count",
                                                "% of all counts",
                                                "Note",
                                                "Suggested code 1",
                                                "Suggested name 1",
                                                "Suggested code 2",
                                                "Suggested name 2",
                                                "Suggested code 3",
                                                "Suggested name 3"};

int groupOf(TaxonColumn c) {
    return static_cast<int>(c) - static_cast<int>(TaxonColumn::Planktic);
}

} // namespace

TaxonMatchView::TaxonMatchView(const CPbtDoc& doc) : doc_(doc), list_(doc.m_matchedList.get()) {
    if (list_) {
        nameColumn_ = SuggestionIndex::nameColumnOf(*list_);
        scoreColumn_ = list_->FindColumn(doc.m_strMetric);
    }
}

bool TaxonMatchView::hasMatches() const {
    return !doc_.m_taxonMatches.empty() && doc_.m_taxonMatches.size() == doc_.m_taxa.size();
}

int TaxonMatchView::taxonCount() const {
    return hasMatches() ? static_cast<int>(doc_.m_taxonMatches.size()) : 0;
}

const engine::TaxonMatch& TaxonMatchView::match(int k) const {
    return doc_.m_taxonMatches[static_cast<std::size_t>(k)];
}

std::string TaxonMatchView::label(TaxonColumn c) const {
    return c == TaxonColumn::Score ? doc_.m_strMetric : kLabels[static_cast<int>(c)];
}

bool TaxonMatchView::isNumber(TaxonColumn c) {
    return c == TaxonColumn::Score || c == TaxonColumn::Samples || c == TaxonColumn::TotalCount ||
           c == TaxonColumn::ShareOfAll;
}

std::string TaxonMatchView::listText(int32_t row, int col) const {
    std::string text;
    if (list_ && row >= 0 && row < list_->rowCount && col >= 0 && col < list_->colCount)
        list_->GetText(row, col, text);
    return text;
}

std::optional<double> TaxonMatchView::score(int k) const {
    const engine::TaxonMatch& m = match(k);
    if (m.status == engine::MatchStatus::Scored)
        return m.score;
    double v = 0.0;
    if (m.matchRow >= 0 && list_ && scoreColumn_ >= 0 && m.matchRow < list_->rowCount &&
        list_->GetDouble(m.matchRow, scoreColumn_, v))
        return v;
    return std::nullopt;
}

std::optional<double> TaxonMatchView::allCounts() const {
    if (!allCounts_ && doc_.m_pCounts) {
        const dMat& c = *doc_.m_pCounts;
        double total = 0.0;
        for (int s = 0; s < c.nrow(); ++s)
            for (int k = 0; k < c.ncol(); ++k)
                total += c(s, k);
        allCounts_ = total;
    }
    return allCounts_;
}

std::optional<double> TaxonMatchView::number(int k, TaxonColumn c) const {
    const dMat* counts = doc_.m_pCounts.get();
    if (c == TaxonColumn::Score)
        return score(k);
    if (!counts || k >= counts->ncol())
        return std::nullopt;
    double total = 0.0;
    int samples = 0;
    for (int s = 0; s < counts->nrow(); ++s) {
        const double v = (*counts)(s, k);
        total += v;
        samples += v > 0.0;
    }
    if (c == TaxonColumn::Samples)
        return samples;
    if (c == TaxonColumn::TotalCount)
        return total;
    const auto all = allCounts();
    if (c == TaxonColumn::ShareOfAll && all && *all > 0.0)
        return total / *all * 100.0;
    return std::nullopt;
}

std::string TaxonMatchView::text(int k, TaxonColumn c) const {
    const engine::TaxonMatch& m = match(k);
    const auto idx = static_cast<int>(c);
    switch (c) {
    case TaxonColumn::Code:
        return doc_.m_taxa[static_cast<std::size_t>(k)].code;
    case TaxonColumn::Name:
        return doc_.m_taxa[static_cast<std::size_t>(k)].name;
    case TaxonColumn::Status:
        return engine::statusText(m, doc_.m_strMetric);
    case TaxonColumn::ListCode:
        if (m.matchRow >= 0)
            return listText(m.matchRow, doc_.m_nMatchColumn);
        return m.translated() ? m.listCode : std::string();
    case TaxonColumn::ListName:
        return m.matchRow >= 0 ? listText(m.matchRow, nameColumn_) : std::string();
    case TaxonColumn::Planktic:
    case TaxonColumn::Motile:
    case TaxonColumn::OrganicTolerant:
    case TaxonColumn::Saline:
        return m.matchRow >= 0 && m.groups[static_cast<std::size_t>(groupOf(c))] ? "Yes" : "";
    case TaxonColumn::Note:
        return m.note;
    default:
        break;
    }
    const int first = static_cast<int>(TaxonColumn::Suggestion1Code);
    if (idx >= first) {
        const int i = (idx - first) / 2;
        if (i >= suggestionCount(k))
            return {};
        return (idx - first) % 2 == 0 ? suggestionCode(k, i) : suggestionName(k, i);
    }
    return {};
}

int TaxonMatchView::suggestionCount(int k) const {
    return static_cast<int>(match(k).suggestions.size());
}

std::string TaxonMatchView::suggestionCode(int k, int i) const {
    return listText(match(k).suggestions[static_cast<std::size_t>(i)].row, doc_.m_nMatchColumn);
}

std::string TaxonMatchView::suggestionName(int k, int i) const {
    return listText(match(k).suggestions[static_cast<std::size_t>(i)].row, nameColumn_);
}

std::string TaxonMatchView::suggestionReason(int k, int i) const {
    return engine::suggestionReason(match(k).suggestions[static_cast<std::size_t>(i)]);
}

std::string TaxonMatchView::explanation(int k) const {
    const engine::TaxonMatch& m = match(k);
    std::string text;
    if (m.translated())
        text = "Translated to " + m.listCode + " by row " + std::to_string(m.translationRow) +
               " of the translation table.\n";
    switch (m.status) {
    case engine::MatchStatus::Scored:
        return {};
    case engine::MatchStatus::InListUnscored: {
        const std::string name = listText(m.matchRow, nameColumn_);
        return text + "In the master list as " + listText(m.matchRow, doc_.m_nMatchColumn) +
               (name.empty() ? "" : " (" + name + ")") + ", but without a " + doc_.m_strMetric +
               " score: it counts in the sample sum and its groups only.";
    }
    case engine::MatchStatus::NotInList:
        break;
    }
    text += "Not in the master list: it counts in the sample sum only.";
    if (m.suggestions.empty())
        return text + "\nNo similar entry in the list.";
    text += "\nPerhaps:";
    for (int i = 0; i < suggestionCount(k); ++i) {
        const std::string name = suggestionName(k, i);
        text += "\n" + suggestionCode(k, i) + (name.empty() ? "" : " " + name) + " (" +
                suggestionReason(k, i) + ")";
    }
    return text;
}

} // namespace frusta
