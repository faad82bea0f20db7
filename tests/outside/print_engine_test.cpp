// Laying a table out in pages, measured by a double whose every character is 100 twips wide at
// 8 points (and in proportion at other sizes), and
// the page setup block that travels through "pagesetup.dat".
#include "outside/print_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

class FixedPitchMeasurer : public TextMeasurer {
  public:
    int32_t TextWidth(std::string_view p_sText, const FontSpec& p_font) const override {
        const auto characters = std::count_if(p_sText.begin(), p_sText.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        });
        return static_cast<int32_t>(
            std::ceil(static_cast<double>(characters) * 100 * p_font.Size / 8));
    }
};

PrintTable Table(const std::string& p_sHeader, size_t p_lRows, std::string p_sFirstCell = "") {
    PrintTable table;
    table.Header = p_sHeader;
    table.Columns = {{"Symbol", 1440, PrintAlign::Left, false},
                     {"Price", 1440, PrintAlign::Right, true}};
    for (size_t row = 0; row < p_lRows; ++row) {
        table.Cells.push_back(row == 0 && !p_sFirstCell.empty() ? p_sFirstCell
                                                                : "S" + std::to_string(row));
        table.Cells.push_back(std::to_string(row) + ".00");
    }
    return table;
}

std::vector<std::string> TextsOf(const PrintedPage& p_page) {
    std::vector<std::string> texts;
    for (const PrintText& text : p_page.Texts) {
        texts.push_back(text.Text);
    }
    return texts;
}

bool Contains(const std::vector<std::string>& p_texts, const std::string& p_sText) {
    return std::find(p_texts.begin(), p_texts.end(), p_sText) != p_texts.end();
}

TEST(PrintEngineTest, PagesRepeatHeaderAndCaptionsAndKeepEveryTextOnThePaper) {
    const FixedPitchMeasurer measurer;
    const PageSetup letter;
    const std::string wide(300, 'W');
    struct Case {
        const char* Name;
        PrintTable Table;
        size_t Pages;
        std::string FirstRowText;  // the first cell of the first page, as printed
    };
    const Case cases[] = {
        {"one page", Table("Stock Viewer - Pricing as of 12/04/26", 3), 1, "S0"},
        {"rows beyond one page", Table("Stock Viewer - Pricing as of 12/04/26", 121), 3, "S0"},
        {"no rows", Table("Stock Viewer - Pricing as of 12/04/26", 0), 1, "No rows"},
        {"a value far wider than the page", Table(wide, 1, wide), 1, "WWWWWWWWWWWW"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const PrintJob job = LayOutPages(letter, c.Table, measurer);
        ASSERT_EQ(job.Pages.size(), c.Pages);
        for (size_t p = 0; p < job.Pages.size(); ++p) {
            const std::vector<std::string> texts = TextsOf(job.Pages[p]);
            EXPECT_TRUE(Contains(texts, "Symbol") && Contains(texts, "Price"));
            EXPECT_EQ(texts.back(),
                      "Page " + std::to_string(p + 1) + " of " + std::to_string(c.Pages));
            for (const PrintText& text : job.Pages[p].Texts) {
                EXPECT_GE(text.Left, letter.LeftMargin) << text.Text;
                EXPECT_LE(text.Left + text.Width, letter.PageWidth() - letter.RightMargin);
                EXPECT_LE(measurer.TextWidth(text.Text, {"", text.FontSize, text.Bold}), text.Width)
                    << text.Text;
                EXPECT_LE(text.Top + text.Height, letter.PageHeight() - letter.BottomMargin);
            }
        }
        const PrintedPage& first = job.Pages.front();
        const std::string& firstCell = first.Texts[3].Text;
        EXPECT_EQ(firstCell.substr(0, c.FirstRowText.size()), c.FirstRowText);
        EXPECT_EQ(firstCell.ends_with(kEllipsis),
                  c.Table.Cells.size() == 2 && c.Table.Cells[0] == wide);
        EXPECT_NE(first.Texts[0].Text.find(c.Table.Header.substr(0, 20)), std::string::npos);
    }
}

// The grid's columns are cut to the screen; on paper a figure must print whole, and a table too
// wide for the paper takes the room from its texts.
TEST(PrintEngineTest, FiguresPrintWholeAndATooWideTableCutsItsTextsInstead) {
    PrintTable table;
    table.Columns.push_back({"Company", 1440, PrintAlign::Left, false});
    for (int c = 0; c < 6; ++c) {
        table.Columns.push_back({"Volume", 300, PrintAlign::Right, false});
    }
    const std::string name(300, 'N');
    for (const std::string& first : {std::string("Alant Group"), name}) {
        SCOPED_TRACE(first.size());
        table.Cells = {first};
        table.Cells.resize(7, "1,234,567.89");
        const PrintJob job = LayOutPages(PageSetup(), table, FixedPitchMeasurer());
        const std::vector<PrintText>& texts = job.Pages[0].Texts;
        const auto company = std::find_if(texts.begin(), texts.end(), [](const PrintText& text) {
            return text.Text.starts_with("Alant") || text.Text.starts_with("NNN");
        });
        ASSERT_NE(company, texts.end());
        EXPECT_EQ(company->Text.ends_with(kEllipsis), first == name);
        EXPECT_EQ(company->FontSize,
                  first == name ? PrintStyle().SmallestSize : PrintStyle().BodySize);
        EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                                [](const PrintText& text) { return text.Text == "1,234,567.89"; }),
                  6);
    }
}

TEST(PageSetupBlockTest, ARoundTripKeepsThePageAndAForeignBlockIsRefused) {
    PageSetup a4;
    a4.PaperName = "A4";
    a4.PaperWidth = 11906;
    a4.PaperHeight = 16838;
    a4.Orientation = vbPRORLandscape;
    a4.LeftMargin = 1000;
    const std::vector<uint8_t> block = EncodePageSetup(a4);
    EXPECT_EQ(DecodePageSetup(block), a4);

    std::vector<uint8_t> otherVersion = block;
    otherVersion[4] = 2;
    std::vector<uint8_t> cut(block.begin(), block.end() - 1);
    PageSetup noRoom = a4;
    noRoom.LeftMargin = 20000;
    const std::vector<uint8_t> text{'h', 'e', 'l', 'l', 'o'};
    for (const auto& bad :
         {otherVersion, cut, EncodePageSetup(noRoom), text, std::vector<uint8_t>()}) {
        EXPECT_FALSE(DecodePageSetup(bad).has_value());
    }
}

}  // namespace
}  // namespace qv
