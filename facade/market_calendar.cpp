#include "facade/market_calendar.h"

#include <algorithm>

#include "outside/vb_date.h"

namespace qv::facade {

namespace {

constexpr int kMonday = 1;
constexpr int kThursday = 4;
constexpr int kFriday = 5;
constexpr int kSaturday = 6;
constexpr int kSunday = 7;
constexpr int kFirstJuneteenth = 2022;

// The p_iNth p_iWeekday (ISO, 1 Monday) of a month.
int32_t NthWeekday(int p_iYear, int p_iMonth, int p_iWeekday, int p_iNth) {
    const int32_t first = DaySerialFromCivil(p_iYear, p_iMonth, 1);
    const int offset = (p_iWeekday - IsoWeekday(first) + 7) % 7;
    return first + offset + 7 * (p_iNth - 1);
}

int32_t LastWeekday(int p_iYear, int p_iMonth, int p_iWeekday) {
    const int32_t fifth = NthWeekday(p_iYear, p_iMonth, p_iWeekday, 5);
    return CivilFromDaySerial(fifth).Month == p_iMonth ? fifth : fifth - 7;
}

// Easter Sunday by the anonymous Gregorian computus.
int32_t EasterSunday(int p_iYear) {
    const int a = p_iYear % 19;
    const int b = p_iYear / 100;
    const int c = p_iYear % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return DaySerialFromCivil(p_iYear, month, day);
}

// A fixed-date holiday moved off the weekend.
int32_t Observed(int32_t p_lDay) {
    switch (IsoWeekday(p_lDay)) {
        case kSaturday:
            return p_lDay - 1;
        case kSunday:
            return p_lDay + 1;
        default:
            return p_lDay;
    }
}

}  // namespace

std::vector<int32_t> ExchangeHolidays(int p_iYear) {
    std::vector<int32_t> days = {
        NthWeekday(p_iYear, 1, kMonday, 3),
        NthWeekday(p_iYear, 2, kMonday, 3),
        EasterSunday(p_iYear) - 2,
        LastWeekday(p_iYear, 5, kMonday),
        Observed(DaySerialFromCivil(p_iYear, 7, 4)),
        NthWeekday(p_iYear, 9, kMonday, 1),
        NthWeekday(p_iYear, 11, kThursday, 4),
        Observed(DaySerialFromCivil(p_iYear, 12, 25)),
    };
    const int32_t newYear = DaySerialFromCivil(p_iYear, 1, 1);
    if (IsoWeekday(newYear) != kSaturday) {
        days.push_back(Observed(newYear));
    }
    if (p_iYear >= kFirstJuneteenth) {
        days.push_back(Observed(DaySerialFromCivil(p_iYear, 6, 19)));
    }
    std::sort(days.begin(), days.end());
    return days;
}

bool IsTradingDay(int32_t p_lDay) {
    if (IsoWeekday(p_lDay) > kFriday) {
        return false;
    }
    const std::vector<int32_t> holidays = ExchangeHolidays(CivilFromDaySerial(p_lDay).Year);
    return !std::binary_search(holidays.begin(), holidays.end(), p_lDay);
}

}  // namespace qv::facade
