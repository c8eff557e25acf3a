#include "engine/EnvironmentChecks.h"

#include "app/UserPort.h"
#include "doc/CPbtDoc.h"
#include "engine/InfoRows.h"
#include "engine/NumberText.h"

namespace frusta::engine {

namespace {

bool outside(double v, double lo, double hi) {
    return v < lo || v > hi;
}

Outcome checkLakeTypes(CPbtDoc& doc) {
    int bad = 0;
    for (int s = 0; s < doc.m_nSamples; ++s)
        if (infoText(doc, kRowAlkalinityOrType, s).size() != 2)
            ++bad;
    if (bad == 0)
        return Outcome::done();
    return fail(doc.port(), {"Lake typology information missing for " + std::to_string(bad) +
                             " samples with no default.\nCorrect the error and try again."});
}

// "<count> <what>." and the range into which the values were clamped.
std::string rangeNote(int count, const char* what, double lo, double hi, const char* unit) {
    return "\r\n\r\n" + std::to_string(count) + " " + what + ".\r\nThese values have been set to " +
           formatG(lo) + " or " + formatG(hi) + " " + unit + ".";
}

std::string missingNote(const char* what, int count, double def, const char* unit) {
    return "\r\n\r\n" + std::string(what) + " data missing for " + std::to_string(count) +
           " samples.\r\nMissing values have been replaced by " + formatG(def) + " " + unit + ".";
}

void checkRivers(CPbtDoc& doc) {
    int missing = 0, outTDI3 = 0, outTDI4 = 0, badDates = 0;
    for (int s = 0; s < doc.m_nSamples; ++s) {
        const double a = leadingNumber(infoText(doc, kRowAlkalinityOrType, s));
        if (a < 0.1) {
            ++missing;
            continue;
        }
        outTDI3 += outside(a, doc.m_alkMinTDI3, doc.m_alkMaxTDI3);
        outTDI4 += outside(a, doc.m_alkMinTDI4, doc.m_alkMaxTDI4);
    }
    for (int s = 0; s < doc.m_nSamples; ++s) {
        const long long d = leadingWholeNumber(infoText(doc, kRowDate, s));
        badDates += !isValidDateSerial(d);
    }
    std::string& out = doc.m_strSummary;
    if (missing >= 1)
        out += missingNote("Alkalinity", missing, doc.m_defAlk, "mg/l");
    if (doc.m_nMetric == kMetricTDI3 && outTDI3 >= 1)
        out += rangeNote(outTDI3, "alkalinity values out of range for TDI3 calculations",
                         doc.m_alkMinTDI3, doc.m_alkMaxTDI3, "mg/l");
    if (doc.m_nMetric == kMetricTDI4 && outTDI4 >= 1)
        out += rangeNote(outTDI4, "alkalinity values out of range for TDI4 calculations",
                         doc.m_alkMinTDI4, doc.m_alkMaxTDI4, "mg/l");
    if (doc.m_nMetric == kMetricTDI3 && badDates >= 1)
        out += "\r\n\r\nSampling date missing for " + std::to_string(badDates) +
               " samples.\r\nMissing values will be set to Spring for TDI3 calculations.";
}

void checkAcidification(CPbtDoc& doc) {
    int caMissing = 0, caOut = 0, docMissing = 0, docOut = 0;
    for (int s = 0; s < doc.m_nSamples; ++s) {
        const double c = leadingNumber(infoText(doc, kRowCalcium, s));
        if (c < 0)
            ++caMissing;
        else
            caOut += outside(c, doc.m_caMin, doc.m_caMax);
    }
    for (int s = 0; s < doc.m_nSamples; ++s) {
        const double o = leadingNumber(infoText(doc, kRowDoc, s));
        if (o < 0)
            ++docMissing;
        else
            docOut += outside(o, doc.m_docMin, doc.m_docMax);
    }
    std::string& out = doc.m_strSummary;
    if (caMissing >= 1)
        out += missingNote("Calcium", caMissing, doc.m_defCa, "ueq/l");
    if (caOut >= 1)
        out += rangeNote(caOut, "calcium values out of range", doc.m_caMin, doc.m_caMax, "ueq/l");
    if (docMissing >= 1)
        out += missingNote("DOC", docMissing, doc.m_defDoc, "mg/l");
    if (docOut >= 1)
        out += rangeNote(docOut, "DOC values out of range", doc.m_docMin, doc.m_docMax, "mg/l");
}

} // namespace

Outcome checkEnvironment(CPbtDoc& doc) {
    switch (doc.m_nFamily) {
    case kFamilyLakes:
        return checkLakeTypes(doc);
    case kFamilyRivers:
        checkRivers(doc);
        break;
    case kFamilyAcid:
        checkAcidification(doc);
        break;
    default:
        break;
    }
    return Outcome::done();
}

} // namespace frusta::engine
