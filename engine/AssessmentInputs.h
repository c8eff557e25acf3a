#pragma once
// What an assessment is computed from: the samples of a worksheet, the reference tables and
// the settings of the analysis. The samples and tables are views of data held by the caller,
// which must outlive the assessment; nothing is copied.
#include "engine/Metric.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace frusta {
class dbTable;
class SuggestionIndex;
class TranslationTable;
} // namespace frusta

namespace frusta::engine {

struct SampleSet {
    std::vector<std::string_view> taxonCodes; // one per input taxon, in worksheet order
    std::vector<const double*> counts;        // one per sample: its count of every taxon
    // Per information row, one text per sample (see InfoRows.h); null when there are none.
    const std::vector<std::vector<std::string>>* infoRows = nullptr;
    // One name per input taxon, for suggesting list entries; none when names are not known.
    std::vector<std::string_view> taxonNames;

    int sampleCount() const { return static_cast<int>(counts.size()); }
    int taxonCount() const { return static_cast<int>(taxonCodes.size()); }
    // The texts of information row `row`; none when the worksheet had no such row.
    const std::vector<std::string>& info(int row) const;
    // The text of sample s in information row `row`; empty when there is no such cell.
    const std::string& info(int row, int s) const;
};

struct ReferenceTables {
    const dbTable* masterList = nullptr; // the master taxon list
    const dbTable* boundaries = nullptr; // the class boundaries of the metric
    const dbTable* coc = nullptr;        // the confidence-of-class coefficients of the family
    // The user's translations of codes into list codes; none when not used.
    const TranslationTable* translations = nullptr;
    // The index of the master list for suggesting entries for taxa not in it; none: no
    // suggestions.
    const SuggestionIndex* suggestions = nullptr;
};

// The metric, and the model ranges and defaults for missing chemistry.
struct AnalysisSettings {
    int32_t family = kFamilyRivers;
    int32_t metric = kMetricTDI4;
    double alkMinTDI3 = 6.0, alkMaxTDI3 = 150.0; // mg/l
    double alkMinTDI4 = 5.0, alkMaxTDI4 = 250.0; // mg/l
    double caMin = 5.0, caMax = 500.0;           // ueq/l
    double docMin = 0.0, docMax = 50.0;          // mg/l
    double defAlk = 100.0, defCa = 100.0, defDoc = 1.0;
};

} // namespace frusta::engine
