#include "refdb/SuggestionIndex.h"

#include "refdb/EditDistance.h"
#include "refdb/NameKey.h"
#include "refdb/dbTable.h"

#include <algorithm>

namespace frusta {

namespace {

// The distinct three-byte pieces of a key padded with one mark at each end.
std::vector<uint32_t> piecesOf(const std::string& key) {
    std::string padded = "\x01" + key + "\x01";
    std::vector<uint32_t> pieces;
    for (std::size_t i = 0; i + 3 <= padded.size(); ++i)
        pieces.push_back(static_cast<uint32_t>(static_cast<unsigned char>(padded[i])) << 16 |
                         static_cast<uint32_t>(static_cast<unsigned char>(padded[i + 1])) << 8 |
                         static_cast<uint32_t>(static_cast<unsigned char>(padded[i + 2])));
    std::sort(pieces.begin(), pieces.end());
    pieces.erase(std::unique(pieces.begin(), pieces.end()), pieces.end());
    return pieces;
}

bool isTextColumn(const dbTable& t, int col) {
    return col >= 0 && col < t.colCount && t.columnTypes[col] == ColumnType::Text &&
           t.textColumn(col) != nullptr;
}

void addUnique(std::vector<Suggestion>& out, const Suggestion& s) {
    for (const Suggestion& o : out)
        if (o.row == s.row)
            return;
    out.push_back(s);
}

} // namespace

int slipBound(std::size_t keyLength, bool name) {
    if (keyLength < 4)
        return 0;
    return keyLength >= (name ? 8u : 10u) ? 2 : 1;
}

KeyIndex::KeyIndex(const std::vector<std::string>& texts, bool names) {
    keys_.reserve(texts.size());
    std::vector<std::pair<uint32_t, int32_t>> pairs;
    for (std::size_t r = 0; r < texts.size(); ++r) {
        keys_.push_back(names ? nameKey(texts[r]) : codeKey(texts[r]));
        const std::string& key = keys_.back();
        if (key.empty())
            continue;
        exact_[key].push_back(static_cast<int32_t>(r));
        for (uint32_t p : piecesOf(key))
            pairs.emplace_back(p, static_cast<int32_t>(r));
    }
    std::sort(pairs.begin(), pairs.end());
    rows_.reserve(pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i == 0 || pairs[i].first != pairs[i - 1].first) {
            pieceNumber_.emplace(pairs[i].first, static_cast<uint32_t>(start_.size()));
            start_.push_back(static_cast<uint32_t>(rows_.size()));
        }
        rows_.push_back(pairs[i].second);
    }
    start_.push_back(static_cast<uint32_t>(rows_.size()));
}

const std::vector<int32_t>* KeyIndex::exact(const std::string& key) const {
    const auto it = exact_.find(key);
    return it == exact_.end() ? nullptr : &it->second;
}

void KeyIndex::near(const std::string& key, int bound, std::vector<Suggestion>& out, bool byCode,
                    std::vector<uint16_t>& counts, std::vector<int32_t>& touched) const {
    if (bound <= 0 || keys_.empty())
        return;
    counts.resize(keys_.size(), 0);
    const std::vector<uint32_t> pieces = piecesOf(key);
    // A slip changes at most three pieces, a transposition four.
    const int needed = std::max(1, static_cast<int>(pieces.size()) - 4 * bound);
    for (uint32_t p : pieces) {
        const auto it = pieceNumber_.find(p);
        if (it == pieceNumber_.end())
            continue;
        for (uint32_t i = start_[it->second]; i < start_[it->second + 1]; ++i) {
            const int32_t row = rows_[i];
            if (counts[static_cast<std::size_t>(row)]++ == 0)
                touched.push_back(row);
        }
    }
    std::vector<Suggestion> found;
    for (int32_t row : touched) {
        const std::string& candidate = keys_[static_cast<std::size_t>(row)];
        if (counts[static_cast<std::size_t>(row)] >= needed && candidate != key) {
            const int slips = boundedEditDistance(key, candidate, bound);
            if (slips <= bound)
                found.push_back({row, byCode, slips});
        }
        counts[static_cast<std::size_t>(row)] = 0;
    }
    touched.clear();
    out.insert(out.end(), found.begin(), found.end());
}

SuggestionIndex::SuggestionIndex(const dbTable& master) : rows_(master.rowCount) {
    for (int c = 0; c < 2; ++c)
        if (isTextColumn(master, c))
            codes_[c] = KeyIndex(*master.textColumn(c), false);
    nameColumn_ = nameColumnOf(master);
    if (nameColumn_ >= 0)
        names_ = KeyIndex(*master.textColumn(nameColumn_), true);
}

int SuggestionIndex::nameColumnOf(const dbTable& master) {
    const int named = master.FindColumn("TaxonName");
    if (isTextColumn(master, named))
        return named;
    for (int c = 2; c < master.colCount; ++c)
        if (isTextColumn(master, c))
            return c;
    return -1;
}

SuggestionIndex::Search::Search(const SuggestionIndex& index) : index_(index) {}

std::vector<Suggestion> SuggestionIndex::Search::suggest(std::string_view code,
                                                         std::string_view name, int codeColumn,
                                                         std::size_t max) {
    const KeyIndex* codes =
        codeColumn == 0 || codeColumn == 1 ? &index_.codes_[codeColumn] : nullptr;
    const std::string cKey = codeKey(code);
    const std::string nKey = nameKey(name);
    std::vector<Suggestion> out;
    const auto addExact = [&](const KeyIndex* index, const std::string& key, bool byCode) {
        if (!index || key.empty())
            return;
        if (const auto* rows = index->exact(key))
            for (int32_t row : *rows)
                addUnique(out, {row, byCode, 0});
    };
    addExact(codes, cKey, true);
    addExact(&index_.names_, nKey, false);
    // Entries equal but for case, spacing and the like leave no doubt: no others with them.
    if (!out.empty()) {
        if (out.size() > max)
            out.resize(max);
        return out;
    }
    std::vector<Suggestion> near;
    if (codes && !cKey.empty())
        codes->near(cKey, slipBound(cKey.size(), false), near, true, counts_, touched_);
    if (!nKey.empty())
        index_.names_.near(nKey, slipBound(nKey.size(), true), near, false, counts_, touched_);
    std::stable_sort(near.begin(), near.end(), [](const Suggestion& a, const Suggestion& b) {
        if (a.slips != b.slips)
            return a.slips < b.slips;
        if (a.byCode != b.byCode)
            return a.byCode;
        return a.row < b.row;
    });
    for (const Suggestion& s : near)
        addUnique(out, s);
    if (out.size() > max)
        out.resize(max);
    return out;
}

} // namespace frusta
