#include "doc/AnalysisCommand.h"

#include "doc/CPbtDoc.h"
#include "doc/CommandGuard.h"

namespace frusta {

AnalysisOutcome analyseDocument(CPbtDoc& doc, const std::function<void()>& analysed) {
    AnalysisOutcome out{runGuarded(doc.port(), [&] { return doc.RunAnalysis(); }), std::nullopt};
    if (!out.analysis)
        return out;
    if (analysed)
        analysed();
    if (doc.m_bDoUncertainty)
        out.uncertainty = runGuarded(doc.port(), [&] { return doc.RunUncertainty(); });
    return out;
}

} // namespace frusta
