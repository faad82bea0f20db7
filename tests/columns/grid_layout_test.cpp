#include "columns/grid_layout.h"

#include "outside/automation_error.h"
#include "support/error_number.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(GridLayoutTest, LayoutInfoReadsBackWhatWasWrittenWithIdsAndTextsConverted) {
    GridLayout layout;
    layout.SetLayoutInfo(VariantArray::Vector({7, "Mine", "", 0, 12}));
    EXPECT_EQ(layout.Id(), 7);
    EXPECT_EQ(layout.OwnerId(), 12);
    layout.SetLayoutInfo(VariantArray::Vector({"7", 3.0, 2.5, "0", true}));
    EXPECT_EQ(layout.LayoutInfo().Array(), VariantArray::Vector({7, "3", "2.5", 0, -1}));
}

TEST(GridLayoutTest, MalformedLayoutInfoFailsAndChangesNothing) {
    const std::pair<Variant, int32_t> cases[] = {
        {"7", errors::kTypeMismatch},
        {VariantArray::Vector({1, "a", "b", 0}), errors::kSubscriptOutOfRange},
        {VariantArray::Table(5, 1), errors::kSubscriptOutOfRange},
        {VariantArray::Vector({"seven", "a", "", 0, 0}), errors::kTypeMismatch},
        {VariantArray::Vector({1, Variant::Null(), "", 0, 0}), errors::kInvalidUseOfNull},
        {VariantArray::Vector({1, "a", "", 0, 1e12}), errors::kOverflow},
    };
    for (const auto& [info, number] : cases) {
        GridLayout layout;
        layout.SetLayoutInfo(VariantArray::Vector({3, "Kept", "d", 1, 2}));
        EXPECT_EQ(ErrorNumberOf([&] { layout.SetLayoutInfo(info); }), number);
        EXPECT_EQ(layout.LayoutInfo().Array(), VariantArray::Vector({3, "Kept", "d", 1, 2}));
    }
}

}  // namespace
}  // namespace qv
