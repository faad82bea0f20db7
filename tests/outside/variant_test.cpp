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

namespace qv {
namespace {

struct LongCase {
    Variant Value;
    int32_t Expected;
};

TEST(VariantTest, ToLongRoundsHalfToEvenAndReadsNumericText) {
    const LongCase cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {2.4999, 2},
        {2.5001, 3},
        {0.5, 0},
        {1.5, 2},
        {true, -1},
        {false, 0},
        {Variant(), 0},
        {"1,234", 1234},
        {" 7 ", 7},
        {"(5)", -5},
        {"-3", -3},
        {"2.5", 2},
        {"1E3", 1000},
        {"&HFF", 255},
        {"&HFFFF", -1},
        {2147483647.4, 2147483647},
        {-2147483648.0, std::numeric_limits<int32_t>::min()},
        {Variant::Date(45000.5), 45000},
    };
    for (const LongCase& c : cases) {
        EXPECT_EQ(c.Value.ToLong(), c.Expected) << c.Value.ToString();
    }
}

TEST(VariantTest, IntegerConversionsOverflowAtTheirRange) {
    EXPECT_EQ(Variant(32767.4).ToInt(), 32767);
    EXPECT_EQ(Variant(-32768.0).ToInt(), -32768);
    EXPECT_EQ(Variant(32766.5).ToInt(), 32766);
    EXPECT_EQ(ErrorNumberOf([] { Variant(32768).ToInt(); }), errors::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Variant(32767.5).ToInt(); }), errors::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Variant(-32768.6).ToInt(); }), errors::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Variant(2147483648.0).ToLong(); }), errors::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Variant("2147483647.5").ToLong(); }), errors::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Variant(-2147483649.0).ToLong(); }), errors::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Variant(std::nan("")).ToLong(); }), errors::kOverflow);
}

TEST(VariantTest, RoundToWholeNumberHoldsOnlyWhat64BitsHold) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<double, std::optional<int64_t>> cases[] = {
        {-9223372036854775808.0, std::numeric_limits<int64_t>::min()},
        {9223372036854774784.0, 9223372036854774784},
        {9223372036854775808.0, std::nullopt},
        {-1e300, std::nullopt},
        {nan, std::nullopt},
        {infinity, std::nullopt},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(RoundToWholeNumber(value), expected) << value;
    }
}

TEST(VariantTest, ConversionFailuresCarryTheRuntimeNumbers) {
    EXPECT_EQ(ErrorNumberOf([] { Variant("abc").ToLong(); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant("5-3").ToDouble(); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant("").ToInt(); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant("maybe").ToBool(); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant(VariantArray::Vector(0, 1)).ToLong(); }),
              errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant::Missing().ToString(); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant::Nothing().ToDouble(); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant(5).ToObject(); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant(5).Array(); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant("not a date").ToDate(); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Variant(1e10).ToDate(); }), errors::kOverflow);
}

TEST(VariantTest, NullConvertsToNothing) {
    const Variant null = Variant::Null();
    EXPECT_EQ(ErrorNumberOf([&] { null.ToLong(); }), errors::kInvalidUseOfNull);
    EXPECT_EQ(ErrorNumberOf([&] { null.ToInt(); }), errors::kInvalidUseOfNull);
    EXPECT_EQ(ErrorNumberOf([&] { null.ToDouble(); }), errors::kInvalidUseOfNull);
    EXPECT_EQ(ErrorNumberOf([&] { null.ToString(); }), errors::kInvalidUseOfNull);
    EXPECT_EQ(ErrorNumberOf([&] { null.ToBool(); }), errors::kInvalidUseOfNull);
    EXPECT_EQ(ErrorNumberOf([&] { null.ToDate(); }), errors::kInvalidUseOfNull);
    EXPECT_EQ(null.Type(), VarType::Null);
}

TEST(VariantTest, ToStringPrintsUpToFifteenSignificantDigits) {
    const std::pair<Variant, std::string> cases[] = {
        {0.1 + 0.2, "0.3"},
        {1e20, "1E+20"},
        {-2.5, "-2.5"},
        {1.0 / 3, "0.333333333333333"},
        {1.0 / 30, "3.33333333333333E-02"},
        {0.00001, "0.00001"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {1.5e-20, "1.5E-20"},
        {-0.0, "0"},
        {int16_t{-7}, "-7"},
        {2147483647, "2147483647"},
        {true, "True"},
        {false, "False"},
        {Variant(), ""},
        {Variant::Date(0), "12:00:00 AM"},
        {Variant::Date(DateSerial(2026, 12, 6)), "12/6/2026"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(value.ToString(), expected);
    }
}

TEST(VariantTest, ToBoolAndToDateFollowTheRuntime) {
    EXPECT_TRUE(Variant(" TRUE ").ToBool());
    EXPECT_FALSE(Variant("false").ToBool());
    EXPECT_TRUE(Variant("-1").ToBool());
    EXPECT_FALSE(Variant("0").ToBool());
    EXPECT_TRUE(Variant(0.1).ToBool());
    EXPECT_FALSE(Variant().ToBool());
    EXPECT_DOUBLE_EQ(Variant("12/6/2026").ToDate(), DateSerial(2026, 12, 6));
    EXPECT_DOUBLE_EQ(Variant(45000).ToDate(), 45000);
    EXPECT_DOUBLE_EQ(Variant(true).ToDouble(), -1);
    EXPECT_DOUBLE_EQ(Variant::Date(1.25).ToDouble(), 1.25);
}

TEST(VariantTest, KindsReportTheirTypes) {
    EXPECT_EQ(Variant().Type(), VarType::Empty);
    EXPECT_EQ(Variant(int16_t{1}).Type(), VarType::Integer);
    EXPECT_EQ(Variant(1).Type(), VarType::Long);
    EXPECT_EQ(Variant(1.0).Type(), VarType::Double);
    EXPECT_EQ(Variant::Date(1).Type(), VarType::Date);
    EXPECT_EQ(Variant("x").Type(), VarType::String);
    EXPECT_EQ(Variant::Nothing().Type(), VarType::Object);
    EXPECT_EQ(Variant::Missing().Type(), VarType::Error);
    EXPECT_EQ(Variant(true).Type(), VarType::Boolean);
    EXPECT_EQ(Variant(VariantArray::Vector(0, 0)).Type(), VarType::Array);
    EXPECT_TRUE(Variant::Nothing().IsNothing());
    EXPECT_EQ(Variant::Nothing().ToObject(), nullptr);
    EXPECT_FALSE(Variant(1.0).IsBool());
    EXPECT_FALSE(Variant("1").IsNumber());
}

TEST(VariantArrayTest, BoundsAndSubscripts) {
    VariantArray vector = VariantArray::Vector(1, 3);
    EXPECT_EQ(vector.LBound(), 1);
    EXPECT_EQ(vector.UBound(), 3);
    EXPECT_EQ(vector.Size(), 3u);
    vector.At(3) = "last";
    EXPECT_EQ(vector.At(3).ToString(), "last");
    EXPECT_EQ(ErrorNumberOf([&] { vector.At(0); }), errors::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { vector.At(4); }), errors::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { vector.At(1, 1); }), errors::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { vector.UBound(2); }), errors::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { vector.LBound(0); }), errors::kSubscriptOutOfRange);

    VariantArray table = VariantArray::Table(7, 2);
    EXPECT_EQ(table.Dimensions(), 2);
    EXPECT_EQ(table.UBound(1), 6);
    EXPECT_EQ(table.UBound(2), 1);
    table.At(6, 1) = 42;
    EXPECT_EQ(table.At({6, 1}).ToLong(), 42);
    // Column-major: the last element of the storage is (6, 1); (1, 0) is the second.
    EXPECT_EQ(table.Values().back().ToLong(), 42);
    table.At(1, 0) = "second";
    EXPECT_EQ(table.Values()[1].ToString(), "second");
    EXPECT_EQ(ErrorNumberOf([&] { table.At(7, 0); }), errors::kSubscriptOutOfRange);

    const VariantArray empty = VariantArray::Vector(0, -1);
    EXPECT_EQ(empty.Size(), 0u);
    EXPECT_EQ(empty.UBound(), -1);
    const VariantArray literal = VariantArray::Vector({1, "two", 3.0});
    EXPECT_EQ(literal.UBound(), 2);
    EXPECT_EQ(literal.At(1).ToString(), "two");
}

TEST(VariantArrayTest, RedimPreserveKeepsValues) {
    VariantArray table = VariantArray::Table(3, 2);
    table.At(2, 1) = "kept";
    table.At(0, 0) = 1;
    table.RedimPreserve(4);
    EXPECT_EQ(table.UBound(2), 4);
    EXPECT_EQ(table.At(2, 1).ToString(), "kept");
    EXPECT_EQ(table.At(0, 0).ToLong(), 1);
    EXPECT_TRUE(table.At(2, 4).IsEmpty());
    table.RedimPreserve(0);
    EXPECT_EQ(table.At(0, 0).ToLong(), 1);
    EXPECT_EQ(ErrorNumberOf([&] { table.At(0, 1); }), errors::kSubscriptOutOfRange);

    VariantArray none = VariantArray::Vector(0, -1);
    none.RedimPreserve(1);
    none.At(1) = "grown";
    EXPECT_EQ(none.Size(), 2u);
    EXPECT_EQ(ErrorNumberOf([&] { none.RedimPreserve(-5); }), errors::kSubscriptOutOfRange);
}

TEST(VariantArrayTest, CopiesAreIndependent) {
    Variant original = VariantArray::Vector(0, 1);
    original.Array().At(0) = "a";
    Variant copy = original;
    copy.Array().At(0) = "b";
    EXPECT_EQ(original.Array().At(0).ToString(), "a");
    Variant assigned;
    assigned = original;
    EXPECT_EQ(assigned, original);
    assigned.Array().At(1) = 5;
    EXPECT_FALSE(assigned == original);

    Variant nested = VariantArray::Vector({Variant(VariantArray::Vector({1, 2}))});
    Variant nestedCopy = nested;
    nestedCopy.Array().At(0).Array().At(1) = 9;
    EXPECT_EQ(nested.Array().At(0).Array().At(1).ToLong(), 2);
}

TEST(VariantTest, CompareValuesConvertsBetweenKinds) {
    EXPECT_EQ(CompareValues(1, 2.5), -1);
    EXPECT_EQ(CompareValues("10", 9), 1);
    EXPECT_EQ(CompareValues("abc", "ABC"), 0);
    EXPECT_NE(CompareValues("abc", "ABC", false), 0);
    EXPECT_EQ(CompareValues("ab", "abc"), -1);
    EXPECT_EQ(CompareValues(Variant::Null(), Variant()), 0);
    EXPECT_EQ(CompareValues(Variant::Null(), -1e300), -1);
    EXPECT_EQ(CompareValues("", Variant()), 1);
    EXPECT_EQ(CompareValues(Variant::Date(DateSerial(2026, 12, 6)), "12/6/2026"), 0);
    EXPECT_EQ(CompareValues(true, 0), -1);
    EXPECT_EQ(ErrorNumberOf([] { CompareValues("abc", 1); }), errors::kTypeMismatch);
}

}  // namespace
}  // namespace qv
