#pragma once
// Builds analysis documents and reference tables in memory for the engine tests.
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"
#include "doc/ResultColumns.h"
#include "support/ReferenceTables.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace frusta::test {

// One row of a master taxon list: both code columns, one score used for every metric and
// the planktic, motile, organic-tolerant and saline flags.
struct MasterTaxon {
    std::string nbnCode;
    std::string code;
    double score = 0.0;
    std::array<bool, 4> groups{};
};

// A master list with the columns the analysis reads ("NBNCode", "Code", the five score
// columns and the four group columns). `omit` names a column to leave out.
std::shared_ptr<dbTable> makeMasterList(const std::vector<MasterTaxon>& taxa,
                                        const std::string& omit = "");

using R = ResultColumn;
using S = SiteColumn;

class EngineTest : public ::testing::Test {
protected:
    CPbtApp app;
    ScriptedPort port;
    CPbtDoc doc{app, port};

    // Sets family and metric (the metric's name too).
    void useMetric(int family, int metric);
    // The input taxa and their counts, counts[s][k] for sample s and taxon k.
    void setCounts(const std::vector<std::string>& codes,
                   const std::vector<std::vector<double>>& counts);
    // Information row `row` (0-based; rows up to 5 are made, empty texts by default).
    void setInfo(int row, const std::vector<std::string>& values);

    double cell(int s, ResultColumn c) const { return (*doc.m_pResults)(s, col(c)); }
    bool missing(int s, ResultColumn c) const { return doc.m_pResults->isMissing(s, col(c)); }
    double site(int r, SiteColumn c) const { return (*doc.m_pUncertainty)(r, col(c)); }
    bool siteMissing(int r, SiteColumn c) const { return doc.m_pUncertainty->isMissing(r, col(c)); }
};

} // namespace frusta::test
