#pragma once
// Matching of the input taxa against the master taxon list, and what the analysis needs of
// each matched taxon: its row, its score for the metric and its four group flags.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace frusta {
class dbTable;
}

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
};

// The master column to match against: 0 when some input code begins with exactly "NBN" or
// "NHM" (a code shorter than three characters is compared whole), else 1.
int chooseMatchColumn(const std::vector<std::string_view>& codes);

// Finds the columns in the master list (which may be null: every column is then absent).
MasterColumns findMasterColumns(const dbTable* master, int matchColumn, const char* scoreName);

// One match per input code, in input order. Scores and flags are read once per taxon; the
// first (lowest) master row with the taxon's code wins.
std::vector<TaxonMatch> matchTaxa(const std::vector<std::string_view>& codes, const dbTable* master,
                                  const MasterColumns& columns);

// Job-summary notes about master columns that could not be used; empty when all are there.
std::string masterColumnNotes(const MasterColumns& columns, const char* scoreName);

} // namespace frusta::engine
