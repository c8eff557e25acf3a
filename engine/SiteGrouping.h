#pragma once
// Grouping of samples into sites by site code, with each site's running mean EQR.
#include <string>
#include <vector>

namespace frusta::engine {

struct SiteGroup {
    int leader = 0;       // the first sample with the site's code
    int withEqr = 0;      // samples with an EQR
    int withoutEqr = 0;   // samples without one
    double meanEqr = 0.0; // running mean of the EQRs; `missing` when no sample has one
};

// Sites in the order of their first sample. Codes are compared as whole texts without
// regard to ASCII case; a sample whose code is shorter than 2 characters is in no site.
// `eqr[i]` is sample i's EQR, `hasEqr[i]` whether it has one; `missing` is the marker.
std::vector<SiteGroup> groupSites(const std::vector<std::string>& codes,
                                  const std::vector<double>& eqr, const std::vector<bool>& hasEqr,
                                  double missing);

} // namespace frusta::engine
