#include "outside/vb_format.h"

#include "outside/automation_error.h"
#include "outside/numeric_text.h"
#include "outside/vb_date.h"
#include "support/error_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv {
namespace {

struct FormatCase {
    Variant Value;
    std::string FormatText;
    std::string Expected;
};

void ExpectFormats(const std::vector<FormatCase>& p_cases) {
    for (const FormatCase& c : p_cases) {
        EXPECT_EQ(Format(c.Value, c.FormatText), c.Expected)
            << "value " << (c.Value.IsNull() ? "Null" : c.Value.ToString()) << " format \""
            << c.FormatText << "\"";
    }
}

TEST(VbFormatTest, DefaultColumnFormatAlwaysShowsTwoPlaces) {
    ExpectFormats({{1.5, "##0.#0", "1.50"},
                   {-1234567.891, "#,##0.#0", "-1,234,567.89"},
                   {999.999, "#,##0.#0", "1,000.00"},
                   {0.25, "#.#0", ".25"}});
}

TEST(VbFormatTest, UserDefinedNumberFormats) {
    ExpectFormats({{2.5, "0", "3"},
                   {7, "000", "007"},
                   {2.675, "0.00", "2.68"},
                   {-0.001, "0.00", "0.00"},
                   {1234567, "#,##0,", "1,235"},
                   {1234567, "0,,.0", "1.2"},
                   {-0.125, "0%", "-13%"},
                   {-1234.5, "$#,##0.00", "-$1,234.50"},
                   {5, "0 \"shares\"", "5 shares"},
                   {1e20, "0", "100000000000000000000"},
                   {0.000123, "0.0E-0", "1.2E-4"},
                   {9.999, "0.00E+00", "1.00E+01"}});
}

TEST(VbFormatTest, SectionsForNegativeAndZero) {
    const std::string sections = "0.00;(0.00);\"zero\"";
    ExpectFormats({{5, sections, "5.00"},
                   {-5, sections, "(5.00)"},
                   {0, sections, "zero"},
                   {-5, "0.00;;\"zero\"", "-5.00"},
                   {-5, "0;0", "5"},
                   {5, "\"a;b\"0", "a;b5"}});
}

TEST(VbFormatTest, NamedFormats) {
    ExpectFormats({
        {-0.1, "general number", "-0.1"},
        {1e20, "General Number", "1E+20"},
        {-5, "Currency", "($5.00)"},
        {-0.5, "Fixed", "-0.50"},
        {-1234567.125, "Standard", "-1,234,567.13"},
        {"0.125", "Percent", "12.50%"},
        {0, "Scientific", "0.00E+00"},
        {-0.5, "yes/no", "Yes"},
        {"0", "On/Off", "Off"},
    });
}

TEST(VbFormatTest, DateFormats) {
    const Variant afternoon = Variant::Date(DateSerial(2026, 12, 6) + TimeSerial(15, 4, 5));
    const Variant morning = Variant::Date(DateSerial(2026, 3, 9) + TimeSerial(0, 7, 0));
    ExpectFormats({{afternoon, "General Date", "12/6/2026 3:04:05 PM"},
                   {Variant::Date(DateSerial(2026, 12, 6)), "General Date", "12/6/2026"},
                   {afternoon, "Long Date", "Sunday, December 6, 2026"},
                   {afternoon, "Medium Date", "06-Dec-26"},
                   {morning, "Long Time", "12:07:00 AM"},
                   {morning, "Short Time", "00:07"},
                   {afternoon, "yyyy-mm-dd hh:nn:ss", "2026-12-06 15:04:05"},
                   {afternoon, "h:mm:ss am/pm", "3:04:05 pm"},
                   {morning, "h:nn A/P", "12:07 A"},
                   {afternoon, "ddd, mmm d", "Sun, Dec 6"},
                   {afternoon, "dddd mmmm", "Sunday December"},
                   {afternoon, "w ww q y", "1 50 4 340"},
                   {afternoon, "c", "12/6/2026 3:04:05 PM"},
                   {Variant::Date(0), "Short Date", "12/30/1899"},
                   {"2026-12-06 15:04", "M/D/YY h:nn", "12/6/26 15:04"},
                   {46362, "Short Date", "12/6/2026"},
                   {"next week", "Short Date", "next week"},
                   {DateSerial(2026, 12, 6), "##0.#0", "46362.00"}});
}

TEST(VbFormatTest, TextNullAndEmpty) {
    ExpectFormats({{Variant::Null(), "0.00", ""},
                   {Variant(), "Short Date", ""},
                   {"abc", "##0.#0", "abc"},
                   {"  left  ", "0.00", "  left  "},
                   {"1,234.5", "##0.#0", "1234.50"},
                   {"(5)", "0", "-5"},
                   {1.5, "", "1.5"},
                   {true, "0", "-1"},
                   {Variant::Date(0.5), "", "12:00:00 PM"}});
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

}  // namespace
}  // namespace qv
