#include "engine/Assessment.h"

#include "engine/ClassBoundaries.h"
#include "engine/EnvironmentChecks.h"
#include "engine/ScoreWarning.h"
#include "refdb/dbTable.h"

namespace frusta::engine {

namespace {

const char* const kNoMasterListMessage =
    "The master taxon list is not available, so no taxa can be matched or scored.\n"
    "Check the reference database beside the program and start the program again.";
const char* const kNoMasterListNote =
    "\r\nWarning: master taxon list not available; no taxa matched or scored.";

// The master list, or null when there is none to match against.
const dbTable* usableMasterList(const dbTable* list) {
    return list && list->rowCount > 0 ? list : nullptr;
}

std::vector<std::string_view> listCodes(const std::vector<TaxonMatch>& taxa) {
    std::vector<std::string_view> codes;
    codes.reserve(taxa.size());
    for (const TaxonMatch& t : taxa)
        codes.push_back(t.listCode);
    return codes;
}

void countMatches(Assessment& a) {
    for (const TaxonMatch& t : a.taxa) {
        a.matched += t.matchRow >= 0;
        a.scored += t.scoredRow >= 0;
    }
}

} // namespace

Assessment assess(const SampleSet& samples, const ReferenceTables& tables,
                  const AnalysisSettings& settings) {
    Assessment a;
    const EnvironmentReport environment = checkEnvironment(samples, settings);
    if (environment.stopMessage) {
        a.stopMessage = environment.stopMessage;
        return a;
    }
    a.summaryNotes = environment.notes + "\r\n";

    const char* const metric = metricName(settings.metric);
    const dbTable* master = usableMasterList(tables.masterList);
    if (!master) {
        a.messages.push_back(kNoMasterListMessage);
        a.summaryNotes += kNoMasterListNote;
    }
    a.taxa = translateCodes(samples.taxonCodes, tables.translations);
    const int matchColumn = chooseMatchColumn(listCodes(a.taxa));
    a.matchColumn = matchColumn;
    const MasterColumns columns = findMasterColumns(master, matchColumn, metric);
    if (master)
        a.summaryNotes += masterColumnNotes(columns, metric);
    matchTaxa(a.taxa, master, columns);
    countMatches(a);
    if (master && tables.suggestions && a.matched != samples.taxonCount())
        suggestEntries(a.taxa, samples.taxonCodes, samples.taxonNames, *tables.suggestions,
                       matchColumn);

    std::vector<SampleSums> sums = sumSamples(samples, a.taxa);
    const ClassBoundaries bounds(tables.boundaries);
    if (!bounds.usable())
        a.summaryNotes += std::string("\r\nWarning: class boundaries for ") + metric +
                          " not available; no status classes assigned.";
    a.samples.reserve(sums.size());
    for (int s = 0; s < samples.sampleCount(); ++s) {
        makePercentages(sums[s]);
        a.samples.push_back(assessSample(samples, s, sums[s], settings, bounds));
    }

    if (a.scored != samples.taxonCount()) {
        a.unscoredTaxa = samples.taxonCount() - a.scored;
        a.summaryNotes += scoreWarning(settings.family, settings.metric, *a.unscoredTaxa);
    }
    return a;
}

} // namespace frusta::engine
