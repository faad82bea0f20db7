// The trading days of the US stock exchanges: weekdays except the exchange holidays. The rules
// are the exchange's standing ones, without its one-off closings (a national day of mourning,
// a storm), which no rule foretells.
//
//   New Year's Day               January 1
//   Martin Luther King Jr. Day   third Monday of January
//   Washington's Birthday        third Monday of February
//   Good Friday                  two days before Easter Sunday (Gregorian)
//   Memorial Day                 last Monday of May
//   Juneteenth                   June 19, from 2022
//   Independence Day             July 4
//   Labor Day                    first Monday of September
//   Thanksgiving Day             fourth Thursday of November
//   Christmas Day                December 25
//
// A fixed-date holiday on a Saturday is observed the Friday before and on a Sunday the Monday
// after, except New Year's Day on a Saturday: the Friday before closes another year's books, so
// that year has no New Year holiday.
//
// The calendar lives beside the market rather than with the dates (outside/vb_date.h): those are
// the runtime's date arithmetic, the same for every caller, while these rules are one exchange's
// and belong to the market data that follows them.
#pragma once

#include <cstdint>
#include <vector>

namespace qv::facade {

// The weekdays of p_iYear on which the exchange is closed, in date order (day serials).
std::vector<int32_t> ExchangeHolidays(int p_iYear);

// Whether the exchange trades on the day (day serial).
bool IsTradingDay(int32_t p_lDay);

}  // namespace qv::facade
