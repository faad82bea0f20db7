#include "grid/cell_formatting.h"

#include "columns/grid_columns.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

// One column of values under a caption and a format, styled by the caption, rendered.
std::string RenderColumn(const std::string& p_sCaption, const std::string& p_sFormat,
                         const std::vector<Variant>& p_values,
                         GridControlEvents* p_oSink = nullptr) {
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Value", adVariant);
    rows->Open();
    for (const Variant& value : p_values) {
        rows->AddNew({value});
    }
    GridControl grid;
    grid.Columns()->Clear();
    auto column = grid.Columns()->Add(0);
    column->SetCaption(p_sCaption);
    column->SetDataField("Value");
    column->SetWidth(1050);
    GridUtilities::ApplyColumnFormat(*column, p_sFormat);
    GridUtilities::ApplyColumnStyles(*column);
    grid.SetDataSource(rows);
    grid.AddSink(p_oSink);
    rows->MoveLast();
    rows->MoveNext();
    return grid.RenderText(0, static_cast<int32_t>(p_values.size()));
}

class NegativeInRed : public GridControlEvents {
    void FetchCellStyle(int16_t, int16_t, const Variant&, int16_t, std::string_view p_sText,
                        GridStyle& p_oStyle) override {
        GridUtilities::ApplyNegativeNumberStyle(p_sText, p_oStyle);
    }
};

TEST(CellFormattingTest, CellsAreStyledByTheCaptionAndFormattedByTheColumnFormat) {
    struct Case {
        const char *Caption, *Format;
        std::vector<Variant> Values;
        const char* Rendered;
        bool NegativeRule = false;  // the cell-style rule that draws negative numbers in red
    };
    const Case cases[] = {
        {"rEc",
         "Center",
         {"B", "H", "S", "X"},  // whatever the caption's case
         "     rEc\n      B  {rEc: white on green}\n      H  {rEc: black on yellow}\n"
         "      S  {rEc: white on red}\n      X\n"},
        {"gain",
         "0.00",
         {2.5, -1.25, 0.0},
         "        gain\n        2.50  {gain: green}\n       -1.25  {gain: red}\n"
         "        0.00  {gain: black}\n"},
        {"EPS", "0.00", {2.5, -1.25}, "         EPS\n        2.50\n       -1.25  {EPS: red}\n"},
        {"Name", " Center ", {"A-1", 1234.5}, "     Name\n     A-1\n    1234.5\n"},
        {"Change",
         "0.00;(0.00)",
         {-5.0, 5.0, "a-b"},
         "      Change\n      (5.00)  {Change: red}\n        5.00\n         a-b\n",
         true},
    };
    for (const Case& test : cases) {
        NegativeInRed sink;
        EXPECT_EQ(RenderColumn(test.Caption, test.Format, test.Values,
                               test.NegativeRule ? &sink : nullptr),
                  test.Rendered)
            << test.Caption;
    }
}

// Every caption of the colour rules, the shortest and the longest, in any letter case, and
// captions that only come close. Each rule is told apart by what it sets; styles applied twice
// must not be doubled.
TEST(CellFormattingTest, EveryCaptionOfTheColourRulesIsFound) {
    const auto styled = [](const char* p_sCaption) {
        GridControlColumn column;
        column.SetCaption(p_sCaption);
        GridUtilities::ApplyColumnStyles(column);
        GridUtilities::ApplyColumnStyles(column);
        return column.ForeColor() == grid_colors::kGreen
                   ? 'P'
                   : "-S?R!"[std::min(column.RegexCellStyleCount(), 4)];
    };
    const std::pair<char, std::vector<const char*>> rules[] = {
        {'S', {"EY", "ey", "p/e", "Sales ($M)"}},
        {'R', {"Rec"}},
        {'P', {"ROI", "$ Change", "Realized Gain"}},
        {'-', {"", "E", "Gains", "Realized Gains", " Rec", "Field 12"}},
    };
    for (const auto& [expected, captions] : rules) {
        for (const char* caption : captions) {
            EXPECT_EQ(styled(caption), expected) << '"' << caption << '"';
        }
    }
}

TEST(CellFormattingTest, NegativeNumbersAreNumericTextsWithASignOrParentheses) {
    for (const char* text : {"-3", "(5)", "(1,234.50)", "-0.5", "-1.5E-03"}) {
        EXPECT_TRUE(GridUtilities::IsNegativeNumberText(text)) << text;
    }
    for (const char* text : {"3", "5-3", "Hewlett-Packard", "", "1.5E-03", "(x)"}) {
        EXPECT_FALSE(GridUtilities::IsNegativeNumberText(text)) << text;
    }
}

// A thousands separator of the format once split one value into two fields of the line; a line
// break in a value split the line; control characters and bytes that are not UTF-8 were written
// raw.
TEST(CellFormattingTest, ExportTextFollowsTheColumnFormat) {
    // {format, value, text}
    const std::tuple<const char*, Variant, const char*> cases[] = {
        {" Percent ", "1,000", "100000.00%"},
        {"Left", " Acme, Inc. ", " Acme Inc. "},
        {"Center", "1,234", "1234"},
        {"Short Date", Variant::Date(46360.0), "12/4/2026"},
        {"#,##0.00", "1,234.5", "1234.50"},
        {"#,##0", 1234567.0, "1234567"},
        {"0", -2.5, "-3"},
        {"##0.#0", Variant::Null(), ""},
        {"##0.#0", "n/a", "n/a"},
        {"Left", "two\r\nlines", "two\xEF\xBF\xBD\xEF\xBF\xBDlines"},
        {"Left", "caf\xe9\x1b", "caf\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& [format, value, text] : cases) {
        GridColumns columns;
        columns.Add("Value", csVisible, "Value", 1, 1, 1, 0, format);
        EXPECT_EQ(GridUtilities::ExportCellText(columns, "value", value), text) << format;
    }
    EXPECT_EQ(GridUtilities::ExportCellText(GridColumns(), "Value", "1,234"), "1234");
}

// A number is written as its text would be, in every format: halves at the 15th digit, values
// just below a half, negative zero, integers, values written in exponent form.
TEST(CellFormattingTest, ANumberIsExportedAsItsTextWouldBe) {
    for (const char* format : {"0.00", "#,##0", "#,##0.#0", "Percent", "0", "0.00E+00", ""}) {
        GridColumns columns;
        columns.Add("Value", csVisible, "Value", 1, 1, 1, 0, format);
        for (const Variant& value :
             {Variant(0.125), Variant(0.125 - 1e-17), Variant(2.675), Variant(-0.0),
              Variant(-0.004), Variant(1234567.891), Variant(1e16), Variant(123456789012345678.0),
              Variant(int32_t{-1234567}), Variant(int16_t{5}), Variant(1.0 / 3)}) {
            EXPECT_EQ(GridUtilities::ExportCellText(columns, "Value", value),
                      GridUtilities::ExportCellText(columns, "Value", Variant(value.ToString())))
                << format << " " << value.ToString();
        }
    }
}

}  // namespace
}  // namespace qv
