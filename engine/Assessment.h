#pragma once
// The assessment of a worksheet's samples as a function of values: the match of every taxon,
// every sample's sums, metric value, group percentages, expected value, EQR, class and
// comment, and the notes for the job summary.
#include "engine/AssessmentInputs.h"
#include "engine/SampleAssessment.h"
#include "engine/TaxonMatch.h"

#include <optional>
#include <string>
#include <vector>

namespace frusta::engine {

struct Assessment {
    // When set, the analysis stopped before any result; the text tells the user why.
    std::optional<std::string> stopMessage;
    // What the user is to be told about an analysis that went on, in order.
    std::vector<std::string> messages;
    // Appended to the job summary, in order.
    std::string summaryNotes;
    std::vector<TaxonMatch> taxa; // one per input taxon
    int matchColumn = 1;          // the master column of the codes matched
    int matched = 0;              // input taxa in the master list
    int scored = 0;               // input taxa with a score for the metric
    // The number of input taxa without a score, when there are any.
    std::optional<int> unscoredTaxa;
    std::vector<SampleResult> samples; // one per sample
};

Assessment assess(const SampleSet& samples, const ReferenceTables& tables,
                  const AnalysisSettings& settings);

} // namespace frusta::engine
