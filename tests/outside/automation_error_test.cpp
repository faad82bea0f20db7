#include "outside/automation_error.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(AutomationErrorTest, RuntimeErrorCarriesStandardTextAndDetail) {
    try {
        RaiseRuntimeError(errors::kMemberNotSupported, "Frobnicate");
        FAIL() << "no error raised";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.Number(), 438);
        EXPECT_EQ(error.Description(),
                  "Object doesn't support this property or method: Frobnicate");
        EXPECT_FALSE(error.Source().empty());
    }
}

TEST(AutomationErrorTest, UnknownNumberUsesDetailAlone) {
    try {
        RaiseRuntimeError(12345, "custom failure");
        FAIL() << "no error raised";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.Description(), "custom failure");
    }
}

// A window message read "The list cannot be shown: -2147467259: the database is busy ...".
TEST(AutomationErrorTest, ErrorTextForAPersonHasNoNumber) {
    const AutomationError automation(-2147467259, "Facade", "the database is busy");
    EXPECT_EQ(ErrorText(automation), "the database is busy");
    EXPECT_EQ(ErrorText(std::runtime_error("no such symbol")), "no such symbol");
}

}  // namespace
}  // namespace qv
