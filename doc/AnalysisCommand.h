#pragma once
// The Analyse command of every front end: the assessment of the document's samples, then,
// when the document wants it, the confidence of class of its sites.
#include "app/Outcome.h"

#include <functional>
#include <optional>

namespace frusta {

class CPbtDoc;

struct AnalysisOutcome {
    Outcome analysis;
    // The site table's outcome; nothing when it was not computed (the document does not want
    // it, or the analysis failed).
    std::optional<Outcome> uncertainty;
};

// Matrix errors and lack of memory end in a message, not in an exception. `analysed`, when
// given, runs after a successful analysis, before the site table is made.
AnalysisOutcome analyseDocument(CPbtDoc& doc, const std::function<void()>& analysed = {});

} // namespace frusta
