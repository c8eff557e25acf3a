#include "engine/TaxonMatch.h"

#include "engine/TaxonIndex.h"
#include "refdb/TranslationTable.h"
#include "refdb/dbTable.h"

namespace frusta::engine {

namespace {

const char* const kGroupNames[kGroupCount] = {"Planktic", "Motile", "OrganicTolerant", "Saline"};

bool hasPrefix(std::string_view code, const char* prefix) {
    return code.compare(0, 3, prefix) == 0;
}

int typedColumn(const dbTable& t, int col, ColumnType type) {
    return col >= 0 && col < t.colCount && t.columnTypes[col] == type ? col : -1;
}

void matchOf(const dbTable& master, const MasterColumns& columns, int32_t row, TaxonMatch& p) {
    p.status = MatchStatus::InListUnscored;
    p.matchRow = row;
    double score = 0.0;
    if (columns.score >= 0 && master.GetDouble(row, columns.score, score) && score > 0.0) {
        p.status = MatchStatus::Scored;
        p.scoredRow = row;
        p.score = score;
    }
    for (int g = 0; g < kGroupCount; ++g) {
        bool flag = false;
        p.groups[g] =
            columns.groups[g] >= 0 && master.GetBool(row, columns.groups[g], flag) && flag;
    }
}

} // namespace

int chooseMatchColumn(const std::vector<std::string_view>& codes) {
    for (std::string_view code : codes)
        if (hasPrefix(code, "NBN") || hasPrefix(code, "NHM"))
            return 0;
    return 1;
}

MasterColumns findMasterColumns(const dbTable* master, int matchColumn, const char* scoreName) {
    MasterColumns c;
    if (!master)
        return c;
    c.code = typedColumn(*master, matchColumn, ColumnType::Text);
    c.score = typedColumn(*master, master->FindColumn(scoreName), ColumnType::Double);
    for (int g = 0; g < kGroupCount; ++g)
        c.groups[g] = typedColumn(*master, master->FindColumn(kGroupNames[g]), ColumnType::Bool);
    return c;
}

std::vector<TaxonMatch> translateCodes(const std::vector<std::string_view>& codes,
                                       const TranslationTable* translations) {
    std::vector<TaxonMatch> taxa(codes.size());
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const TranslationRow* t = translations ? translations->find(codes[k]) : nullptr;
        taxa[k].listCode = t ? t->to : std::string(codes[k]);
        if (t) {
            taxa[k].translationRow = t->row;
            taxa[k].note = t->note;
        }
    }
    return taxa;
}

void matchTaxa(std::vector<TaxonMatch>& taxa, const dbTable* master, const MasterColumns& columns) {
    if (!master || columns.code < 0)
        return;
    const TaxonIndex index(master->textColumn(columns.code));
    for (TaxonMatch& t : taxa) {
        const int32_t row = index.find(t.listCode);
        if (row >= 0)
            matchOf(*master, columns, row, t);
    }
}

void suggestEntries(std::vector<TaxonMatch>& taxa, const std::vector<std::string_view>& codes,
                    const std::vector<std::string_view>& names, const SuggestionIndex& index,
                    int codeColumn) {
    SuggestionIndex::Search search(index);
    for (std::size_t k = 0; k < taxa.size() && k < codes.size(); ++k)
        if (taxa[k].status == MatchStatus::NotInList)
            taxa[k].suggestions = search.suggest(
                codes[k], k < names.size() ? names[k] : std::string_view(), codeColumn);
}

std::string masterColumnNotes(const MasterColumns& columns, const char* scoreName) {
    std::string notes;
    if (columns.code < 0)
        notes += "\r\nWarning: the master taxon list has no taxon code column to match; no "
                 "taxa matched.";
    if (columns.score < 0)
        notes += std::string("\r\nWarning: the master taxon list has no ") + scoreName +
                 " score column; all taxa treated as unscored.";
    std::string missing;
    for (int g = 0; g < kGroupCount; ++g)
        if (columns.groups[g] < 0)
            missing += (missing.empty() ? "" : ", ") + std::string(kGroupNames[g]);
    if (!missing.empty())
        notes += "\r\nWarning: the master taxon list has no " + missing +
                 " column; taxa treated as outside that group.";
    return notes;
}

} // namespace frusta::engine
