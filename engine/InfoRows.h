#pragma once
// The sample information rows that the engine reads, by position.
#include <string>

namespace frusta {
class CPbtDoc;
}

namespace frusta::engine {

enum InfoRow {
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

// The text of sample s in information row `row`; empty when the workbook had no such row
// or cell.
const std::string& infoText(const CPbtDoc& doc, int row, int s);

} // namespace frusta::engine
