#pragma once
// The words in which a taxon's match is told to the user: its status, and why an entry of
// the list is suggested for it.
#include "engine/TaxonMatch.h"

#include <string>

namespace frusta::engine {

// "scored", "in the list, no TDI4 score" or "not in the list", after "translated, " when a
// translation applied.
std::string statusText(const TaxonMatch& t, const std::string& metric);

// Why an entry is suggested: "same code apart from case, spacing or punctuation", "name 1
// typing slip away" and so on.
std::string suggestionReason(const Suggestion& s);

} // namespace frusta::engine
