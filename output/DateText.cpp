#include "output/DateText.h"

#include "engine/SerialToDate.h"

#include <cstdio>
#include <cstdlib>

namespace frusta {

long dayNumberOf(const std::string& text) {
    return std::strtol(text.c_str(), nullptr, 10);
}

bool isShownAsDate(double dayNumber) {
    return dayNumber > 20000 && dayNumber < 60000;
}

std::string dateText(long dayNumber) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const CalendarDate d = SerialToDate(dayNumber);
    const char* month = d.month >= 1 && d.month <= 12 ? kMonths[d.month - 1] : "";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%s-%04d", d.day, month, d.year);
    return buf;
}

} // namespace frusta
