#pragma once
// Look-up of the master taxon list entries that a code or name not in the list most likely
// meant. Built once for a loaded list: the normalised code of each row in the two code
// columns and the normalised name of each row, with an index of their three-character
// pieces, so that a look-up visits only rows that share enough pieces with the text instead
// of comparing it with every row.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace frusta {

class dbTable;

struct Suggestion {
    int32_t row = -1;   // the master row
    bool byCode = true; // found by the code, else by the name
    // 0: equal once case, spacing, punctuation, rank markers and authority are set aside;
    // 1 or 2: that many typing slips apart.
    int slips = 0;
};

// One indexed text column: the key of every row and the rows that hold each piece.
class KeyIndex {
public:
    KeyIndex() = default;
    KeyIndex(const std::vector<std::string>& texts, bool names);

    bool empty() const { return keys_.empty(); }
    // The rows whose key equals `key`, in row order.
    const std::vector<int32_t>* exact(const std::string& key) const;
    // The rows whose key is 1 to `bound` slips from `key`, with their slips.
    void near(const std::string& key, int bound, std::vector<Suggestion>& out, bool byCode,
              std::vector<uint16_t>& counts, std::vector<int32_t>& touched) const;

private:
    std::vector<std::string> keys_;
    std::unordered_map<std::string, std::vector<int32_t>> exact_;
    // Rows per piece: rows_[start_[p] .. start_[p + 1]) for the piece numbered p.
    std::unordered_map<uint32_t, uint32_t> pieceNumber_;
    std::vector<uint32_t> start_;
    std::vector<int32_t> rows_;
};

class SuggestionIndex {
public:
    // Indexes the text columns 0 and 1 as codes and the name column (nameColumnOf).
    explicit SuggestionIndex(const dbTable& master);

    // The column of names: "TaxonName" when it holds text, else the first text column after
    // the two code columns; -1 when there is none.
    static int nameColumnOf(const dbTable& master);
    int nameColumn() const { return nameColumn_; }

    // A search with its own working space; one per thread.
    class Search {
    public:
        explicit Search(const SuggestionIndex& index);
        // Up to `max` rows for a code (in code column 0 or 1) and a name: the rows whose
        // keys equal them (code before name) when there are any; else those one or two
        // slips away, by fewest slips, codes before names, lower rows first; each row once.
        std::vector<Suggestion> suggest(std::string_view code, std::string_view name,
                                        int codeColumn, std::size_t max = 3);

    private:
        const SuggestionIndex& index_;
        std::vector<uint16_t> counts_;
        std::vector<int32_t> touched_;
    };

private:
    int32_t rows_ = 0;
    int nameColumn_ = -1;
    KeyIndex codes_[2];
    KeyIndex names_;
};

// The slips a key of this length may differ by: none below 4 bytes; for codes 1 (2 from 10
// bytes); for names 1 (2 from 8 bytes).
int slipBound(std::size_t keyLength, bool name);

} // namespace frusta
