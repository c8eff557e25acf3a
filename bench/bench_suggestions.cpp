// Times the suggestions for taxa not in the master list: the index of a list of 100,000
// entries is built once, then 2,000 unmatched taxa are looked up (misspelt, recapitalised,
// with authorities or "var." left out, and unrelated names). Prints the best of five runs
// and how many taxa got a suggestion. With the argument "numbered" the names are those of
// bench/gen_masterlist.py ("Taxon 123"), in which most names are a slip or two from others.
#include "Lcg.h"
#include "refdb/SuggestionIndex.h"
#include "refdb/dbTable.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace frusta;

namespace {

using frusta::bench::Lcg;
constexpr uint64_t kSeed = 2024; // of the made-up data
constexpr int kEntries = 100000;
constexpr int kUnmatched = 2000;
constexpr int kRepeats = 5;

// A made-up Latin word of 2 to 4 syllables.
std::string word(Lcg& rng) {
    static const char* const syllables[] = {"na",  "vi",  "cu",   "la",  "gom", "pho", "ne",  "ma",
                                            "ach", "nan", "thes", "fra", "gi",  "ria", "cym", "bel",
                                            "ni",  "tzs", "chia", "sur", "ro",  "ta",  "pin", "nu",
                                            "lar", "ia",  "eu",   "no",  "tia", "ca"};
    std::string w;
    const int n = 2 + static_cast<int>(rng.below(3));
    for (int i = 0; i < n; ++i)
        w += syllables[rng.below(30)];
    return w;
}

std::string name(Lcg& rng, const std::vector<std::string>& genera, bool numbered, int i) {
    if (numbered)
        return "Taxon " + std::to_string(i + 1);
    std::string n = genera[rng.below(static_cast<uint32_t>(genera.size()))] + " " + word(rng);
    if (rng.below(4) == 0)
        n += " var. " + word(rng);
    if (rng.below(2) == 0)
        n += rng.below(2) ? " Kützing" : " (Grunow) Lange-Bertalot";
    n[0] = static_cast<char>(n[0] - 32);
    return n;
}

dbTable makeList(bool numbered, std::vector<std::string>& names) {
    Lcg rng(kSeed);
    std::vector<std::string> genera;
    for (int g = 0; g < 400; ++g)
        genera.push_back(word(rng));
    dbTable t;
    t.addColumn("NBNCode", ColumnType::Text);
    t.addColumn("TaxonCode", ColumnType::Text);
    t.addColumn("TaxonName", ColumnType::Text);
    t.setRowCount(kEntries);
    for (int r = 0; r < kEntries; ++r) {
        char code[16];
        std::snprintf(code, sizeof code, "BT%06d", r + 1);
        t.setText(r, 0, "NBN" + std::to_string(10000000 + r));
        t.setText(r, 1, code);
        names.push_back(name(rng, genera, numbered, r));
        t.setText(r, 2, names.back());
    }
    return t;
}

// A name as a user might have typed it: a slip or two, capitals, or the authority left out;
// one in five unrelated to any entry.
std::string typed(const std::string& n, Lcg& rng, int i) {
    std::string s = n;
    switch (i % 5) {
    case 0:
        s[3 + rng.below(static_cast<uint32_t>(s.size() - 4))] = 'q';
        break;
    case 1:
        s.erase(2 + rng.below(static_cast<uint32_t>(s.size() - 3)), 1);
        s[s.size() / 2] = 'z';
        break;
    case 2:
        for (char& c : s)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
        break;
    case 3:
        std::swap(s[4], s[5]);
        break;
    default:
        s = "Xylophora unrelata " + std::to_string(i);
    }
    return s;
}

double seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

} // namespace

int main(int argc, char** argv) {
    const bool numbered = argc > 1 && std::string(argv[1]) == "numbered";
    std::vector<std::string> names;
    const dbTable list = makeList(numbered, names);
    Lcg rng(kSeed);
    std::vector<std::pair<std::string, std::string>> queries;
    for (int i = 0; i < kUnmatched; ++i) {
        const std::string& n = names[rng.below(kEntries)];
        queries.emplace_back("ZZ" + std::to_string(i), typed(n, rng, i));
    }
    double build = 1e300, search = 1e300;
    int found = 0;
    for (int run = 0; run < kRepeats; ++run) {
        auto t0 = std::chrono::steady_clock::now();
        const SuggestionIndex index(list);
        build = std::min(build, seconds(t0));
        t0 = std::chrono::steady_clock::now();
        SuggestionIndex::Search s(index);
        found = 0;
        for (const auto& [code, name] : queries)
            found += !s.suggest(code, name, 1).empty();
        search = std::min(search, seconds(t0));
    }
    std::printf("%d list entries (%s names), %d unmatched taxa, best of %d runs\n", kEntries,
                numbered ? "numbered" : "made-up Latin", kUnmatched, kRepeats);
    std::printf("index built in %.1f ms; suggestions in %.1f ms (%.1f us a taxon); "
                "%d of %d taxa with a suggestion; together %.1f ms\n",
                build * 1e3, search * 1e3, search * 1e6 / kUnmatched, found, kUnmatched,
                (build + search) * 1e3);
    return 0;
}
