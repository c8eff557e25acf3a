#include "refdb/EditDistance.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace frusta {

int boundedEditDistance(std::string_view a, std::string_view b, int bound) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int over = bound + 1;
    if (std::abs(n - m) > bound)
        return over;
    // Three rows of the table (i - 2, i - 1, i); cells outside the band |i - j| <= bound
    // are never below over and are kept at over.
    // Kept between calls: many short texts are compared one after another.
    thread_local std::vector<int> before, prev, cur;
    before.assign(static_cast<std::size_t>(m + 1), over);
    prev.assign(static_cast<std::size_t>(m + 1), over);
    cur.assign(static_cast<std::size_t>(m + 1), over);
    for (int j = 0; j <= std::min(m, bound); ++j)
        prev[static_cast<std::size_t>(j)] = j;
    for (int i = 1; i <= n; ++i) {
        std::fill(cur.begin(), cur.end(), over);
        if (i <= bound)
            cur[0] = i;
        const int lo = std::max(1, i - bound);
        const int hi = std::min(m, i + bound);
        int rowMin = cur[0];
        for (int j = lo; j <= hi; ++j) {
            const auto J = static_cast<std::size_t>(j);
            const int cost = a[static_cast<std::size_t>(i - 1)] == b[J - 1] ? 0 : 1;
            int d = std::min({prev[J] + 1, cur[J - 1] + 1, prev[J - 1] + cost});
            if (i > 1 && j > 1 && a[static_cast<std::size_t>(i - 1)] == b[J - 2] &&
                a[static_cast<std::size_t>(i - 2)] == b[J - 1])
                d = std::min(d, before[J - 2] + 1);
            cur[J] = std::min(d, over);
            rowMin = std::min(rowMin, cur[J]);
        }
        if (rowMin > bound)
            return over;
        std::swap(before, prev);
        std::swap(prev, cur);
    }
    return std::min(prev[static_cast<std::size_t>(m)], over);
}

} // namespace frusta
