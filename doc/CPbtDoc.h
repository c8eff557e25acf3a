#pragma once
// CPbtDoc: one analysis, from the opening of a sample workbook to the closing of its windows.
// Holds the counts, the sample information rows, the chosen metric, the chemistry limits and
// defaults, every result of the assessment and the job summary.
#include "app/Outcome.h"
#include "doc/dMat.h"
#include "engine/AssessmentInputs.h"
#include "engine/Metric.h"
#include "engine/ScoredShare.h"
#include "engine/TaxonMatch.h"
#include "refdb/dbTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace frusta {

class CPbtApp;
class UserPort;

// One input taxon: its code, its name and the worksheet's third column text.
struct TaxonEntry {
    std::string code;
    std::string name;
    std::string third;
};

class CPbtDoc {
public:
    CPbtDoc(CPbtApp& app, UserPort& port);
    virtual ~CPbtDoc();
    CPbtDoc(const CPbtDoc&) = delete;
    CPbtDoc& operator=(const CPbtDoc&) = delete;

    // Reads the sample workbook at `path` (the open hook); a failure discards the document.
    Outcome OnOpenDocument(const std::string& path);
    // The assessment of every sample; failed when it stopped.
    Outcome RunAnalysis();
    // The confidence of class per site; failed when no site table was made.
    Outcome RunUncertainty();
    // Saving is the results workbook writer's (output/ResultsWriter.h).

    // Resets the results block: both counts to 0 and the results matrix deleted.
    void resetResults();

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }

    CPbtApp& app() { return m_app; }
    const CPbtApp& app() const { return m_app; }
    UserPort& port() { return m_port; }

    // Members, in the order of the document's data model.
    std::string m_strMetric;
    std::string m_strSheetName; // the worksheet that was read
    bool m_bAnalysed = false;
    bool m_bDoUncertainty = true;
    int32_t m_nNoScoreTaxa = 0;
    int32_t m_nFamily = kFamilyRivers;
    int32_t m_nMetric = kMetricTDI4;
    bool m_bLatest = true;
    // The model ranges and the defaults for missing chemistry start as the engine's.
    static constexpr engine::AnalysisSettings kInitial{};
    double m_alkMinTDI3 = kInitial.alkMinTDI3, m_alkMaxTDI3 = kInitial.alkMaxTDI3;
    double m_alkMinTDI4 = kInitial.alkMinTDI4, m_alkMaxTDI4 = kInitial.alkMaxTDI4;
    double m_caMin = kInitial.caMin, m_caMax = kInitial.caMax;
    double m_docMin = kInitial.docMin, m_docMax = kInitial.docMax;
    double m_defAlk = kInitial.defAlk, m_defCa = kInitial.defCa, m_defDoc = kInitial.defDoc;
    std::unique_ptr<dMat> m_pCounts;
    int32_t m_nTaxa = 0;
    int32_t m_nSamples = 0;
    int32_t m_nInfoRows = 0;
    std::vector<TaxonEntry> m_taxa;
    std::vector<std::vector<std::string>> m_infoValues;
    std::vector<std::string> m_infoLabels;
    std::vector<std::string> m_comments;
    std::vector<std::string> m_uncLabels;
    std::vector<std::string> m_siteCodes;
    std::string m_strSummary;
    std::unique_ptr<dMat> m_pUncertainty;
    // The match of every input taxon: status, list row and code, translation, suggestions;
    // empty until the first analysis.
    std::vector<engine::TaxonMatch> m_taxonMatches;
    int32_t m_nMatchColumn = 1; // the master list's code column that was matched
    // The master list that the records' rows belong to: the one in use at the analysis,
    // kept when another reference database is chosen later.
    std::shared_ptr<const dbTable> m_matchedList;
    std::vector<int32_t> m_pTaxonMatch;  // empty until the first analysis
    std::vector<int32_t> m_pTaxonScored; // empty until the first analysis
    int32_t m_nMatched = 0;
    int32_t m_nScored = 0;
    std::unique_ptr<dMat> m_pResults;
    std::vector<std::string> m_resultLabels;
    bool m_bUncertaintyDone = false;

    // The smallest share of a sample's count that should be scored, in percent.
    double m_minScoredShare = engine::kDefaultMinScoredShare;
    // The workbook as opened, its SHA-256 and the first data row and column (1-based).
    std::string m_strPath;
    std::string m_inputSha256;
    int32_t m_nFirstRow = 0;
    int32_t m_nFirstCol = 0;
    // How the last analysis was made (label, value); empty until the first analysis.
    std::vector<std::pair<std::string, std::string>> m_runDetails;

    // The class boundaries and confidence-of-class coefficients loaded for this document
    // when its workbook was read; each document keeps its own.
    std::shared_ptr<const dbTable> m_boundaryTable;
    std::shared_ptr<const dbTable> m_cocTable;

private:
    CPbtApp& m_app;
    UserPort& m_port;
    std::string m_strTitle;
    bool m_bModified = false;
};

} // namespace frusta
