// Dates as the automation runtime keeps them: a Double counting days from the zero date
// 1899-12-30 12:00:00 AM, with the time of day as the fraction.
//
// Before the zero date the serial is negative but its fraction still counts forward from
// midnight: -1.25 is 1899-12-29 06:00, not 1899-12-28 18:00. So the day is the serial truncated
// towards zero and the time is the absolute value of what remains. Supported dates run from
// 100-01-01 (serial -657434) to 9999-12-31 (serial 2958465); outside them is error 6 (Overflow)
// where a serial is built, and ParseDateText answers false.
//
//     DateSerial(2026, 12, 6) + TimeSerial(15, 4, 5)   // 46362.627835...
//     DefaultDateText(46362.627835648)                  // "12/6/2026 3:04:05 PM"
//
// Whole days, such as trading days, are also kept as int32_t day serials on the same count, so a
// day serial is a Date the viewer can use as it is.
//
//     DaySerialFromCivil(2021, 1, 5)   // 44201
//     IsoDateText(44201)               // "2021-01-05"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

constexpr double kMinDateSerial = -657434.0;  // 100-01-01
constexpr double kMaxDateSerial = 2958465.0;  // 9999-12-31, whole day

// A date split into calendar fields, time rounded to the second as the runtime shows it.
struct DateParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;

    bool operator==(const DateParts&) const = default;
};

// The serial of a day. Months and days outside their range roll over as the runtime's DateSerial
// does (month 13 is January of the next year, day 0 the last day of the month before); years
// 0 to 29 mean 2000 to 2029 and 30 to 99 mean 1930 to 1999. Error 6 outside the supported range.
double DateSerial(int p_iYear, int p_iMonth, int p_iDay);

// The fraction of a day for a time; hours, minutes and seconds roll over like DateSerial's, and a
// total beyond one day keeps whole days (TimeSerial(25, 0, 0) is 1 day and 1 hour).
double TimeSerial(int p_iHour, int p_iMinute, int p_iSecond);

// Day serial plus time of day, with the runtime's rule for negative serials.
double CombineDateTime(double p_dDaySerial, double p_dTimeOfDay);

// The serial as calendar fields. Error 6 outside the supported range or for NaN.
DateParts SplitDate(double p_dSerial);

// The day of the week, 1 Sunday to 7 Saturday (the zero date is a Saturday).
int Weekday(double p_dSerial);

// Whether p_dSerial lies within the supported range.
bool IsValidDateSerial(double p_dSerial);

// The runtime's default text of a date in the US locale: "12/6/2026" for a whole day,
// "12/6/2026 3:04:05 PM" with a time, "3:04:05 PM" for a time on the zero date, and
// "12:00:00 AM" for the zero date itself.
std::string DefaultDateText(double p_dSerial);

// Reads the date texts hosts hand in: "12/06/2026", "12/6/26", "2026-12-06", "Dec 6, 2026",
// "6 December 2026", each optionally followed by a time ("15:04", "3:04:05 PM"), or a time alone
// (a time on the zero date). Numeric dates are month/day/year unless the first number has four
// digits (year-month-day). Two-digit years follow DateSerial's rule. Text that does not name a
// real date (month 13, February 30, 25:00) gives false and leaves p_dSerial alone.
bool ParseDateText(std::string_view p_sText, double& p_dSerial);

// --- Whole days --------------------------------------------------------------------------------

// The day serial of a calendar day in the proleptic Gregorian calendar. Unlike DateSerial there is
// no rollover, no two-digit year and no range check: the caller names a real day.
int32_t DaySerialFromCivil(int p_iYear, int p_iMonth, int p_iDay);

// The calendar day of a day serial (the time fields are 0).
DateParts CivilFromDaySerial(int32_t p_lSerial);

// 1 Monday to 7 Sunday.
int IsoWeekday(int32_t p_lSerial);

// Reads "YYYY-MM-DD" strictly, or any date text ParseDateText reads ("4/23/2018"); false for text
// that names no real date or has a time of day.
bool ParseDayText(std::string_view p_sText, int32_t& p_lSerial);

// "YYYY-MM-DD".
std::string IsoDateText(int32_t p_lSerial);

}  // namespace qv
