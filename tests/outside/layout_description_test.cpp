#include "outside/layout_description.h"

#include "outside/automation_error.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

LayoutDescription StockLayout() {
    return {LayoutHeader{7, "Mine", "my stocks", 1, 42},
            LayoutSort{"PctChange DESC, Symbol ASC", 6, 1, 5, 0},
            {{4, 4, "Symbol", "Symbol", 1, 1, "Left"}, {13, 2, "Price", "Price", 1, 2, "##0.00"}}};
}

Variant WithElement(int32_t p_lElement, Variant p_vValue) {
    Variant description = layout_codec::ToVariant(StockLayout());
    description.Array().At(p_lElement) = std::move(p_vValue);
    return description;
}

Variant WithCell(int32_t p_lRow, int32_t p_lEntry, Variant p_vValue) {
    Variant table = layout_codec::ColumnTableToVariant(StockLayout().Columns);
    table.Array().At(p_lRow, p_lEntry) = std::move(p_vValue);
    return WithElement(2, table);
}

TEST(LayoutCodec, WritingAndParsingGiveTheSameLayout) {
    const std::vector<LayoutDescription> layouts = {
        StockLayout(),
        {LayoutHeader{1, "Bare", "", 0, 0}, std::nullopt, {}},
    };
    for (const LayoutDescription& layout : layouts) {
        EXPECT_EQ(layout_codec::Parse(layout_codec::ToVariant(layout)), layout)
            << layout.Header.Name;
    }
    // No sort and no columns travel as Empty parts, as the host and the facade send them.
    const Variant bare = layout_codec::ToVariant(layouts[1]);
    EXPECT_TRUE(bare.Array().At(1).IsEmpty());
    EXPECT_TRUE(bare.Array().At(2).IsEmpty());
}

TEST(LayoutCodec, NumbersSentAsTextAreAccepted) {
    const LayoutDescription layout = layout_codec::Parse(WithCell(0, 1, "13"));
    EXPECT_EQ(layout.Columns[1].ParameterId, 13);
}

TEST(LayoutCodec, AMalformedDescriptionFailsNamingTheOffendingPart) {
    const std::tuple<Variant, int32_t, const char*> cases[] = {
        {Variant("layout"), errors::kTypeMismatch, "the description"},
        {VariantArray::Vector({Variant(), Variant()}), errors::kSubscriptOutOfRange, "description"},
        {WithElement(0, VariantArray::Vector({1, "a", "b", 0})), errors::kSubscriptOutOfRange,
         "the layout header"},
        {WithElement(0, VariantArray::Vector({"x", "a", "b", 0, 0})), errors::kTypeMismatch,
         "the layout id"},
        {WithElement(1, "Symbol ASC"), errors::kTypeMismatch, "the sort block"},
        {WithElement(1, VariantArray::Vector({"", 5e10, 0, -1, 0})), errors::kOverflow,
         "the primary sort field id"},
        {WithElement(2, VariantArray::Vector(0, 6)), errors::kSubscriptOutOfRange,
         "two-dimensional"},
        {WithElement(2, VariantArray::Table(6, 2)), errors::kSubscriptOutOfRange, "rows 0 to 6"},
        {WithElement(2, VariantArray({{0, 6}, {1, 2}})), errors::kSubscriptOutOfRange,
         "start at index 0"},
        {WithCell(3, 1, Variant::Null()), errors::kInvalidUseOfNull,
         "column entry 1 row 3 (caption)"},
        {WithCell(4, 0, VariantArray::Vector({1})), errors::kTypeMismatch,
         "column entry 0 row 4 (table mask)"},
    };
    for (const auto& [description, number, part] : cases) {
        const Failure failure = FailureOf([&] { layout_codec::Parse(description); });
        EXPECT_EQ(failure.Number, number) << part;
        EXPECT_NE(failure.Description.find(part), std::string::npos) << failure.Description;
    }
}

}  // namespace
}  // namespace qv
