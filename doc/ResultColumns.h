#pragma once
// The one description of the document's results: the columns of the sample results
// (m_pResults, one row per sample) and of the site table (m_pUncertainty, one row per site),
// their labels, what kind of value each holds and how many decimals the grids show. Every
// part of the program that reads or writes a result column names it here.
#include <string>
#include <vector>

namespace frusta {

// The sample result columns, numbered as the columns of m_pResults.
enum class ResultColumn : int {
    Type,      // not written by the analysis, never shown or saved
    SampleSum, // the counts of every taxon
    ScoredSum, // the counts of the taxa with a score for the metric
    Metric,
    Expected,
    Eqr,
    Class,
    Planktic, // the four groups in percent of the sample sum
    Motile,
    OrganicTolerant,
    Saline,
    Comment, // its matrix cell is unused: the comment is the document's text of the sample
};
inline constexpr int kResultColumnCount = 12;

// The site table's columns, numbered as the columns of m_pUncertainty; all CoC and RoM
// values are percentages.
enum class SiteColumn : int {
    Samples, // samples with an EQR
    Missing, // samples without one
    MeanEqr,
    Class,
    CocHigh,
    CocGood,
    CocModerate,
    CocPoor,
    CocBad,
    Rom,
    CocHG,
    CocMPB,
    RomGM,
};
inline constexpr int kSiteColumnCount = 13;

inline int col(ResultColumn c) {
    return static_cast<int>(c);
}
inline int col(SiteColumn c) {
    return static_cast<int>(c);
}

enum class ColumnKind {
    Hidden,  // never shown or saved
    Count,   // a number of samples: saved without a number format
    Number,  // saved with two decimals
    Eqr,     // an EQR: saved with two decimals
    Percent, // saved with two decimals
    Class,   // a class code, shown and saved as the class name
    Text,    // the sample's comment
};

struct ColumnInfo {
    ColumnKind kind;
    int gridDecimals; // decimals of a number in the grid
};

ColumnInfo describe(ResultColumn c);
ColumnInfo describe(SiteColumn c);

// The columns in order, for the writers.
const std::vector<ResultColumn>& allResultColumns();
const std::vector<SiteColumn>& allSiteColumns();

// The 13 labels of the sample results of a metric: one per result column, the last empty;
// all empty for an unknown metric.
std::vector<std::string> resultLabels(int metric);
// The 21 label slots of the site table: "Site code", then one per site column, then empty.
std::vector<std::string> siteLabels();
// The title of the site table of a metric, as its sheet and its tab are named:
// "Uncertainty TDI4" and so on; "Uncertainty DAM" for any other code.
std::string uncertaintyTitle(int metric);

// The class code that a class cell holds: its value truncated towards zero when that is
// 1 (High) to 5 (Bad); 0 otherwise.
int classCodeOf(double value);

} // namespace frusta
