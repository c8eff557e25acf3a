#include "engine/SiteGrouping.h"

#include "engine/CaseFold.h"

#include <unordered_map>

namespace frusta::engine {

namespace {

// A site of the given samples: the first EQR is taken as it is, later ones update the
// running mean in sample order.
SiteGroup groupOf(const std::vector<int>& members, const std::vector<std::optional<double>>& eqr) {
    SiteGroup site;
    site.leader = members.front();
    for (int i : members) {
        const std::optional<double>& v = eqr[static_cast<std::size_t>(i)];
        if (!v) {
            site.withoutEqr += 1;
            continue;
        }
        site.withEqr += 1;
        if (!site.meanEqr)
            site.meanEqr = *v;
        else
            *site.meanEqr += (*v - *site.meanEqr) / site.withEqr;
    }
    return site;
}

} // namespace

bool isSiteCode(const std::string& code) {
    return code.size() >= 2;
}

SiteMembers samplesBySite(const std::vector<std::string>& codes) {
    SiteMembers out;
    std::unordered_map<std::string, std::size_t> siteOf;
    for (int i = 0; i < static_cast<int>(codes.size()); ++i) {
        if (!isSiteCode(codes[i])) {
            out.noSite.push_back(i);
            continue;
        }
        const auto [it, isNew] = siteOf.try_emplace(foldedCopy(codes[i]), out.sites.size());
        if (isNew)
            out.sites.emplace_back();
        out.sites[it->second].push_back(i);
    }
    return out;
}

std::vector<SiteGroup> groupSites(const std::vector<std::string>& codes,
                                  const std::vector<std::optional<double>>& eqr) {
    std::vector<SiteGroup> sites;
    for (const std::vector<int>& members : samplesBySite(codes).sites)
        sites.push_back(groupOf(members, eqr));
    return sites;
}

} // namespace frusta::engine
