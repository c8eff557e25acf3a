#pragma once
// A read-only view of the match of every input taxon of an analysed document, through the
// columns of the "Taxon matching" table: the grid, the sheet, the CSV and JSON files and
// the data window's hover texts read it. The document keeps the one copy of the records.
#include "engine/TaxonMatch.h"

#include <optional>
#include <string>
#include <vector>

namespace frusta {

class CPbtDoc;
class dbTable;

enum class TaxonColumn : int {
    Code,
    Name,
    Status,
    ListCode,
    ListName,
    Score,
    Planktic,
    Motile,
    OrganicTolerant,
    Saline,
    Samples,    // samples in which the taxon was counted
    TotalCount, // its count over all samples
    ShareOfAll, // that count in percent of all counts of the worksheet
    Note,       // the translation's note
    Suggestion1Code,
    Suggestion1Name,
    Suggestion2Code,
    Suggestion2Name,
    Suggestion3Code,
    Suggestion3Name,
};
inline constexpr int kTaxonColumnCount = 20;
inline constexpr int kShownSuggestions = 3;

class TaxonMatchView {
public:
    explicit TaxonMatchView(const CPbtDoc& doc);

    // The records exist from the first analysis on.
    bool hasMatches() const;
    int taxonCount() const;
    const engine::TaxonMatch& match(int k) const;

    // The column's header; the score column is named after the metric.
    std::string label(TaxonColumn c) const;
    // Whether the column holds numbers (Score, Samples, TotalCount, ShareOfAll).
    static bool isNumber(TaxonColumn c);
    // The number of taxon k in a number column; nothing when it has none.
    std::optional<double> number(int k, TaxonColumn c) const;
    // The text of taxon k in a text column ("Yes" or empty for the groups).
    std::string text(int k, TaxonColumn c) const;

    // The suggestions of taxon k: the list code, the name and why.
    int suggestionCount(int k) const;
    std::string suggestionCode(int k, int i) const;
    std::string suggestionName(int k, int i) const;
    std::string suggestionReason(int k, int i) const;

    // Why taxon k counts or does not count, with its suggestions, one line each; empty
    // for a scored taxon.
    std::string explanation(int k) const;

private:
    std::string listText(int32_t row, int col) const;
    std::optional<double> score(int k) const;
    std::optional<double> allCounts() const;

    const CPbtDoc& doc_;
    const dbTable* list_;
    int nameColumn_ = -1;
    int scoreColumn_ = -1;
    mutable std::optional<double> allCounts_;
};

} // namespace frusta
