#include "engine/SiteGrouping.h"

#include "engine/CaseFold.h"

#include <unordered_map>

namespace frusta::engine {

namespace {

constexpr std::size_t kMinCodeLength = 2;

// Adds sample EQR v to a site: the first EQR is taken as it is, later ones update the
// running mean in sample order.
void addEqr(SiteGroup& site, bool meanMissing, double v) {
    site.withEqr += 1;
    if (meanMissing)
        site.meanEqr = v;
    else
        site.meanEqr += (v - site.meanEqr) / site.withEqr;
}

} // namespace

std::vector<SiteGroup> groupSites(const std::vector<std::string>& codes,
                                  const std::vector<double>& eqr, const std::vector<bool>& hasEqr,
                                  double missing) {
    std::vector<SiteGroup> sites;
    std::vector<bool> meanMissing; // per site: no EQR taken into its mean yet
    std::unordered_map<std::string, std::size_t> siteOf;
    for (int i = 0; i < static_cast<int>(codes.size()); ++i) {
        if (codes[i].size() < kMinCodeLength)
            continue;
        const auto [it, isNew] = siteOf.try_emplace(foldedCopy(codes[i]), sites.size());
        if (isNew) {
            SiteGroup site;
            site.leader = i;
            site.withEqr = hasEqr[i] ? 1 : 0;
            site.withoutEqr = hasEqr[i] ? 0 : 1;
            site.meanEqr = hasEqr[i] ? eqr[i] : missing;
            sites.push_back(site);
            meanMissing.push_back(!hasEqr[i]);
            continue;
        }
        const std::size_t r = it->second;
        if (hasEqr[i]) {
            addEqr(sites[r], meanMissing[r], eqr[i]);
            meanMissing[r] = false;
        } else {
            sites[r].withoutEqr += 1;
        }
    }
    return sites;
}

} // namespace frusta::engine
