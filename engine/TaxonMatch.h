#pragma once
// Matching of the input taxa against the master taxon list, and what the analysis needs of
// each matched taxon: its row, its score for the metric and its four group flags.
#include "refdb/SuggestionIndex.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace frusta {
class dbTable;
class TranslationTable;
} // namespace frusta

namespace frusta::engine {

enum Group { kPlanktic = 0, kMotile = 1, kOrganicTolerant = 2, kSaline = 3 };
inline constexpr int kGroupCount = 4;

// The master columns the analysis reads; -1 for a column that is absent or not of the
// type the analysis reads it as (text codes, floating-point scores, boolean groups).
struct MasterColumns {
    int code = -1;
    int score = -1;
    std::array<int, kGroupCount> groups{-1, -1, -1, -1};
};

enum class MatchStatus {
    NotInList,      // no master row has the taxon's code
    InListUnscored, // in the list, without a score above 0 for the metric
    Scored,
};

// The match of one input taxon.
struct TaxonMatch {
    MatchStatus status = MatchStatus::NotInList;
    int32_t matchRow = -1;  // master row of the taxon's code, -1 when none
    int32_t scoredRow = -1; // the same row when its score is greater than 0, else -1
    double score = 0.0;     // the score when scored
    std::array<bool, kGroupCount> groups{};
    // The row of the translation table that gave the code matched; 0 when none applied.
    int translationRow = 0;
    std::string listCode; // the code matched: the taxon's own, or its translation
    std::string note;     // the translation's note
    // For a taxon not in the list, the entries it most likely meant, best first.
    std::vector<Suggestion> suggestions;

    bool translated() const { return translationRow > 0; }
};

// The master column to match against: 0 when some input code begins with exactly "NBN" or
// "NHM" (a code shorter than three characters is compared whole), else 1.
int chooseMatchColumn(const std::vector<std::string_view>& codes);

// Finds the columns in the master list (which may be null: every column is then absent).
MasterColumns findMasterColumns(const dbTable* master, int matchColumn, const char* scoreName);

// The codes to match, in input order: each taxon's own code, or its list code when the
// translation table maps it. Each record has its listCode and translation set.
std::vector<TaxonMatch> translateCodes(const std::vector<std::string_view>& codes,
                                       const TranslationTable* translations);

// Matches the records made by translateCodes, in input order. Scores and flags are read once
// per taxon; the first (lowest) master row with the taxon's list code wins.
void matchTaxa(std::vector<TaxonMatch>& taxa, const dbTable* master, const MasterColumns& columns);

// Fills the suggestions of the taxa not in the list from their own codes and names (names
// may be none).
void suggestEntries(std::vector<TaxonMatch>& taxa, const std::vector<std::string_view>& codes,
                    const std::vector<std::string_view>& names, const SuggestionIndex& index,
                    int codeColumn);

// Job-summary notes about master columns that could not be used; empty when all are there.
std::string masterColumnNotes(const MasterColumns& columns, const char* scoreName);

} // namespace frusta::engine
