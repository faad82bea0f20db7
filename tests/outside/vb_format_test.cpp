#include "outside/vb_format.h"

#include "outside/automation_error.h"
#include "outside/numeric_text.h"
#include "outside/text_util.h"
#include "outside/variant.h"
#include "outside/vb_date.h"
#include "support/error_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qv {
namespace {

TEST(VbFormatTest, FormatsNumbersDatesTextAndNullAsTheRuntimeDoes) {
    const Variant afternoon = Variant::Date(DateSerial(2026, 12, 6) + TimeSerial(15, 4, 5));
    const Variant morning = Variant::Date(DateSerial(2026, 3, 9) + TimeSerial(0, 7, 0));
    const std::string sections = "0.00;(0.00);\"zero\"";
    // Each row: the value, the format, the text.
    const std::tuple<Variant, std::string, std::string> cases[] = {
        // The grid's default column format always shows two places.
        {-1234567.891, "#,##0.#0", "-1,234,567.89"},
        {999.999, "#,##0.#0", "1,000.00"},
        {0.25, "#.#0", ".25"},
        // User-defined number formats: rounding half away from zero, scaling, literals.
        {2.5, "0", "3"},
        {2.675, "0.00", "2.68"},
        {-0.001, "0.00", "0.00"},
        {1234567, "#,##0,", "1,235"},
        {-0.125, "0%", "-13%"},
        {5, "0 \"shares\"", "5 shares"},
        {0.000123, "0.0E-0", "1.2E-4"},
        {1e20, "0", "100000000000000000000"},
        {9.999, "0.00E+00", "1.00E+01"},
        // Sections for negative and zero.
        {-5, sections, "(5.00)"},
        {0, sections, "zero"},
        {-5, "0.00;;\"zero\"", "-5.00"},
        {5, "\"a;b\"0", "a;b5"},
        // Named formats.
        {1e20, "General Number", "1E+20"},
        {-5, "Currency", "($5.00)"},
        {-1234567.125, "Standard", "-1,234,567.13"},
        {"0.125", "Percent", "12.50%"},
        {-0.5, "yes/no", "Yes"},
        // Dates, named and user-defined.
        {afternoon, "General Date", "12/6/2026 3:04:05 PM"},
        {afternoon, "Long Date", "Sunday, December 6, 2026"},
        {afternoon, "Medium Date", "06-Dec-26"},
        {morning, "Long Time", "12:07:00 AM"},
        {afternoon, "yyyy-mm-dd hh:nn:ss", "2026-12-06 15:04:05"},
        {morning, "h:nn A/P", "12:07 A"},
        {afternoon, "w ww q y", "1 50 4 340"},
        {afternoon, "\"on\" d ddddd", "on 6 12/6/2026"},
        {"2026-12-06 15:04", "M/D/YY h:nn", "12/6/26 15:04"},
        {46362, "Short Date", "12/6/2026"},
        {"next week", "Short Date", "next week"},
        // Text, Null and Empty.
        {Variant::Null(), "0.00", ""},
        {Variant(), "Short Date", ""},
        {"1,234.5", "##0.#0", "1234.50"},
        {"(5)", "0", "-5"},
        {true, "0", "-1"},
        {Variant::Date(0.5), "", "12:00:00 PM"},
    };
    for (const auto& [value, format, expected] : cases) {
        EXPECT_EQ(Format(value, format), expected) << "format \"" << format << "\"";
    }
}

TEST(VbFormatTest, ValuesThatCannotBeFormatted) {
    EXPECT_THROW(Format(VariantArray::Vector(0, 1), "0"), AutomationError);
    EXPECT_THROW(Format(Variant::Nothing(), "0"), AutomationError);
    EXPECT_THROW(Format(1e10, "Short Date"), AutomationError);
    EXPECT_THROW(Format(std::numeric_limits<double>::infinity(), "0"), AutomationError);
}

// Number conversion accepts exactly what IsNumeric accepts.
TEST(VbFormatTest, IsNumericAsTheRuntimeJudges) {
    for (const char* text : {"(5)", "-3", "1,234", " 7 ", "+4.5", "- 2", ".5", "5.", "1.5E-3",
                             "&HFF", "1,234,567.89", "( 5 )"}) {
        EXPECT_TRUE(IsNumeric(text)) << '"' << text << '"';
        EXPECT_EQ(ErrorNumberOf([&] { Variant(text).ToDouble(); }), 0) << text;
    }
    for (const char* text : {"5-3", "", "abc", " ", ".", "-", "1e", "1.2.3", "(5", "(-5)", ",5",
                             "&HXYZ", "12/6/2026", "5 5", "$5"}) {
        EXPECT_FALSE(IsNumeric(text)) << '"' << text << '"';
        EXPECT_EQ(ErrorNumberOf([&] { Variant(text).ToDouble(); }), errors::kTypeMismatch) << text;
    }
    for (const Variant& value : {Variant(5), Variant(true), Variant()}) {
        EXPECT_TRUE(IsNumeric(value)) << value.ToString();
    }
    for (const Variant& value : {Variant::Null(), Variant::Date(1), Variant::Nothing()}) {
        EXPECT_FALSE(IsNumeric(value));
    }
    EXPECT_DOUBLE_EQ(*ParseNumericText("&H7FFFFFFF"), 2147483647);
    EXPECT_DOUBLE_EQ(*ParseNumericText("&HFFFF0000"), -65536);
}

// A regression: a Double holding NaN or an infinity was numeric, so code that trusted IsNumeric
// went on to convert a value no integer holds.
TEST(VbFormatTest, NanAndInfinityAreNotNumeric) {
    const double infinity = std::numeric_limits<double>::infinity();
    for (const Variant& value : {Variant("nan"), Variant("-inf"), Variant("Infinity"),
                                 Variant("1e999"), Variant(std::nan("")), Variant(-infinity)}) {
        EXPECT_FALSE(IsNumeric(value)) << value.ToString();
    }
}

TEST(VariantTest, ConversionsRoundHalfToEvenAndReadNumericText) {
    const std::pair<Variant, int32_t> cases[] = {
        {2.5, 2},   {3.5, 4},    {-2.5, -2}, {2.5001, 3},   {true, -1},    {Variant(), 0},
        {" 7 ", 7}, {"(5)", -5}, {"2.5", 2}, {"1E3", 1000}, {"&HFF", 255}, {"&HFFFF", -1},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(value.ToLong(), expected) << value.ToString();
    }
    EXPECT_EQ(Variant::Date(45000.5).ToLong(), 45000);
    EXPECT_EQ(Variant(2147483647.4).ToLong(), 2147483647);
    EXPECT_EQ(Variant(-2147483648.0).ToLong(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Variant(-32768.0).ToInt(), -32768);
    EXPECT_TRUE(Variant(" TRUE ").ToBool());
    EXPECT_DOUBLE_EQ(Variant("12/6/2026").ToDate(), DateSerial(2026, 12, 6));
    EXPECT_DOUBLE_EQ(Variant(45000).ToDate(), 45000);
}

TEST(VariantTest, RoundToWholeNumberHoldsOnlyWhat64BitsHold) {
    EXPECT_EQ(RoundToWholeNumber(-9223372036854775808.0), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(RoundToWholeNumber(9223372036854774784.0), 9223372036854774784);
    for (double beyond : {9223372036854775808.0, std::nan(""), HUGE_VAL}) {
        EXPECT_EQ(RoundToWholeNumber(beyond), std::nullopt) << beyond;
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
        {[] { Variant(5).ToObject(); }, errors::kTypeMismatch},
        {[] { Variant(5).Array(); }, errors::kTypeMismatch},
        {[] { Variant("not a date").ToDate(); }, errors::kTypeMismatch},
        {[] { Variant(1e10).ToDate(); }, errors::kOverflow},
        {[] { Variant(32767.5).ToInt(); }, errors::kOverflow},
        {[] { Variant(-32768.6).ToInt(); }, errors::kOverflow},
        {[] { Variant("2147483647.5").ToLong(); }, errors::kOverflow},
        {[] { Variant(std::nan("")).ToLong(); }, errors::kOverflow},
        {[&] { null.ToLong(); }, errors::kInvalidUseOfNull},
        {[&] { null.ToString(); }, errors::kInvalidUseOfNull},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(ErrorNumberOf(cases[i].first), cases[i].second) << "case " << i;
    }
}

TEST(VariantTest, ToStringPrintsUpToFifteenSignificantDigits) {
    const std::pair<Variant, std::string> cases[] = {
        {0.1 + 0.2, "0.3"}, {1e15, "1E+15"}, {1.5e-20, "1.5E-20"}, {0.00001, "0.00001"},
        {-0.0, "0"},        {true, "True"},  {Variant(), ""},      {1.0 / 3, "0.333333333333333"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(value.ToString(), expected);
    }
    EXPECT_EQ(Variant(1.0 / 30).ToString(), "3.33333333333333E-02");
    EXPECT_EQ(Variant(123456789012345.0).ToString(), "123456789012345");
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
    EXPECT_EQ(table.At({6, 1}), table.Values().back());
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
    EXPECT_EQ(nested, VariantArray::Vector({Variant(VariantArray::Vector({1, 2})), "a"}));
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

// A regression: a bad field was echoed whole into messages and the log (a 300 MB message).
TEST(TextUtilTest, AnExcerptIsShortSaysTheLengthAndEscapesUnsafeBytes) {
    const std::string forty(40, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"68.07", "'68.07'"},
        {"", "''"},
        {forty, "'" + forty + "'"},
        {forty + "y", "'" + forty + "...' (41 bytes)"},
        {std::string(300000, 'z'), "'" + std::string(40, 'z') + "...' (300000 bytes)"},
        {std::string("a\0b\x1b[2J", 7), "'a\\x00b\\x1B[2J'"},
        {"caf\xe9", "'caf\\xE9'"},
        // A character of several bytes counts once and is never cut.
        {std::string(39, 'x') + "\xE2\x82\xAC\xE2\x82\xAC",
         "'" + std::string(39, 'x') + "\xE2\x82\xAC...' (45 bytes)"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Excerpt(text), expected) << expected;
    }
}

TEST(TextUtilTest, NamesMustBeUtf8WithoutControlCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"Nestl\xC3\xA9 S.A.", ""},
        {std::string("A\0B", 3), "a control character (\\x00) at byte 1"},
        // An overlong form and a surrogate are not UTF-8 either.
        {"\xC0\xAF", "a byte that is not UTF-8 (\\xC0) at byte 0"},
        {"\xED\xA0\x80", "a byte that is not UTF-8 (\\xED) at byte 0"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(NameTextFault(text), expected) << expected;
    }
}

// Each trimming keeps what its texts may legitimately hold: a format keeps its tabs, a settings
// line its line breaks; mixing the variants up changes what a caller reads.
TEST(TextUtilTest, EachTrimmingRemovesOnlyItsOwnPaddingAndSplittingKeepsEmptyParts) {
    const std::string padded = "\v\r\t x \t\n\f";
    EXPECT_EQ(TrimSpaces(padded), padded);
    EXPECT_EQ(TrimSpaces("  0.00 "), "0.00");
    EXPECT_EQ(TrimBlanks("\r\t x \t\n"), "\r\t x \t\n");
    EXPECT_EQ(TrimLineBlanks(padded), "\v\r\t x \t\n\f");
    EXPECT_EQ(TrimLineBlanks("\r\t x \t\n"), "x");
    EXPECT_EQ(TrimWhitespace(padded), "x");
    EXPECT_EQ(SplitText("a//b", '/'), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitText("", '/'), std::vector<std::string>{""});
}

// Folding must not depend on the locale, and bytes past ASCII order as unsigned.
TEST(TextUtilTest, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_EQ(ToUpperAscii("ibm.n \xe9"), "IBM.N \xe9");
    EXPECT_EQ(ToLowerAscii("IBM.N \xC9"), "ibm.n \xC9");
    EXPECT_FALSE(EqualsIgnoreCase("\xe9", "\xC9"));
    EXPECT_EQ(CompareIgnoreCase("Ab", "a"), 1);
    EXPECT_EQ(CompareIgnoreCase("Z", "\xe9"), -1);
    EXPECT_EQ(IgnoreCaseHash()("Symbol"), IgnoreCaseHash()("SYMBOL"));
}

}  // namespace
}  // namespace qv
