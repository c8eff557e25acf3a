#include "engine/EnvironmentChecks.h"

#include "engine/InfoRows.h"
#include "engine/NumberText.h"

namespace frusta::engine {

namespace {

bool outside(double v, double lo, double hi) {
    return v < lo || v > hi;
}

EnvironmentReport checkLakeTypes(const SampleSet& samples) {
    EnvironmentReport report;
    int bad = 0;
    for (int s = 0; s < samples.sampleCount(); ++s)
        if (samples.info(kRowAlkalinityOrType, s).size() != 2)
            ++bad;
    if (bad > 0)
        report.stopMessage = "Lake typology information missing for " + std::to_string(bad) +
                             " samples with no default.\nCorrect the error and try again.";
    return report;
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

std::string checkRivers(const SampleSet& samples, const AnalysisSettings& a) {
    int missing = 0, outTDI3 = 0, outTDI4 = 0, badDates = 0;
    for (int s = 0; s < samples.sampleCount(); ++s) {
        const double alk = leadingNumber(samples.info(kRowAlkalinityOrType, s));
        if (alk < 0.1) {
            ++missing;
            continue;
        }
        outTDI3 += outside(alk, a.alkMinTDI3, a.alkMaxTDI3);
        outTDI4 += outside(alk, a.alkMinTDI4, a.alkMaxTDI4);
    }
    for (int s = 0; s < samples.sampleCount(); ++s) {
        const long long d = leadingWholeNumber(samples.info(kRowDate, s));
        badDates += !isValidDateSerial(d);
    }
    std::string notes;
    if (missing >= 1)
        notes += missingNote("Alkalinity", missing, a.defAlk, "mg/l");
    if (a.metric == kMetricTDI3 && outTDI3 >= 1)
        notes += rangeNote(outTDI3, "alkalinity values out of range for TDI3 calculations",
                           a.alkMinTDI3, a.alkMaxTDI3, "mg/l");
    if (a.metric == kMetricTDI4 && outTDI4 >= 1)
        notes += rangeNote(outTDI4, "alkalinity values out of range for TDI4 calculations",
                           a.alkMinTDI4, a.alkMaxTDI4, "mg/l");
    if (a.metric == kMetricTDI3 && badDates >= 1)
        notes += "\r\n\r\nSampling date missing for " + std::to_string(badDates) +
                 " samples.\r\nMissing values will be set to Spring for TDI3 calculations.";
    return notes;
}

std::string checkAcidification(const SampleSet& samples, const AnalysisSettings& a) {
    int caMissing = 0, caOut = 0, docMissing = 0, docOut = 0;
    for (int s = 0; s < samples.sampleCount(); ++s) {
        const double c = leadingNumber(samples.info(kRowCalcium, s));
        if (c < 0)
            ++caMissing;
        else
            caOut += outside(c, a.caMin, a.caMax);
    }
    for (int s = 0; s < samples.sampleCount(); ++s) {
        const double o = leadingNumber(samples.info(kRowDoc, s));
        if (o < 0)
            ++docMissing;
        else
            docOut += outside(o, a.docMin, a.docMax);
    }
    std::string notes;
    if (caMissing >= 1)
        notes += missingNote("Calcium", caMissing, a.defCa, "ueq/l");
    if (caOut >= 1)
        notes += rangeNote(caOut, "calcium values out of range", a.caMin, a.caMax, "ueq/l");
    if (docMissing >= 1)
        notes += missingNote("DOC", docMissing, a.defDoc, "mg/l");
    if (docOut >= 1)
        notes += rangeNote(docOut, "DOC values out of range", a.docMin, a.docMax, "mg/l");
    return notes;
}

} // namespace

EnvironmentReport checkEnvironment(const SampleSet& samples, const AnalysisSettings& settings) {
    switch (settings.family) {
    case kFamilyLakes:
        return checkLakeTypes(samples);
    case kFamilyRivers:
        return {checkRivers(samples, settings), std::nullopt};
    case kFamilyAcid:
        return {checkAcidification(samples, settings), std::nullopt};
    default:
        return {};
    }
}

} // namespace frusta::engine
