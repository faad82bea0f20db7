#include "facade/market_calendar.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "outside/vb_date.h"

namespace qv::facade {
namespace {

int32_t Day(const std::string& p_sDate) {
    int32_t lDay = 0;
    EXPECT_TRUE(ParseDayText(p_sDate, lDay)) << p_sDate;
    return lDay;
}

// The exchange's published closings of five years.
TEST(MarketCalendar, HolidaysOfFiveYearsAreTheExchangesClosings) {
    const std::vector<std::pair<int, std::vector<std::string>>> aYears = {
        {2021,
         {"2021-01-01", "2021-01-18", "2021-02-15", "2021-04-02", "2021-05-31", "2021-07-05",
          "2021-09-06", "2021-11-25", "2021-12-24"}},
        {2022,
         {"2022-01-17", "2022-02-21", "2022-04-15", "2022-05-30", "2022-06-20", "2022-07-04",
          "2022-09-05", "2022-11-24", "2022-12-26"}},
        {2023,
         {"2023-01-02", "2023-01-16", "2023-02-20", "2023-04-07", "2023-05-29", "2023-06-19",
          "2023-07-04", "2023-09-04", "2023-11-23", "2023-12-25"}},
        {2024,
         {"2024-01-01", "2024-01-15", "2024-02-19", "2024-03-29", "2024-05-27", "2024-06-19",
          "2024-07-04", "2024-09-02", "2024-11-28", "2024-12-25"}},
        {2025,
         {"2025-01-01", "2025-01-20", "2025-02-17", "2025-04-18", "2025-05-26", "2025-06-19",
          "2025-07-04", "2025-09-01", "2025-11-27", "2025-12-25"}},
    };
    for (const auto& [iYear, aDates] : aYears) {
        std::vector<std::string> aHolidays;
        for (const int32_t lDay : ExchangeHolidays(iYear)) {
            aHolidays.push_back(IsoDateText(lDay));
        }
        EXPECT_EQ(aHolidays, aDates) << iYear;
    }
}

// Each rule's edge: the day it could be mistaken for trades, the day it names does not.
TEST(MarketCalendar, EachRuleClosesItsDayAndNotTheOneBesideIt) {
    for (const auto& [sDate, bOpen] : std::vector<std::pair<std::string, bool>>{
             {"2021-12-31", true},   // New Year's Day 2022 on a Saturday is not observed
             {"2022-01-03", true},   // nor moved to the Monday
             {"2023-01-02", false},  // on a Sunday it is, the Monday after
             {"2021-06-18", true},   // no Juneteenth before 2022
             {"2022-06-20", false},  // Juneteenth on a Sunday
             {"2021-07-02", true},   // Independence Day on a Sunday moves forward, not back
             {"2021-12-24", false},  // Christmas on a Saturday, the Friday before
             {"2022-12-23", true},   // Christmas on a Sunday: the Monday, not the Friday
             {"2023-11-30", true},   // the fifth Thursday: Thanksgiving is the fourth
             {"2024-05-20", true},   // Memorial Day is the last Monday of May
             {"2021-01-11", true},   // the second Monday of January
             {"2025-09-08", true},   // the second Monday of September
             {"2024-03-28", true},   // the Thursday before Good Friday
             {"2024-04-01", true},   // Easter Monday
             {"2038-04-23", false},  // Good Friday of the latest Easter
             {"2008-03-21", false},  // Good Friday of an early Easter
             {"2025-01-20", false},  // Martin Luther King Jr. Day
             {"2025-11-27", false},  // Thanksgiving
             {"2026-11-28", false},  // a Saturday
             {"2026-11-30", true},
         }) {
        EXPECT_EQ(IsTradingDay(Day(sDate)), bOpen) << sDate;
    }
}

}  // namespace
}  // namespace qv::facade
