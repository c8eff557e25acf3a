#include "refdb/TranslationTable.h"

#include "refdb/dbTable.h"

#include <unordered_set>

namespace frusta {

namespace {

std::string folded(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

std::string rowText(int row) {
    return "Row " + std::to_string(row) + ": ";
}

// The folded codes of the master list's two code columns.
std::unordered_set<std::string> listCodes(const dbTable* master) {
    std::unordered_set<std::string> codes;
    if (!master)
        return codes;
    for (int c = 0; c < 2 && c < master->colCount; ++c)
        if (master->columnTypes[c] == ColumnType::Text)
            if (const auto* texts = master->textColumn(c))
                for (const std::string& code : *texts)
                    codes.insert(folded(code));
    return codes;
}

} // namespace

TranslationTable::TranslationTable(std::vector<TranslationRow> rows) : rows_(std::move(rows)) {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        byCode_.emplace(folded(rows_[i].from), i);
}

const TranslationRow* TranslationTable::find(std::string_view code) const {
    if (byCode_.empty())
        return nullptr;
    const auto it = byCode_.find(folded(code));
    return it == byCode_.end() ? nullptr : &rows_[it->second];
}

std::optional<std::string> translationFault(const std::vector<TranslationRow>& rows,
                                            const dbTable* master) {
    const std::unordered_set<std::string> codes = listCodes(master);
    std::unordered_map<std::string, int> firstRow;
    for (const TranslationRow& r : rows) {
        if (r.from.empty() || r.to.empty())
            return rowText(r.row) + "a row needs your code in the first column and a list "
                                    "code in the second.";
        const auto [it, added] = firstRow.emplace(folded(r.from), r.row);
        if (!added)
            return rowText(r.row) + "the code " + r.from + " is already mapped in row " +
                   std::to_string(it->second) + ".";
        if (codes.count(folded(r.to)) == 0)
            return rowText(r.row) + "the list code " + r.to + " is not in the master taxon list.";
    }
    return std::nullopt;
}

} // namespace frusta
