#include "EngineFixture.h"

namespace frusta::test {

namespace {
const char* const kScoreNames[] = {"TDI3", "TDI4", "LTDI1", "LTDI2", "DAM"};
const char* const kGroupNames[] = {"Planktic", "Motile", "OrganicTolerant", "Saline"};
} // namespace

std::shared_ptr<dbTable> makeMasterList(const std::vector<MasterTaxon>& taxa,
                                        const std::string& omit) {
    auto t = std::make_shared<dbTable>();
    t->addColumn("NBNCode", ColumnType::Text);
    t->addColumn("Code", ColumnType::Text);
    for (const char* name : kScoreNames)
        if (omit != name)
            t->addColumn(name, ColumnType::Double);
    for (const char* name : kGroupNames)
        if (omit != name)
            t->addColumn(name, ColumnType::Bool);
    t->setRowCount(static_cast<int32_t>(taxa.size()));
    for (int r = 0; r < static_cast<int>(taxa.size()); ++r) {
        t->setText(r, 0, taxa[r].nbnCode);
        t->setText(r, 1, taxa[r].code);
        for (const char* name : kScoreNames)
            if (omit != name)
                t->setDouble(r, t->FindColumn(name), taxa[r].score);
        for (int g = 0; g < 4; ++g)
            if (omit != kGroupNames[g])
                t->setBool(r, t->FindColumn(kGroupNames[g]), taxa[r].groups[g]);
    }
    return t;
}

void EngineTest::useMetric(int family, int metric) {
    doc.m_nFamily = family;
    doc.m_nMetric = metric;
    doc.m_strMetric = metricName(metric);
}

void EngineTest::setCounts(const std::vector<std::string>& codes,
                           const std::vector<std::vector<double>>& counts) {
    doc.m_nTaxa = static_cast<int32_t>(codes.size());
    doc.m_nSamples = static_cast<int32_t>(counts.size());
    doc.m_taxa.clear();
    for (const auto& c : codes)
        doc.m_taxa.push_back({c, "name of " + c, ""});
    doc.m_pCounts = std::make_unique<dMat>(doc.m_nSamples, doc.m_nTaxa, 0.0);
    for (int s = 0; s < doc.m_nSamples; ++s)
        for (int k = 0; k < doc.m_nTaxa; ++k)
            (*doc.m_pCounts)(s, k) = counts[s][k];
    doc.m_nInfoRows = 6;
    doc.m_infoLabels = {"Sample", "Site", "Date", "Alkalinity", "Calcium", "DOC"};
    doc.m_infoValues.assign(6, std::vector<std::string>(doc.m_nSamples));
}

void EngineTest::setInfo(int row, const std::vector<std::string>& values) {
    doc.m_infoValues.at(row) = values;
}

} // namespace frusta::test
