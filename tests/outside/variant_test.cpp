#include "outside/variant.h"

#include "outside/automation_error.h"
#include "outside/numeric_text.h"
#include "outside/vb_date.h"
#include "support/error_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace qv {
namespace {

TEST(VariantTest, ToLongRoundsHalfToEvenAndReadsNumericText) {
    const std::pair<Variant, int32_t> cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {2.5001, 3},
        {true, -1},
        {Variant(), 0},
        {" 7 ", 7},
        {"(5)", -5},
        {"2.5", 2},
        {"1E3", 1000},
        {"&HFF", 255},
        {"&HFFFF", -1},
        {Variant::Date(45000.5), 45000},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(value.ToLong(), expected) << value.ToString();
    }
    EXPECT_EQ(Variant(2147483647.4).ToLong(), 2147483647);
    EXPECT_EQ(Variant(-2147483648.0).ToLong(), std::numeric_limits<int32_t>::min());
}

TEST(VariantTest, IntegerConversionsOverflowAtTheirRange) {
    EXPECT_EQ(Variant(32767.4).ToInt(), 32767);
    EXPECT_EQ(Variant(-32768.0).ToInt(), -32768);
    for (const Variant& value : {Variant(32768), Variant(32767.5), Variant(-32768.6)}) {
        EXPECT_EQ(ErrorNumberOf([&] { value.ToInt(); }), errors::kOverflow) << value.ToString();
    }
    for (const Variant& value : {Variant(2147483648.0), Variant("2147483647.5"),
                                 Variant(-2147483649.0), Variant(std::nan(""))}) {
        EXPECT_EQ(ErrorNumberOf([&] { value.ToLong(); }), errors::kOverflow) << value.ToString();
    }
}

TEST(VariantTest, RoundToWholeNumberHoldsOnlyWhat64BitsHold) {
    const std::pair<double, std::optional<int64_t>> cases[] = {
        {-9223372036854775808.0, std::numeric_limits<int64_t>::min()},
        {9223372036854774784.0, 9223372036854774784},
        {9223372036854775808.0, std::nullopt},
        {std::nan(""), std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(RoundToWholeNumber(value), expected) << value;
    }
}

// Each failing conversion with the runtime's number: Null converts to nothing at all.
TEST(VariantTest, ConversionFailuresCarryTheRuntimeNumbers) {
    const Variant null = Variant::Null();
    const std::pair<std::function<void()>, int32_t> cases[] = {
        {[] { Variant("abc").ToLong(); }, errors::kTypeMismatch},
        {[] { Variant("maybe").ToBool(); }, errors::kTypeMismatch},
        {[] { Variant(VariantArray::Vector(0, 1)).ToLong(); }, errors::kTypeMismatch},
        {[] { Variant::Missing().ToString(); }, errors::kTypeMismatch},
        {[] { Variant::Nothing().ToDouble(); }, errors::kTypeMismatch},
        {[] { Variant(5).ToObject(); }, errors::kTypeMismatch},
        {[] { Variant(5).Array(); }, errors::kTypeMismatch},
        {[] { Variant("not a date").ToDate(); }, errors::kTypeMismatch},
        {[] { Variant(1e10).ToDate(); }, errors::kOverflow},
        {[&] { null.ToLong(); }, errors::kInvalidUseOfNull},
        {[&] { null.ToString(); }, errors::kInvalidUseOfNull},
        {[&] { null.ToBool(); }, errors::kInvalidUseOfNull},
        {[&] { null.ToDate(); }, errors::kInvalidUseOfNull},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(ErrorNumberOf(cases[i].first), cases[i].second) << "case " << i;
    }
}

TEST(VariantTest, ToStringPrintsUpToFifteenSignificantDigits) {
    const std::pair<Variant, std::string> cases[] = {
        {0.1 + 0.2, "0.3"},
        {1e15, "1E+15"},
        {1.5e-20, "1.5E-20"},
        {0.00001, "0.00001"},
        {-0.0, "0"},
        {true, "True"},
        {Variant(), ""},
        {1.0 / 3, "0.333333333333333"},
        {1.0 / 30, "3.33333333333333E-02"},
        {123456789012345.0, "123456789012345"},
        {Variant::Date(0), "12:00:00 AM"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(value.ToString(), expected);
    }
}

TEST(VariantTest, ToBoolAndToDateFollowTheRuntime) {
    EXPECT_TRUE(Variant(" TRUE ").ToBool());
    EXPECT_TRUE(Variant("-1").ToBool());
    EXPECT_FALSE(Variant("0").ToBool());
    EXPECT_TRUE(Variant(0.1).ToBool());
    EXPECT_DOUBLE_EQ(Variant("12/6/2026").ToDate(), DateSerial(2026, 12, 6));
    EXPECT_DOUBLE_EQ(Variant(45000).ToDate(), 45000);
}

TEST(VariantArrayTest, BoundsAndSubscripts) {
    VariantArray vector = VariantArray::Vector(1, 3);
    EXPECT_EQ(vector.Size(), 3u);
    for (const auto& outside : std::vector<std::function<void()>>{
             [&] { vector.At(0); }, [&] { vector.At(4); }, [&] { vector.At(1, 1); },
             [&] { vector.UBound(2); }, [&] { vector.LBound(0); }}) {
        EXPECT_EQ(ErrorNumberOf(outside), errors::kSubscriptOutOfRange);
    }
    // Column-major: the last element of the storage is (6, 1); (1, 0) is the second.
    VariantArray table = VariantArray::Table(7, 2);
    table.At(6, 1) = 42;
    table.At(1, 0) = "second";
    EXPECT_EQ(table.Values().back().ToLong(), 42);
    EXPECT_EQ(table.Values()[1].ToString(), "second");
    EXPECT_EQ(ErrorNumberOf([&] { table.At(7, 0); }), errors::kSubscriptOutOfRange);
    EXPECT_EQ(VariantArray::Vector(0, -1).UBound(), -1);
}

TEST(VariantArrayTest, RedimPreserveKeepsValues) {
    VariantArray table = VariantArray::Table(3, 2);
    table.At(2, 1) = "kept";
    table.RedimPreserve(4);
    EXPECT_EQ(table.At(2, 1).ToString(), "kept");
    EXPECT_TRUE(table.At(2, 4).IsEmpty());
    table.RedimPreserve(0);
    EXPECT_EQ(ErrorNumberOf([&] { table.At(0, 1); }), errors::kSubscriptOutOfRange);

    VariantArray none = VariantArray::Vector(0, -1);
    none.RedimPreserve(1);
    EXPECT_EQ(none.Size(), 2u);
    EXPECT_EQ(ErrorNumberOf([&] { none.RedimPreserve(-5); }), errors::kSubscriptOutOfRange);
}

TEST(VariantArrayTest, CopiesAreIndependent) {
    Variant nested = VariantArray::Vector({Variant(VariantArray::Vector({1, 2})), "a"});
    Variant copy = nested;
    copy.Array().At(0).Array().At(1) = 9;
    copy.Array().At(1) = "b";
    EXPECT_EQ(nested.Array().At(0).Array().At(1).ToLong(), 2);
    EXPECT_EQ(nested.Array().At(1).ToString(), "a");
    EXPECT_FALSE(copy == nested);
}

TEST(VariantTest, CompareValuesConvertsBetweenKinds) {
    EXPECT_EQ(CompareValues(1, 2.5), -1);
    EXPECT_EQ(CompareValues("10", 9), 1);
    EXPECT_EQ(CompareValues("abc", "ABC"), 0);
    EXPECT_NE(CompareValues("abc", "ABC", false), 0);
    EXPECT_EQ(CompareValues(Variant::Null(), Variant()), 0);
    EXPECT_EQ(CompareValues(Variant::Null(), -1e300), -1);
    EXPECT_EQ(CompareValues("", Variant()), 1);
    EXPECT_EQ(CompareValues(Variant::Date(DateSerial(2026, 12, 6)), "12/6/2026"), 0);
    EXPECT_EQ(CompareValues(true, 0), -1);
    EXPECT_EQ(ErrorNumberOf([] { CompareValues("abc", 1); }), errors::kTypeMismatch);
}

}  // namespace
}  // namespace qv
