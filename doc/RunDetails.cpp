#include "doc/RunDetails.h"

#include "app/CPbtApp.h"
#include "app/Version.h"
#include "doc/CPbtDoc.h"
#include "doc/WorksheetProposal.h"
#include "engine/ClassBoundaries.h"
#include "engine/TextFormat.h"
#include "workbook/FileFacts.h"

#include <filesystem>

namespace frusta {

const char* const kRunTimeLabel = "Analysed at (UTC)";

namespace {

std::string number(double v) {
    return formatText("%g", v);
}

const char* familyName(int family) {
    switch (family) {
    case kFamilyRivers:
        return "Rivers";
    case kFamilyLakes:
        return "Lakes";
    default:
        return "Acidification";
    }
}

void addDatabase(const CPbtApp& app, RunDetails& d) {
    const ReferenceFacts& facts = app.referenceFacts();
    d.emplace_back("Reference database", facts.path.filename().string());
    d.emplace_back("Reference database folder", facts.path.parent_path().string());
    if (facts.file) {
        d.emplace_back("Reference database size (bytes)", std::to_string(facts.file->size));
        d.emplace_back("Reference database modified (UTC)", facts.file->modified);
        d.emplace_back("Reference database SHA-256", facts.file->sha256);
    } else {
        d.emplace_back("Reference database SHA-256", "the file could not be read");
    }
    d.emplace_back("Reference database About", facts.about.empty() ? "none" : facts.about);
    const int nameColumn = app.taxonTable ? SuggestionIndex::nameColumnOf(*app.taxonTable) : -1;
    d.emplace_back("Master list name column",
                   nameColumn < 0 ? "none" : app.taxonTable->columnNames[nameColumn]);
}

void addTranslations(const CPbtApp& app, RunDetails& d) {
    if (!app.translations) {
        d.emplace_back("Taxon translations", "none");
        return;
    }
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(app.translations->path, ec);
    d.emplace_back("Taxon translations", path.filename().string());
    d.emplace_back("Taxon translations folder", path.parent_path().string());
    d.emplace_back("Taxon translations SHA-256", app.translations->sha256);
}

void addInput(const CPbtDoc& doc, RunDetails& d) {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(doc.m_strPath, ec);
    d.emplace_back("Input workbook", path.filename().string());
    d.emplace_back("Input workbook folder", path.parent_path().string());
    d.emplace_back("Input workbook SHA-256", doc.m_inputSha256);
    d.emplace_back("Worksheet", doc.m_strSheetName);
    d.emplace_back("First data row", std::to_string(doc.m_nFirstRow));
    d.emplace_back("First data column", columnLetters(doc.m_nFirstCol));
}

void addMetric(const CPbtDoc& doc, RunDetails& d) {
    d.emplace_back("Metric family", familyName(doc.m_nFamily));
    d.emplace_back("Metric", doc.m_strMetric);
    d.emplace_back("Metric version", doc.m_bLatest ? "latest" : "earlier");
    if (doc.m_nFamily == kFamilyAcid) {
        d.emplace_back("Default calcium (ueq/l)", number(doc.m_defCa));
        d.emplace_back("Default DOC (mg/l)", number(doc.m_defDoc));
    } else if (doc.m_nFamily == kFamilyRivers) {
        d.emplace_back("Default alkalinity (mg/l)", number(doc.m_defAlk));
    }
    d.emplace_back("Smallest scored share (%)", number(doc.m_minScoredShare));
}

// One row per row of the boundary table: its lake type (for lakes), the expected value and
// the four boundaries.
void addBoundaries(const CPbtDoc& doc, RunDetails& d) {
    const dbTable* table = doc.m_boundaryTable.get();
    const engine::ClassBoundaries bounds(table);
    if (!table || !bounds.usable()) {
        d.emplace_back("Class boundaries", "none");
        return;
    }
    for (int row = 0; row < table->rowCount; ++row) {
        const auto b = bounds.boundaries(row);
        if (!b)
            continue;
        std::string label = "Class boundaries " + doc.m_strMetric;
        std::string type;
        if (doc.m_nFamily == kFamilyLakes && table->GetText(row, 1, type))
            label += " lake type " + type;
        std::string value;
        if (doc.m_nFamily == kFamilyLakes)
            if (const auto median = bounds.median(row))
                value = "expected " + number(*median) + "; ";
        for (int k = 0; k < 4; ++k)
            value += std::string(k ? ", " : "") + engine::boundaryName(k) + " " + number((*b)[k]);
        d.emplace_back(label, value);
    }
}

} // namespace

RunDetails runDetailsOf(const CPbtDoc& doc, std::int64_t analysedAt) {
    RunDetails d;
    d.emplace_back("Program", std::string("FRUSTA 2 version ") + FRUSTA_VERSION);
    d.emplace_back(kRunTimeLabel, utcIsoTime(analysedAt));
    addDatabase(doc.app(), d);
    addTranslations(doc.app(), d);
    addInput(doc, d);
    addMetric(doc, d);
    addBoundaries(doc, d);
    return d;
}

} // namespace frusta
