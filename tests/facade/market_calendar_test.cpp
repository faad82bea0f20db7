#include "facade/market_calendar.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "outside/vb_date.h"

namespace qv::facade {
namespace {

// The exchange's published closings of five years.
TEST(MarketCalendar, HolidaysOfFiveYearsAreTheExchangesClosings) {
    for (const auto& [iYear, sClosings] :
         {std::pair{2021, "01-01 01-18 02-15 04-02 05-31 07-05 09-06 11-25 12-24"},
          {2022, "01-17 02-21 04-15 05-30 06-20 07-04 09-05 11-24 12-26"},
          {2023, "01-02 01-16 02-20 04-07 05-29 06-19 07-04 09-04 11-23 12-25"},
          {2024, "01-01 01-15 02-19 03-29 05-27 06-19 07-04 09-02 11-28 12-25"},
          {2025, "01-01 01-20 02-17 04-18 05-26 06-19 07-04 09-01 11-27 12-25"}}) {
        std::string sHolidays;
        for (const int32_t lDay : ExchangeHolidays(iYear)) {
            sHolidays += (sHolidays.empty() ? "" : " ") + IsoDateText(lDay).substr(5);
        }
        EXPECT_EQ(sHolidays, sClosings) << iYear;
    }
}

// Each rule's edge. Open: New Year's Day on a Saturday is neither the Friday before nor the
// Monday after; no Juneteenth before 2022; July 4 on a Sunday is not the Friday before, nor
// Christmas on a Sunday; a fifth Thursday of November; a Monday of May before the last; second
// Mondays; the days around Good Friday. Closed: New Year's Day on a Sunday, Juneteenth on a
// Sunday, Christmas on a Saturday, two Good Fridays far apart, a weekend.
TEST(MarketCalendar, EachRuleClosesItsDayAndNotTheOneBesideIt) {
    for (const auto& [sDays, bOpen] :
         {std::pair{"2021-12-31 2022-01-03 2021-06-18 2021-07-02 2022-12-23 2023-11-30 "
                    "2024-05-20 2021-01-11 2025-09-08 2024-03-28 2024-04-01 2026-11-30",
                    true},
          {"2023-01-02 2022-06-20 2021-12-24 2038-04-23 2008-03-21 2026-11-28 2026-11-29",
           false}}) {
        std::istringstream oDays(sDays);
        int32_t lDay = 0;
        for (std::string sDay; oDays >> sDay;) {
            ASSERT_TRUE(ParseDayText(sDay, lDay));
            EXPECT_EQ(IsTradingDay(lDay), bOpen) << sDay;
        }
    }
}

}  // namespace
}  // namespace qv::facade
