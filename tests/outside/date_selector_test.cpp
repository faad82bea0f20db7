#include "outside/date_selector.h"

#include "outside/component_factory.h"
#include "outside/scripted_services.h"
#include "outside/vb_date.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

TEST(DateSelector, ReadsTheHostsDateTextsAndKeepsTheDayOnTextNamingNoDate) {
    ScopedTestPlatform platform;
    HeadlessDateSelector selector;
    EXPECT_EQ(selector.Value(), DateSerial(2026, 12, 4));  // today on the platform clock
    // The viewer turns dots into slashes before handing the text over; a time is dropped.
    const std::pair<const char*, double> cases[] = {
        {"3/1/99", DateSerial(1999, 3, 1)},
        {"2026-01-31", DateSerial(2026, 1, 31)},
        {"12/6/2026 3:04:05 PM", DateSerial(2026, 12, 6)},
        {"1899-12-29 06:00", -1.0},
    };
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
}

TEST(DateSelector, WorksByProgIdAndDispatchAsTheViewerCallsIt) {
    ScopedTestPlatform platform;
    RegisterHeadlessDateSelector(platform.Components());
    auto selector = CreateObject("QORVANTSUPPORT.DateSelector");
    ASSERT_NE(selector, nullptr);
    LetProperty(*selector, "Visible", Variant(false));
    LetProperty(*selector, "Text", Variant("7/4/2025"));
    const Variant value = GetProperty(*selector, "Value");
    EXPECT_TRUE(value.IsDate());
    EXPECT_EQ(value.ToDate(), DateSerial(2025, 7, 4));
    EXPECT_FALSE(GetProperty(*selector, "Visible").ToBool());
    EXPECT_EQ(GetProperty(*selector, "Text").ToString(), "7/4/2025");
}

}  // namespace
}  // namespace qv
