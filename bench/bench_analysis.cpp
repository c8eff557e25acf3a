// Times the assessment of 20,000 samples x 2,000 taxa against master taxon lists of 1,000,
// 10,000 and 100,000 rows, and prints the times and how they change with the list's size.
// By default every other input taxon is unknown to the list; with the argument "matched"
// every input taxon is in it.
#include "Lcg.h"
#include "app/CPbtApp.h"
#include "app/ScriptedPort.h"
#include "doc/CPbtDoc.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

using namespace frusta;

namespace {

using frusta::bench::Lcg;
constexpr uint64_t kSeed = 12345; // of the made-up data
constexpr int kSamples = 20000;
constexpr int kTaxa = 2000;
constexpr int kSitesEvery = 10; // samples per site
constexpr int kRepeats = 3;

std::string taxonCode(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "TX%06d", i);
    return buf;
}

// Master rows carry codes TX000000 upwards in a shuffled order, so that look-ups do not
// follow the rows. The input taxa that match are all in the smallest list, so every list
// matches the same taxa and only the size of the list changes.
std::shared_ptr<dbTable> makeMaster(int rows) {
    auto t = std::make_shared<dbTable>();
    t->addColumn("NBNCode", ColumnType::Text);
    t->addColumn("Code", ColumnType::Text);
    for (const char* n : {"TDI3", "TDI4", "LTDI1", "LTDI2", "DAM"})
        t->addColumn(n, ColumnType::Double);
    for (const char* n : {"Planktic", "Motile", "OrganicTolerant", "Saline"})
        t->addColumn(n, ColumnType::Bool);
    t->setRowCount(rows);
    Lcg rng(kSeed);
    for (int r = 0; r < rows; ++r) {
        const int code = (r * 7919) % rows; // a permutation when rows is not a multiple of 7919
        t->setText(r, 0, "NBN" + std::to_string(code));
        t->setText(r, 1, taxonCode(code));
        for (int c = 2; c <= 6; ++c)
            t->setDouble(r, c, 1.0 + rng.next() % 5);
        for (int c = 7; c <= 10; ++c)
            t->setBool(r, c, rng.next() % 3 == 0);
    }
    return t;
}

std::shared_ptr<dbTable> makeBoundaries() {
    auto t = std::make_shared<dbTable>();
    for (const char* n : {"SiteType", "Type", "MedianTDI", "HG", "GM", "MP", "PB"})
        t->addColumn(n, n[0] == 'S' || n[0] == 'T' ? ColumnType::Text : ColumnType::Double);
    t->setRowCount(1);
    const double v[] = {0.0, 0.8, 0.6, 0.4, 0.2};
    for (int c = 2; c <= 6; ++c)
        t->setDouble(0, c, v[c - 2]);
    return t;
}

std::shared_ptr<dbTable> makeCoc() {
    auto t = std::make_shared<dbTable>();
    t->addColumn("SiteType", ColumnType::Text);
    t->addColumn("Coefficient", ColumnType::Text);
    t->addColumn("Value", ColumnType::Double);
    t->setRowCount(4);
    const double c[] = {0.1, 0.05, 0.02, 2.0};
    for (int r = 0; r < 4; ++r)
        t->setDouble(r, 2, c[r]);
    return t;
}

void fillDocument(CPbtDoc& doc, bool allMatched) {
    doc.m_nFamily = kFamilyRivers;
    doc.m_nMetric = kMetricTDI3;
    doc.m_strMetric = "TDI3";
    doc.m_nTaxa = kTaxa;
    doc.m_nSamples = kSamples;
    doc.m_nInfoRows = 6;
    // Every other input taxon (1,000 of 2,000) is in the master list and the rest are
    // unknown, or all of them are in it.
    for (int k = 0; k < kTaxa; ++k)
        doc.m_taxa.push_back({allMatched   ? taxonCode(k % 1000)
                              : k % 2 == 0 ? taxonCode(k / 2)
                                           : "XX" + std::to_string(k),
                              "taxon", ""});
    doc.m_infoLabels = {"Sample", "Site", "Date", "Alkalinity", "Calcium", "DOC"};
    doc.m_infoValues.assign(6, std::vector<std::string>(kSamples));
    Lcg rng(kSeed);
    for (int s = 0; s < kSamples; ++s) {
        doc.m_infoValues[0][s] = "S" + std::to_string(s);
        doc.m_infoValues[1][s] = "Site" + std::to_string(s / kSitesEvery);
        doc.m_infoValues[2][s] = std::to_string(30000 + rng.next() % 20000);
        doc.m_infoValues[3][s] = std::to_string(rng.next() % 300);
    }
    doc.m_pCounts = std::make_unique<dMat>(kSamples, kTaxa, 0.0);
    for (int s = 0; s < kSamples; ++s)
        for (int k = 0; k < kTaxa; ++k)
            if (rng.next() % 4 == 0)
                (*doc.m_pCounts)(s, k) = rng.next() % 50;
}

struct Timing {
    double analysis = 1e300;
    double uncertainty = 1e300;
};

double seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

Timing timeWith(CPbtApp& app, CPbtDoc& doc, int masterRows) {
    app.taxonTable = makeMaster(masterRows);
    Timing best;
    for (int i = 0; i < kRepeats; ++i) {
        doc.m_comments.clear();
        doc.m_strSummary.clear();
        auto t0 = std::chrono::steady_clock::now();
        if (!doc.RunAnalysis())
            std::printf("analysis failed\n");
        best.analysis = std::min(best.analysis, seconds(t0));
        t0 = std::chrono::steady_clock::now();
        if (!doc.RunUncertainty())
            std::printf("uncertainty failed\n");
        best.uncertainty = std::min(best.uncertainty, seconds(t0));
    }
    std::printf("master rows %7d: RunAnalysis %8.1f ms, RunUncertainty %7.1f ms, matched %d\n",
                masterRows, best.analysis * 1e3, best.uncertainty * 1e3, doc.m_nMatched);
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const bool allMatched = argc > 1 && std::string(argv[1]) == "matched";
    CPbtApp app;
    ScriptedPort port;
    port.worksheet = std::nullopt;
    CPbtDoc doc(app, port);
    fillDocument(doc, allMatched);
    doc.m_boundaryTable = makeBoundaries();
    doc.m_cocTable = makeCoc();
    std::printf("%d samples x %d taxa (%s), best of %d runs\n", kSamples, kTaxa,
                allMatched ? "all in the list" : "half unknown to the list", kRepeats);
    const Timing small = timeWith(app, doc, 1000);
    const Timing tenfold = timeWith(app, doc, 10000);
    const Timing hundredfold = timeWith(app, doc, 100000);
    const auto ratio = [](const char* what, const Timing& a, const Timing& b) {
        std::printf("%s: RunAnalysis x%.3f (%+.1f%%), with uncertainty x%.3f\n", what,
                    b.analysis / a.analysis, (b.analysis / a.analysis - 1) * 100,
                    (b.analysis + b.uncertainty) / (a.analysis + a.uncertainty));
    };
    ratio("10,000 / 1,000 rows", small, tenfold);
    ratio("100,000 / 10,000 rows", tenfold, hundredfold);
    return 0;
}
