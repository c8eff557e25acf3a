#include "refdb/SuggestionIndex.h"

#include "refdb/EditDistance.h"
#include "refdb/NameKey.h"
#include "refdb/dbTable.h"

#include <algorithm>
#include <cstdlib>

namespace frusta {

namespace {

// The distinct three-byte pieces of a key padded with one mark at each end, into `pieces`.
void piecesOf(const std::string& key, std::vector<uint32_t>& pieces) {
    pieces.clear();
    const auto byte = [&](std::size_t i) -> uint32_t {
        return i == 0 || i > key.size() ? 1u : static_cast<unsigned char>(key[i - 1]);
    };
    for (std::size_t i = 0; i + 3 <= key.size() + 2; ++i)
        pieces.push_back(byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2));
    std::sort(pieces.begin(), pieces.end());
    pieces.erase(std::unique(pieces.begin(), pieces.end()), pieces.end());
}

std::vector<uint32_t> piecesOf(const std::string& key) {
    std::vector<uint32_t> pieces;
    piecesOf(key, pieces);
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
    exact_.reserve(texts.size());
    std::vector<std::pair<uint32_t, int32_t>> pairs;
    pairs.reserve(texts.size() * (names ? 24 : 8));
    std::vector<uint32_t> pieces;
    for (std::size_t r = 0; r < texts.size(); ++r) {
        keys_.push_back(names ? nameKey(texts[r]) : codeKey(texts[r]));
        const std::string& key = keys_.back();
        if (key.empty())
            continue;
        exact_[key].push_back(static_cast<int32_t>(r));
        piecesOf(key, pieces);
        for (uint32_t p : pieces)
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
    // An entry within `bound` slips shares all but 4 pieces a slip with the text (a slip
    // changes at most three pieces, a transposition four), so it shares at least
    // |S| - 4 x bound of any set S of them. The entries are counted over the rarest pieces
    // only, at least 4 x bound + 1 of them so that the count means something, the others
    // as long as fewer than 1% of the entries hold them. A piece that more than an eighth
    // of the entries hold (a common genus, "var") is never counted: it tells little and
    // would make every look-up visit most of the list.
    std::vector<std::pair<uint32_t, uint32_t>> lists; // rows_[first, last) of each piece
    int absent = 0;
    for (uint32_t p : pieces) {
        const auto it = pieceNumber_.find(p);
        if (it == pieceNumber_.end())
            ++absent;
        else
            lists.emplace_back(start_[it->second], start_[it->second + 1]);
    }
    std::sort(lists.begin(), lists.end(),
              [](const auto& a, const auto& b) { return a.second - a.first < b.second - b.first; });
    const std::size_t common = std::max<std::size_t>(1000, keys_.size() / 100);
    const std::size_t veryCommon = std::max<std::size_t>(1000, keys_.size() / 8);
    const int least = 4 * bound + 1;
    int counted = absent;
    std::size_t used = 0;
    for (; used < lists.size(); ++used) {
        const std::size_t n = lists[used].second - lists[used].first;
        if (n > veryCommon || (n > common && counted >= least))
            break;
        ++counted;
    }
    lists.resize(used);
    const int needed = std::max(1, counted - 4 * bound);
    const auto length = static_cast<int>(key.size());
    for (const auto& [first, last] : lists)
        for (uint32_t i = first; i < last; ++i) {
            const int32_t row = rows_[i];
            if (counts[static_cast<std::size_t>(row)]++ == 0)
                touched.push_back(row);
        }
    std::vector<Suggestion> found;
    for (int32_t row : touched) {
        const std::string& candidate = keys_[static_cast<std::size_t>(row)];
        if (counts[static_cast<std::size_t>(row)] >= needed && candidate != key &&
            std::abs(static_cast<int>(candidate.size()) - length) <= bound) {
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
