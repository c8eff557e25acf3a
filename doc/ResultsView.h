#pragma once
// A read-only view of an analysed document's results through the columns of ResultColumns.h:
// the grids, the charts and every results file read the sample results and the site table
// through it. The document keeps the one copy of the results.
#include "doc/ResultColumns.h"

#include <optional>
#include <string>

namespace frusta {

class CPbtDoc;
class dMat;

class ResultsView {
public:
    explicit ResultsView(const CPbtDoc& doc);

    // The sample results: none before an analysis.
    bool hasSamples() const { return results_ != nullptr; }
    int sampleCount() const;
    // The value of sample s in a result column; nothing when it is missing (or not finite).
    std::optional<double> value(int s, ResultColumn c) const;
    // The class code 1 (High) to 5 (Bad) of sample s; 0 without a class.
    int classCode(int s) const;
    // The comment of sample s; empty, and hasComment false, when the document holds none.
    const std::string& comment(int s) const;
    bool hasComment(int s) const;
    const std::string& label(ResultColumn c) const;
    // The scored sum of sample s in percent of its sample sum; nothing when the sample sum
    // is 0 or missing.
    std::optional<double> scoredShare(int s) const;
    // Whether that share lies below the document's smallest scored share.
    bool belowScoredShare(int s) const;

    // The site table, once the site uncertainty has been computed.
    bool hasSites() const;
    int siteCount() const;
    std::optional<double> siteValue(int i, SiteColumn c) const;
    int siteClass(int i) const;
    const std::string& siteCode(int i) const;
    bool hasSiteCode(int i) const;
    // Label i of the site table: 0 heads the site codes, i = c + 1 heads site column c.
    const std::string& siteLabel(int i) const;

private:
    const CPbtDoc& doc_;
    const dMat* results_;
    const dMat* sites_;
};

} // namespace frusta
