#pragma once
// CPbtDoc: one analysis, from the opening of a sample workbook to the closing of its windows.
// Holds the counts, the sample information rows, the chosen metric, the chemistry limits and
// defaults, every result of the assessment and the job summary.
#include "doc/dMat.h"
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

// Metric codes: index into the fixed table of names.
enum MetricCode : int32_t {
    kMetricTDI = 0,
    kMetricLTDI = 1,
    kMetricDAM = 2,
    kMetricTDI3 = 3,
    kMetricTDI4 = 4,
    kMetricLTDI1 = 5,
    kMetricLTDI2 = 6
};

enum Family : int32_t { kFamilyRivers = 0, kFamilyLakes = 1, kFamilyAcid = 2 };

// "TDI", "LTDI", "DAM", "TDI3", "TDI4", "LTDI1", "LTDI2" for codes 0 to 6; empty otherwise.
const char* metricName(int code);
// Metric code of a family and version: 0 -> 4 or 3, 1 -> 6 or 5, 2 -> 2.
int32_t metricCodeFor(int32_t family, bool latest);

class CPbtDoc {
public:
    CPbtDoc(CPbtApp& app, UserPort& port);
    virtual ~CPbtDoc();
    CPbtDoc(const CPbtDoc&) = delete;
    CPbtDoc& operator=(const CPbtDoc&) = delete;

    // Reads the sample workbook at `path` (the open hook); false means discard the document.
    bool OnOpenDocument(const std::string& path);
    // The reading of the workbook held in m_pBook, from the sheet count on; releases the book.
    bool ReadWorkbook();
    // The reason behind the last failure of reading: why the workbook could not be loaded
    // (after "Error reading file") or why the class boundaries or the confidence-of-class
    // coefficients could not be loaded; empty otherwise.
    const std::string& lastLoadError() const { return m_strLoadError; }
    void SetLoadError(std::string reason) { m_strLoadError = std::move(reason); }
    // The assessment of every sample; false when it stopped.
    bool RunAnalysis();
    // The confidence of class per site; false when no site table was made.
    bool RunUncertainty();
    // The results workbook writer: asks for a file name and writes the results; true when
    // the results were written (not when there were none, the user cancelled or it failed).
    bool SaveResultsWorkbook();
    // The save hook: ignores the path and runs the writer; true when the results were written,
    // so that "Yes" to "Save Results?" closes only after a successful save.
    bool OnSaveDocument(const std::string& path);
    // The save-modified question; true when closing may go on.
    bool SaveModified();

    // Resets the results block: both counts to 0 and the results matrix deleted.
    void resetResults();

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }

    CPbtApp& app() { return m_app; }
    UserPort& port() { return m_port; }

    // Members, in the order of the document's data model.
    Sheet* m_pSheet = nullptr;     // only valid while the reader runs
    std::unique_ptr<Book> m_pBook; // only held while the reader runs
    std::string m_strMetric;
    std::string m_strSheetName; // the worksheet that was read
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
    std::string m_strLoadError;
    bool m_bModified = false;
};

} // namespace frusta
