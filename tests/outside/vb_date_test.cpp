#include "outside/vb_date.h"

#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/date_selector.h"
#include "outside/scripted_services.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>

namespace qv {
namespace {

TEST(VbDateTest, SerialsCountFromTheZeroDateAndRollOver) {
    EXPECT_DOUBLE_EQ(DateSerial(1899, 12, 30), 0);
    EXPECT_DOUBLE_EQ(DateSerial(100, 1, 1), kMinDateSerial);
    EXPECT_DOUBLE_EQ(DateSerial(9999, 12, 31), kMaxDateSerial);
    EXPECT_DOUBLE_EQ(DateSerial(26, 12, 6), DateSerial(2026, 12, 6));  // two-digit years
    EXPECT_DOUBLE_EQ(DateSerial(2026, 13, 1), DateSerial(2027, 1, 1));
    EXPECT_DOUBLE_EQ(DateSerial(2024, 3, 0), DateSerial(2024, 2, 29));
    EXPECT_DOUBLE_EQ(TimeSerial(-6, 0, 0), -1.75);
    EXPECT_DOUBLE_EQ(CombineDateTime(-1, 0.25), -1.25);
    EXPECT_THROW(DateSerial(2026, 1, 3000000), AutomationError);
    EXPECT_THROW(DateSerial(10000, 1, 1), AutomationError);
}

TEST(VbDateTest, SplitDateHandlesLeapYearsNegativeSerialsAndRounding) {
    EXPECT_EQ(SplitDate(DateSerial(1900, 2, 29)), (DateParts{1900, 3, 1, 0, 0, 0}));
    EXPECT_EQ(SplitDate(DateSerial(2000, 2, 29)), (DateParts{2000, 2, 29, 0, 0, 0}));
    // -1.25 is 29 December 1899 at 06:00, a quarter day after its midnight.
    EXPECT_EQ(SplitDate(-1.25), (DateParts{1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(SplitDate(1 - 0.1 / 86400), (DateParts{1899, 12, 31, 0, 0, 0}));
    EXPECT_THROW(SplitDate(kMaxDateSerial + 1), AutomationError);
    for (double day = kMinDateSerial; day <= kMaxDateSerial; day += 997) {
        const DateParts parts = SplitDate(day);
        EXPECT_DOUBLE_EQ(DateSerial(parts.Year, parts.Month, parts.Day), day);
    }
    EXPECT_EQ(Weekday(0), 7);  // weeks start on Sunday
    EXPECT_EQ(Weekday(-1.5), 6);
}

TEST(VbDateTest, DefaultTextForm) {
    EXPECT_EQ(DefaultDateText(0), "12:00:00 AM");
    EXPECT_EQ(DefaultDateText(DateSerial(2026, 12, 6)), "12/6/2026");
    EXPECT_EQ(DefaultDateText(DateSerial(2026, 1, 2) + TimeSerial(0, 0, 1)),
              "1/2/2026 12:00:01 AM");
    EXPECT_EQ(DefaultDateText(-1.25), "12/29/1899 6:00:00 AM");
}

TEST(VbDateTest, ParsesHostDateTexts) {
    const auto parses = [](const std::string& p_sText, double p_dExpected) {
        double serial = -1e9;
        EXPECT_TRUE(ParseDateText(p_sText, serial)) << p_sText;
        EXPECT_NEAR(serial, p_dExpected, 1e-9) << p_sText;
    };
    for (const char* text : {"12/6/26", "12.6.2026", "2026-12-06", "6-dec-26", "  12/6/2026  ",
                             "Sunday, December 6, 2026", "2026-12-06 12:00 AM"}) {
        parses(text, DateSerial(2026, 12, 6));
    }
    for (const char* text : {"12/6/2026 15:04:05", "Dec 6, 2026 3:04:05pm"}) {
        parses(text, DateSerial(2026, 12, 6) + TimeSerial(15, 4, 5));
    }
    parses("3 PM", 0.625);
    parses("12/31/9999", kMaxDateSerial);
    parses("12/29/1899 6:00", -1.25);
}

TEST(VbDateTest, RejectsTextThatIsNoDate) {
    const char* const cases[] = {
        "",         "   ",        "abc",        "13/1/2026",   "2/29/2026", "2/30/2024",
        "0/1/2026", "1/0/2026",   "1/1/99999",  "1/1/10000",   "12/6",      "12/6/2026 25:00",
        "12:60",    "13:00 PM",   "12/6/2026x", "Foo 6, 2026", "1/2/3/4",   "12/6/2026 3:04:05:06",
        "5",        "12/31/0099",
    };
    for (const char* text : cases) {
        double serial = 123;
        EXPECT_FALSE(ParseDateText(text, serial)) << text;
        EXPECT_EQ(serial, 123) << text;
    }
}

// Whole days have no rollover and no range of their own; they must agree with DateSerial where both
// apply, and keep counting before the zero date.
TEST(VbDateTest, WholeDaysAgreeWithDateSerialAndCountBackwards) {
    // Each row: year, month, day, the day serial, the ISO weekday, the ISO text.
    const std::tuple<int, int, int, int32_t, int, const char*> cases[] = {
        {1899, 12, 30, 0, 6, "1899-12-30"},   {1899, 12, 29, -1, 5, "1899-12-29"},
        {1900, 3, 1, 61, 4, "1900-03-01"},    {2000, 2, 29, 36585, 2, "2000-02-29"},
        {2021, 1, 5, 44201, 2, "2021-01-05"}, {100, 1, 1, -657434, 5, "0100-01-01"},
    };
    for (const auto& [year, month, day, serial, weekday, iso] : cases) {
        EXPECT_EQ(DaySerialFromCivil(year, month, day), serial) << iso;
        if (serial >= kMinDateSerial) {
            EXPECT_DOUBLE_EQ(DateSerial(year, month, day), serial) << iso;
        }
        const DateParts parts = CivilFromDaySerial(serial);
        EXPECT_EQ(parts.Year * 10000 + parts.Month * 100 + parts.Day,
                  year * 10000 + month * 100 + day);
        EXPECT_EQ(IsoWeekday(serial), weekday) << iso;
        EXPECT_EQ(IsoDateText(serial), iso);
    }
}

TEST(VbDateTest, DayTextIsStrictIsoOrADateWithoutATime) {
    const std::pair<const char*, int32_t> read[] = {
        {"2021-01-05", 44201}, {"2020-02-29", 43890}, {"4/23/2018", 43213}};
    for (const auto& [text, expected] : read) {
        int32_t serial = 0;
        EXPECT_TRUE(ParseDayText(text, serial)) << text;
        EXPECT_EQ(serial, expected) << text;
    }
    for (const char* text :
         {"2021-02-29", "2021-13-01", "0099-01-01", "2021-01-0x", "4/23/2018 3:00 PM", "", "x"}) {
        int32_t serial = 7;
        EXPECT_FALSE(ParseDayText(text, serial)) << text;
        EXPECT_EQ(serial, 7) << text;
    }
}

TEST(DateSelector, ReadsTheHostsDateTextsByDispatchAndKeepsTheDayOnTextNamingNoDate) {
    ScopedTestPlatform platform;
    HeadlessDateSelector selector;
    EXPECT_EQ(selector.Value(), DateSerial(2026, 12, 4));  // today on the platform clock
    // The viewer turns dots into slashes before handing the text over; a time is dropped.
    const std::pair<const char*, double> cases[] = {
        {"3/1/99", DateSerial(1999, 3, 1)},
        {"12/6/2026 3:04:05 PM", DateSerial(2026, 12, 6)},
        {"1899-12-29 06:00", -1.0}};
    for (const auto& [text, day] : cases) {
        EXPECT_TRUE(selector.SetText(text)) << text;
        EXPECT_EQ(selector.Value(), day) << text;
        EXPECT_EQ(selector.Text(), text);
    }
    for (const char* text : {"", "2/30/2025", "soon"}) {
        EXPECT_FALSE(selector.SetText(text)) << text;
        EXPECT_EQ(selector.Value(), -1.0) << text;
    }
    for (double serial : {kMaxDateSerial + 1, kMinDateSerial - 1, std::nan("")}) {
        EXPECT_EQ(FailureOf([&] { selector.SetValue(serial); }).Number, errors::kOverflow)
            << serial;
    }
    EXPECT_EQ(selector.Value(), -1.0);
    RegisterHeadlessDateSelector(platform.Components());
    auto byProgId = CreateObject("QORVANTSUPPORT.DateSelector");
    ASSERT_NE(byProgId, nullptr);
    LetProperty(*byProgId, "Visible", Variant(false));
    LetProperty(*byProgId, "Text", Variant("7/4/2025"));
    EXPECT_EQ(GetProperty(*byProgId, "Value"), Variant::Date(DateSerial(2025, 7, 4)));
    EXPECT_FALSE(GetProperty(*byProgId, "Visible").ToBool());
}

}  // namespace
}  // namespace qv
