#pragma once
// The sample information rows that the engine reads, by position.

namespace frusta::engine {

enum InfoRow {
    kRowSampleName = 0,
    kRowSiteCode = 1,
    kRowDate = 2,
    kRowAlkalinityOrType = 3,
    kRowCalcium = 4,
    kRowDoc = 5,
};

// Sampling dates are spreadsheet serials; outside [20000, 60000] a date is missing or bad.
inline bool isValidDateSerial(long long serial) {
    return serial >= 20000 && serial <= 60000;
}

} // namespace frusta::engine
