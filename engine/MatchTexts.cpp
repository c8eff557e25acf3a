#include "engine/MatchTexts.h"

namespace frusta::engine {

std::string statusText(const TaxonMatch& t, const std::string& metric) {
    std::string status;
    switch (t.status) {
    case MatchStatus::Scored:
        status = "scored";
        break;
    case MatchStatus::InListUnscored:
        status = "in the list, no " + metric + " score";
        break;
    case MatchStatus::NotInList:
        status = "not in the list";
        break;
    }
    return t.translated() ? "translated, " + status : status;
}

std::string suggestionReason(const Suggestion& s) {
    if (s.slips == 0)
        return s.byCode ? "same code apart from case, spacing or punctuation"
                        : "same name apart from case, spacing, punctuation, var./f. or "
                          "authority";
    return std::string(s.byCode ? "code " : "name ") + std::to_string(s.slips) +
           (s.slips == 1 ? " typing slip away" : " typing slips away");
}

} // namespace frusta::engine
