#pragma once
// Results of a document filled by hand for the tests of the outputs, through the column
// description.
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"

#include <functional>
#include <map>
#include <memory>

namespace frusta::test {

// Two samples: the first with value(k) in result column k and `classCode` in the class
// column, the second without metric, expected value, EQR or class; the labels of `metric`.
inline void fillTwoSamples(CPbtDoc& doc, int metric, const std::function<double(int)>& value,
                           double classCode) {
    doc.m_pResults = std::make_unique<dMat>(2, kResultColumnCount);
    dMat& r = *doc.m_pResults;
    for (int k = col(ResultColumn::SampleSum); k <= col(ResultColumn::Saline); ++k)
        r(0, k) = value(k);
    r(0, col(ResultColumn::Class)) = classCode;
    for (ResultColumn c :
         {ResultColumn::Metric, ResultColumn::Expected, ResultColumn::Eqr, ResultColumn::Class})
        r(1, col(c)) = r.missingValue();
    doc.m_resultLabels = resultLabels(metric);
    doc.m_bAnalysed = true;
}

// A site table of sites A1 and B2 with the given values; every other cell is missing.
using SiteValues = std::map<SiteColumn, double>;
inline void fillTwoSites(CPbtDoc& doc, const SiteValues& a1, const SiteValues& b2) {
    doc.m_pUncertainty = std::make_unique<dMat>(2, kSiteColumnCount, dMat::kMissing);
    for (const auto& [c, v] : a1)
        (*doc.m_pUncertainty)(0, col(c)) = v;
    for (const auto& [c, v] : b2)
        (*doc.m_pUncertainty)(1, col(c)) = v;
    doc.m_siteCodes = {"A1", "B2"};
    doc.m_uncLabels = siteLabels();
    doc.m_bUncertaintyDone = true;
}

} // namespace frusta::test
