#include "outside/automation_error.h"

#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qv {
namespace {

TEST(AutomationErrorTest, RuntimeErrorCarriesStandardTextAndDetail) {
    const Failure known = FailureOf([] { RaiseRuntimeError(errors::kMemberNotSupported, "Frob"); });
    EXPECT_EQ(known.Number, 438);
    EXPECT_EQ(known.Description, "Object doesn't support this property or method: Frob");
    // An unknown number has no standard text: the detail alone.
    EXPECT_EQ(FailureOf([] { RaiseRuntimeError(12345, "custom failure"); }).Description,
              "custom failure");
}

// A window message read "The list cannot be shown: -2147467259: the database is busy ...".
TEST(AutomationErrorTest, ErrorTextForAPersonHasNoNumber) {
    const AutomationError automation(-2147467259, "Facade", "the database is busy");
    EXPECT_EQ(ErrorText(automation), "the database is busy");
    EXPECT_EQ(ErrorText(std::runtime_error("no such symbol")), "no such symbol");
}

}  // namespace
}  // namespace qv
