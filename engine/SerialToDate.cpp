#include "engine/SerialToDate.h"

namespace frusta {

CalendarDate SerialToDate(long long serial) {
    if (serial == 60)
        return {29, 2, 1900};
    // Serials before the phantom leap day are one day behind the true calendar.
    const long long n = serial < 60 ? serial + 1 : serial;
    // Julian day number to Gregorian date (Fliegel and Van Flandern).
    long long l = n + 2415019 + 68569;
    const long long c = 4 * l / 146097;
    l -= (146097 * c + 3) / 4;
    const long long i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const long long j = 80 * l / 2447;
    const long long day = l - 2447 * j / 80;
    l = j / 11;
    const long long month = j + 2 - 12 * l;
    const long long year = 100 * (c - 49) + i + l;
    return {static_cast<int>(day), static_cast<int>(month), static_cast<int>(year)};
}

} // namespace frusta
