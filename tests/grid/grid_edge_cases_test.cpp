// Edge cases of the column model, the layout utilities and the grid wrapper that the other
// suites leave open.
#include "columns/field_catalogue_fixture.h"
#include "columns/layout_utilities.h"
#include "grid/cell_formatting.h"
#include "grid/grid_test_support.h"
#include "outside/grid_split.h"
#include "outside/grid_style.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qv {
namespace {

using testing::LayoutEntry;

enum class Styled { None, Recommendation, Performance, Signed };

// What ApplyColumnStyles gave a column, told apart by what each rule sets.
Styled StylesOf(const GridControlColumn& p_oColumn) {
    if (p_oColumn.ForeColor() == grid_colors::kGreen) {
        return Styled::Performance;
    }
    switch (p_oColumn.RegexCellStyleCount()) {
        case 0:
            return Styled::None;
        case 1:
            return Styled::Signed;
        default:
            return Styled::Recommendation;
    }
}

// Every caption of the rules, the shortest and the longest among them, in any letter case, and
// captions that only come close.
TEST(GridEdgeCasesTest, EveryCaptionOfTheColourRulesIsFound) {
    const std::pair<const char*, Styled> cases[] = {
        {"EY", Styled::Signed},
        {"ey", Styled::Signed},
        {"Rec", Styled::Recommendation},
        {"ROI", Styled::Performance},
        {"GRT", Styled::Signed},
        {"EPS", Styled::Signed},
        {"p/e", Styled::Signed},
        {"GPE", Styled::Signed},
        {"SPS", Styled::Signed},
        {"%Prc", Styled::Performance},
        {"Gain", Styled::Performance},
        {"%Vol", Styled::Signed},
        {"$ Change", Styled::Performance},
        {"Sales($M)", Styled::Signed},
        {"Sales ($M)", Styled::Signed},
        {"Gain / Share", Styled::Performance},
        {"Realized Gain", Styled::Performance},
        {"", Styled::None},
        {"E", Styled::None},
        {"Gains", Styled::None},
        {"Realized Gains", Styled::None},
        {" Rec", Styled::None},
        {"Field 12", Styled::None},
    };
    for (const auto& [caption, expected] : cases) {
        GridControlColumn column;
        column.SetCaption(caption);
        GridUtilities::ApplyColumnStyles(column);
        EXPECT_EQ(StylesOf(column), expected) << '"' << caption << '"';
    }
}

// Chosen fields are appended as chosen; only the trailing system columns are checked.
TEST(GridEdgeCasesTest, AFieldChosenTwiceIsListedTwice) {
    ScopedTestPlatform platform;
    LayoutDescription description;
    VariantArray chosen = VariantArray::Table(2, 2);
    chosen.At(0, 0) = 13;
    chosen.At(1, 0) = 13;
    LayoutUtilities::BuildLayoutColumns(description, testing::MakeCatalogue(), chosen, vt_Sectors,
                                        0);
    const auto prices =
        std::count_if(description.Columns.begin(), description.Columns.end(),
                      [](const LayoutColumn& p_column) { return p_column.ParameterId == 13; });
    EXPECT_EQ(prices, 2);
}

class GridEdgeCasesFixtureTest : public ::testing::Test, protected testing::GridFixture {};

TEST_F(GridEdgeCasesFixtureTest, RestoringBeforeAnySaveLeavesTheScrollPosition) {
    Load(testing::StockLayoutEntries());
    const std::shared_ptr<GridSplit>& scrolling = m_control->Splits()->Item(1);
    scrolling->SetLeftCol(3);
    m_grid->RestoreLeftColumnPosition();
    EXPECT_EQ(scrolling->LeftCol(), 3);
}

// Its scrolling split goes, its columns stay: the pane shows the whole list.
TEST_F(GridEdgeCasesFixtureTest, AWatchListsSecondaryGridKeepsItsScrollingColumns) {
    Elements().SetWatchListId(4);
    Load(testing::StockLayoutEntries(), 0, false);
    m_grid->SetDataSource(m_rows);
    ASSERT_EQ(m_control->Splits()->Count(), 1);
    std::vector<std::string> shown;
    for (const auto& column : m_control->Splits()->Item(0)->ShownColumns()) {
        shown.push_back(column->Caption());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Symbol", "Company", "Price", "%Prc", "Rec"}));
}

// Columns that share a Sequence keep their layout order, whichever comes first in the grid.
TEST_F(GridEdgeCasesFixtureTest, ColumnsSharingASequenceKeepTheirLayoutOrder) {
    Load({{2001, csVisible, "Price", "A", 1, 2, "0"},
          {2002, csVisible, "Cost", "B", 1, 2, "0"},
          {2003, csVisible, "PrcChange", "C", 1, 2, "0"},
          {2004, csVisible, "IndCode", "D", 1, 1, "0"}});
    EXPECT_EQ(m_control->RenderText(0, 0), "   D  A  B  C\n");
}

}  // namespace
}  // namespace qv
