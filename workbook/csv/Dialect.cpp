#include "workbook/csv/Dialect.h"

#include <algorithm>
#include <array>
#include <vector>

namespace frusta::csv {

namespace {

constexpr std::array<char, 3> kCandidates = {',', ';', '\t'};
constexpr std::size_t kLines = 20;

// The number of each candidate outside quotes on each complete line of `head`.
std::vector<std::array<int, 3>> countPerLine(std::string_view head) {
    std::vector<std::array<int, 3>> lines;
    std::array<int, 3> counts{};
    bool quoted = false;
    bool blank = true;
    for (std::size_t i = 0; i < head.size() && lines.size() < kLines; ++i) {
        const char ch = head[i];
        if (ch == '"') {
            quoted = !quoted; // a doubled quote toggles twice
        } else if (!quoted && (ch == '\n' || ch == '\r')) {
            if (!blank)
                lines.push_back(counts);
            counts = {};
            blank = true;
            continue;
        } else if (!quoted) {
            for (std::size_t k = 0; k < kCandidates.size(); ++k)
                counts[k] += ch == kCandidates[k];
        }
        blank = false;
    }
    // A last line that the head cuts off is not counted, unless it is the only one.
    if (lines.empty() && !blank)
        lines.push_back(counts);
    return lines;
}

} // namespace

char detectDelimiter(std::string_view head, char fallback) {
    const auto lines = countPerLine(head);
    if (lines.empty())
        return fallback;
    int best = -1;
    int bestCount = 0;
    for (std::size_t k = 0; k < kCandidates.size(); ++k) {
        const int first = lines.front()[k];
        const bool same = std::all_of(lines.begin(), lines.end(),
                                      [&](const auto& line) { return line[k] == first; });
        if (same && first > bestCount) {
            best = static_cast<int>(k);
            bestCount = first;
        }
    }
    if (best >= 0)
        return kCandidates[static_cast<std::size_t>(best)];
    int total[3] = {};
    for (const auto& line : lines)
        for (std::size_t k = 0; k < kCandidates.size(); ++k)
            total[k] += line[k];
    const auto most = std::max_element(total, total + 3);
    return *most > 0 ? kCandidates[static_cast<std::size_t>(most - total)] : fallback;
}

} // namespace frusta::csv
