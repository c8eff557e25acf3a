#pragma once
// A table of taxon translations that a user or a laboratory keeps: each row maps a code of
// their own (or of an older list) to a code of the master taxon list, with an optional note.
// It is applied before matching, so that a translated taxon is matched by its list code.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace frusta {

class dbTable;

struct TranslationRow {
    int row = 0; // the row of the file, counted from 1
    std::string from;
    std::string to;
    std::string note;
};

class TranslationTable {
public:
    TranslationTable() = default;
    explicit TranslationTable(std::vector<TranslationRow> rows);

    // The row that maps `code`, compared without regard to ASCII case; null when none.
    const TranslationRow* find(std::string_view code) const;
    const std::vector<TranslationRow>& rows() const { return rows_; }

    // Where it was read from and the SHA-256 of the file, for the run details.
    std::string path;
    std::string sha256;

private:
    std::vector<TranslationRow> rows_;
    std::unordered_map<std::string, std::size_t> byCode_;
};

// Why a table cannot be used, naming the first row at fault: a row without both codes, a
// code mapped twice, or a list code that neither code column of the master list holds.
// Nothing when the table can be used.
std::optional<std::string> translationFault(const std::vector<TranslationRow>& rows,
                                            const dbTable* master);

} // namespace frusta
