#include "grid/grid.h"

#include "grid/column_width.h"
#include "grid/grid_test_support.h"
#include "outside/automation_error.h"
#include "outside/error_reporter.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

namespace qv {
namespace {

using testing::MakeLayout;
using testing::StockLayoutEntries;

class GridWrapperTest : public ::testing::Test, protected testing::GridFixture {};

TEST_F(GridWrapperTest, LoadsKeyColumnsFrozenAndTheApplicableColumnsScrolling) {
    Load(StockLayoutEntries());
    m_grid->SetDataSource(m_rows);
    // Symbol 1620 and Company 875 twips by their ids, Price 855, %Prc and Rec fitted to their
    // captions; the industry-only column, the system and the hidden column are not shown.
    EXPECT_EQ(
        Render(),
        "  Symbol          Company  |    Price  %Prc Rec\n"
        "> IBM             Intl Bu~ |   140.50 -1.20  B  {%Prc: red; Rec: white on green}\n"
        "  MSFT            Microso~ |   310.00  2.10  H  {%Prc: green; Rec: black on yellow}\n"
        "  ACME            Acme     | 1,234.57  0.00  S  {%Prc: black; Rec: white on red}\n");
    EXPECT_EQ(m_control->Columns()->IndexOfField("IndName"), -1);
    // The industry-only column closes its gap in the sequence.
    EXPECT_EQ(m_grid->GridColumns()->Item(Variant("PrcChange"))->Sequence(), 4);
    EXPECT_EQ(m_control->Columns()->Item(std::string_view("Cost"))->Order(), 6);
}

// Moving the grid columns one by one in index order would show D, A, C, B; columns that share a
// Sequence keep their layout order.
TEST_F(GridWrapperTest, ColumnsShowInSequenceOrderWhateverTheirCollectionOrder) {
    const std::pair<std::array<int32_t, 4>, const char*> cases[] = {
        {{3, 4, 2, 1}, "   D  C  A  B\n"}, {{2, 2, 2, 1}, "   D  A  B  C\n"}};
    for (const auto& [sequences, header] : cases) {
        m_grid->SetGridObject(m_control = std::make_shared<GridControl>());
        Load({{2001, csVisible, "Price", "A", 1, sequences[0], "0"},
              {2002, csVisible, "Cost", "B", 1, sequences[1], "0"},
              {2003, csVisible, "PrcChange", "C", 1, sequences[2], "0"},
              {2004, csVisible, "IndCode", "D", 1, sequences[3], "0"}});
        EXPECT_EQ(m_control->RenderText(0, 0), header);
    }
}

TEST_F(GridWrapperTest, InitializeCompleteOnlyHandsOverDataTypeAndStrategy) {
    m_grid->Initialize("Initialize Complete", "Main Grid", 2, "Sector Viewer Report",
                       m_strategy.get(), true, false, 3);
    EXPECT_EQ(m_grid->ViewerDataType(), 2);
    EXPECT_EQ(m_grid->ViewerElements(), m_strategy->ViewerElements());
    EXPECT_EQ(m_grid->ReportTitle(), "");
    EXPECT_EQ(m_control->Columns()->Count(), 2);
}

TEST_F(GridWrapperTest, ASecondInitializeKeepsTheUsersWidthsAndColumnMoves) {
    Load(StockLayoutEntries());
    m_control->Columns()->Item(std::string_view("Price"))->SetWidth(1260);
    ASSERT_TRUE(m_control->MoveColumns(4, 4, 2));  // Rec before Price
    m_grid->Initialize("StockLayout.grx", "Main Grid", 0, "Stock Viewer Report", m_strategy.get(),
                       true, false, 0);
    EXPECT_EQ(m_control->RenderText(0, 0),
              "  Symbol          Company  | Rec         Price  %Prc\n");
}

TEST_F(GridWrapperTest, AChangedLayoutIsRebuilt) {
    Load(StockLayoutEntries());
    m_control->Columns()->Item(std::string_view("Price"))->SetWidth(1260);
    auto entries = StockLayoutEntries();
    entries.push_back({1395, csVisible, "Volume", "Volume", 1, 9, "#,##0"});
    Load(entries);
    EXPECT_EQ(m_control->Columns()->Item(std::string_view("Price"))->Width(), 855);
    EXPECT_EQ(m_control->Columns()->Item(std::string_view("Volume"))->Width(), 1050);
}

// A column without a width of its own is as wide as its caption in bold plus a margin, in the
// form's font unless a name and size are given, and never wider than sixteen bits hold.
TEST_F(GridWrapperTest, WidthsComeFromTheParameterIdOrTheCaption) {
    Load({{35, csAlwaysVisible, "IndName", "Industry", 2, 1, "Left"},
          {2001, csVisible, "PrcChange", "Gain / Share", 2, 2, "0.00"}},
         1);
    EXPECT_EQ(m_control->Columns()->Item(std::string_view("IndName"))->Width(), 2500);
    const int16_t own = CaptionColumnWidth("Gain / Share", "", 0);
    EXPECT_EQ(m_control->Columns()->Item(std::string_view("PrcChange"))->Width(), own);
    // "Price" in bold at 8.25 points: 2446 thousandths of an em, 403.6 twips.
    EXPECT_EQ(CaptionColumnWidth("Price", "", 0), 404 + 100);
    EXPECT_EQ(CaptionColumnWidth("", "Arial", 9), 100);
    EXPECT_EQ(CaptionColumnWidth("Gain / Share", "MS Sans Serif", 8.25), own);
    EXPECT_EQ(CaptionColumnWidth("Gain / Share", "Arial", 0), own);
    EXPECT_GT(CaptionColumnWidth("Gain / Share", "", 12), own);
    EXPECT_EQ(CaptionColumnWidth(std::string(5000, 'W'), "", 0), 32767);
}

TEST_F(GridWrapperTest, AlignmentAndNumberFormatFollowTheColumnFormat) {
    // The format and the IBM row rendered 14 wide: a date's capitals M/D align left.
    const std::pair<const char*, const char*> cases[] = {{" M/D/YY ", "> 5/19/00"},
                                                         {"m/d/yy", ">        5/19/00"},
                                                         {"##0.#0", ">         140.50"},
                                                         {"Left", "> 140.5"},
                                                         {"Center", ">     140.5"}};
    for (const auto& [format, row] : cases) {
        SCOPED_TRACE(format);
        m_grid->SetGridObject(m_control = std::make_shared<GridControl>());
        Load({{37, csVisible, "Price", "Price", 1, 1, format}});
        m_grid->SetDataSource(m_rows);
        EXPECT_EQ(m_control->RenderText(0, 1).substr(m_control->RenderText(0, 0).size()),
                  std::string(row) + "\n");
    }
}

TEST_F(GridWrapperTest, ASingleSplitKeepsDefaultWidthsAndSetsVisibilityOnTheColumn) {
    Load(StockLayoutEntries(), 0, true, true);
    ASSERT_EQ(m_control->Splits()->Count(), 1);
    EXPECT_EQ(m_control->Splits()->Item(0)->SizeMode(), gsmScalable);
    EXPECT_EQ(m_control->RenderText(0, 0),
              "  Symbol     Company         Price       %Prc    Rec\n");
}

TEST_F(GridWrapperTest, TheStatesColoursReachEverySplitAndASecondaryGridsOwnStyles) {
    Elements().SetHighlightRowBackColor(RgbColor(0, 80, 128));
    Elements().SetHeadBackColor(RgbColor(202, 202, 202));
    Elements().SetSecondaryBackColor(RgbColor(253, 254, 231));
    Load(StockLayoutEntries(), 0, false);
    for (const auto& split : m_control->Splits()->All()) {
        EXPECT_EQ(split->Style(GridStyleKind::HighlightRow)->BackColor(), RgbColor(0, 80, 128));
        EXPECT_EQ(split->Style(GridStyleKind::Heading)->BackColor(), grid_colors::kLightGrey);
    }
    EXPECT_EQ(m_control->Style(GridStyleKind::Heading)->BackColor(), RgbColor(202, 202, 202));
    EXPECT_EQ(m_control->Style(GridStyleKind::Normal)->BackColor(), RgbColor(253, 254, 231));
}

// Its scrolling split goes, its columns stay: the one pane shows the whole list.
TEST_F(GridWrapperTest, AWatchListsSecondaryGridHasOneSplitWithEveryColumn) {
    Elements().SetWatchListId(4);
    Load(StockLayoutEntries(), 0, false);
    EXPECT_EQ(m_control->Splits()->Count(), 1);
    EXPECT_EQ(m_control->Splits()->Item(0)->ShownColumns().size(), 5u);
}

TEST_F(GridWrapperTest, FailuresAreReportedAndLeaveTheGridAsFarAsItGot) {
    Grid detached;
    detached.Initialize("", "Main Grid", 0, "Stock Viewer Report", m_strategy.get(), true, false,
                        0);
    EXPECT_EQ(m_platform.Reporter().CountReports("Grid:Initialize"), 1u);
    m_grid->Initialize("", "Main Grid", 0, "Stock Viewer Report", nullptr, true, false, 0);
    EXPECT_EQ(m_platform.Reporter().CountReports("LoadLayout 3"), 1u);
    EXPECT_EQ(m_platform.Reporter().CountReports("Grid:Initialize"), 2u);
    EXPECT_FALSE(m_control->Visible());
}

TEST_F(GridWrapperTest,
       PopulateColumnsKeepsTheColumnsOfTheDataTypeAndIgnoresALayoutWithoutColumns) {
    m_grid->PopulateColumns(MakeLayout(StockLayoutEntries()), 1);
    ASSERT_EQ(m_grid->GridColumns()->Count(), 2);
    EXPECT_EQ(m_grid->GridColumns()->Item(Variant(1))->SQLColumn(), "IndName");
    const auto columns = m_grid->GridColumns();
    m_grid->PopulateColumns(LayoutDescription{}, -1);
    EXPECT_EQ(m_grid->GridColumns(), columns);
}

}  // namespace
}  // namespace qv
