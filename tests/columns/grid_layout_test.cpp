#include "columns/grid_layout.h"

#include "outside/automation_error.h"
#include "support/error_number.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(GridLayoutTest, LayoutInfoReadsBackWhatWasWritten) {
    GridLayout layout;
    layout.SetLayoutInfo(VariantArray::Vector({7, "Mine", "", 0, 12}));

    EXPECT_EQ(layout.LayoutInfo().Array(), VariantArray::Vector({7, "Mine", "", 0, 12}));
    EXPECT_EQ(layout.Id(), 7);
    EXPECT_EQ(layout.OwnerId(), 12);
}

TEST(GridLayoutTest, LayoutInfoConvertsIdsAndTexts) {
    GridLayout layout;
    layout.SetLayoutInfo(VariantArray::Vector({"7", 3.0, 2.5, "0", true}));

    EXPECT_EQ(layout.LayoutInfo().Array(), VariantArray::Vector({7, "3", "2.5", 0, -1}));
}

struct MalformedCase {
    const char* Name;
    Variant LayoutInfo;
    int32_t Number;
};

TEST(GridLayoutTest, MalformedLayoutInfoFailsAndChangesNothing) {
    const MalformedCase cases[] = {
        {"not an array", "7", errors::kTypeMismatch},
        {"empty", Variant(), errors::kTypeMismatch},
        {"four elements", VariantArray::Vector({1, "a", "b", 0}), errors::kSubscriptOutOfRange},
        {"two dimensions", VariantArray::Table(5, 1), errors::kSubscriptOutOfRange},
        {"text id", VariantArray::Vector({"seven", "a", "", 0, 0}), errors::kTypeMismatch},
        {"null name", VariantArray::Vector({1, Variant::Null(), "", 0, 0}),
         errors::kInvalidUseOfNull},
        {"owner overflows", VariantArray::Vector({1, "a", "", 0, 1e12}), errors::kOverflow},
    };
    for (const MalformedCase& c : cases) {
        GridLayout layout;
        layout.SetLayoutInfo(VariantArray::Vector({3, "Kept", "d", 1, 2}));
        EXPECT_EQ(ErrorNumberOf([&] { layout.SetLayoutInfo(c.LayoutInfo); }), c.Number) << c.Name;
        EXPECT_EQ(layout.LayoutInfo().Array(), VariantArray::Vector({3, "Kept", "d", 1, 2}))
            << c.Name;
    }
}

}  // namespace
}  // namespace qv
