#pragma once
// Grouping of samples into sites by site code, with each site's running mean EQR.
#include <optional>
#include <string>
#include <vector>

namespace frusta::engine {

// Whether a sample with this code belongs to a site: its code has at least 2 characters.
bool isSiteCode(const std::string& code);

// The samples of every site, sites in the order of their first sample and samples in
// worksheet order. Codes are compared as whole texts without regard to ASCII case; a sample
// whose code is shorter than 2 characters is in no site.
struct SiteMembers {
    std::vector<std::vector<int>> sites;
    std::vector<int> noSite;
};
SiteMembers samplesBySite(const std::vector<std::string>& codes);

struct SiteGroup {
    int leader = 0;                // the first sample with the site's code
    int withEqr = 0;               // samples with an EQR
    int withoutEqr = 0;            // samples without one
    std::optional<double> meanEqr; // running mean of the EQRs, in sample order
};

// Sites in the order of their first sample; `eqr[i]` is sample i's EQR, if it has one.
std::vector<SiteGroup> groupSites(const std::vector<std::string>& codes,
                                  const std::vector<std::optional<double>>& eqr);

} // namespace frusta::engine
