#pragma once
// Spreadsheet serial day numbers of the 1900 date system.
namespace frusta {

struct CalendarDate {
    int day = 0;
    int month = 0;
    int year = 0;
};

// Day, month and year of a serial day number: day 1 is 1 January 1900 and day 60 is the
// non-existent 29 February 1900, which spreadsheets count and which is returned as such.
CalendarDate SerialToDate(long long serial);

} // namespace frusta
