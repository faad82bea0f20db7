#include "outside/layout_description.h"

#include "outside/automation_error.h"

#include <gtest/gtest.h>

#include <string>
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
    struct Case {
        const char* Name;
        Variant Description;
        int32_t Number;
        const char* Part;
    };
    VariantArray shortTable = VariantArray::Table(6, 2);
    VariantArray offsetEntries({{0, 6}, {1, 2}});
    const std::vector<Case> cases = {
        {"not an array", Variant("layout"), errors::kTypeMismatch, "the description"},
        {"two elements", VariantArray::Vector({Variant(), Variant()}), errors::kSubscriptOutOfRange,
         "the description"},
        {"header of four", WithElement(0, VariantArray::Vector({1, "a", "b", 0})),
         errors::kSubscriptOutOfRange, "the layout header"},
        {"id not a number", WithElement(0, VariantArray::Vector({"x", "a", "b", 0, 0})),
         errors::kTypeMismatch, "the layout id"},
        {"sort block text", WithElement(1, "Symbol ASC"), errors::kTypeMismatch, "the sort block"},
        {"sort id too large", WithElement(1, VariantArray::Vector({"", 5e10, 0, -1, 0})),
         errors::kOverflow, "the primary sort field id"},
        {"table of one dimension", WithElement(2, VariantArray::Vector({1, 2, 3, 4, 5, 6, 7})),
         errors::kSubscriptOutOfRange, "two-dimensional"},
        {"table of six rows", WithElement(2, shortTable), errors::kSubscriptOutOfRange,
         "rows 0 to 6"},
        {"entries from 1", WithElement(2, offsetEntries), errors::kSubscriptOutOfRange,
         "start at index 0"},
        {"Null caption", WithCell(3, 1, Variant::Null()), errors::kInvalidUseOfNull,
         "column entry 1 row 3 (caption)"},
        {"array as a mask", WithCell(4, 0, VariantArray::Vector({1})), errors::kTypeMismatch,
         "column entry 0 row 4 (table mask)"},
    };
    for (const Case& c : cases) {
        try {
            layout_codec::Parse(c.Description);
            ADD_FAILURE() << c.Name << ": accepted";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.Number(), c.Number) << c.Name;
            EXPECT_NE(error.Description().find(c.Part), std::string::npos)
                << c.Name << ": " << error.Description();
        }
    }
}

}  // namespace
}  // namespace qv
