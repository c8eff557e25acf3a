#pragma once
// CPbtDoc: one analysis, from the opening of a sample workbook to the closing of its windows.
// Holds the counts, the sample information rows, the chosen metric, the chemistry limits and
// defaults, every result of the assessment and the job summary.
#include "app/Outcome.h"
#include "doc/dMat.h"
#include "engine/Metric.h"
#include "refdb/dbTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace frusta {

class Book;
class Sheet;
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
    // The reading of the workbook held in m_pBook, from the sheet count on; releases the book.
    Outcome ReadWorkbook();
    // The assessment of every sample; failed when it stopped.
    Outcome RunAnalysis();
    // The confidence of class per site; failed when no site table was made.
    Outcome RunUncertainty();
    // The results workbook writer: asks for a file name and writes the results; done when the
    // results were written (not when there were none, the user cancelled or it failed).
    Outcome SaveResultsWorkbook();
    // The save hook: ignores the path and runs the writer; done when the results were written,
    // so that "Yes" to "Save Results?" closes only after a successful save.
    Outcome OnSaveDocument(const std::string& path);
    // The save-modified question; true when closing may go on.
    bool SaveModified();

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
    Sheet* m_pSheet = nullptr;     // only valid while the reader runs
    std::unique_ptr<Book> m_pBook; // only held while the reader runs
    std::string m_strMetric;
    bool m_bAnalysed = false;
    bool m_bDoUncertainty = true;
    int32_t m_nNoScoreTaxa = 0;
    int32_t m_nFamily = kFamilyRivers;
    int32_t m_nMetric = kMetricTDI4;
    bool m_bLatest = true;
    double m_alkMinTDI3 = 6.0, m_alkMaxTDI3 = 150.0;
    double m_alkMinTDI4 = 5.0, m_alkMaxTDI4 = 250.0;
    double m_caMin = 5.0, m_caMax = 500.0;
    double m_docMin = 0.0, m_docMax = 50.0;
    double m_defAlk = 100.0, m_defCa = 100.0, m_defDoc = 1.0;
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
    std::vector<int32_t> m_pTaxonMatch;  // empty until the first analysis
    std::vector<int32_t> m_pTaxonScored; // empty until the first analysis
    int32_t m_nMatched = 0;
    int32_t m_nScored = 0;
    std::unique_ptr<dMat> m_pResults;
    std::vector<std::string> m_resultLabels;
    bool m_bUncertaintyDone = false;

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
