#include "grid/grid.h"

#include "grid/column_width.h"
#include "grid/grid_test_support.h"
#include "outside/automation_error.h"
#include "outside/error_reporter.h"

#include <gtest/gtest.h>

#include <array>

namespace qv {
namespace {

using testing::LayoutEntry;
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
    EXPECT_TRUE(m_control->Visible());
    EXPECT_EQ(m_grid->ReportTitle(), "Stock Viewer Report");
    const GridControlColumns& columns = *m_control->Columns();
    ASSERT_EQ(columns.Count(), 7);
    EXPECT_EQ(columns.Item(std::string_view("IndCode"))->Visible(), false);
    EXPECT_EQ(columns.Item(std::string_view("Cost"))->Visible(), false);
    EXPECT_EQ(columns.IndexOfField("IndName"), -1);
}

TEST_F(GridWrapperTest, AColumnOfAnotherTableClosesTheGapInSequence) {
    Load(StockLayoutEntries());
    const GridColumns& columns = *m_grid->GridColumns();
    EXPECT_EQ(columns.Item(Variant("PrcChange"))->Sequence(), 4);
    EXPECT_EQ(columns.Item(Variant("Cost"))->Sequence(), 7);
    EXPECT_EQ(columns.Item(Variant("IndName"))->Sequence(), 4);
    EXPECT_EQ(m_control->Columns()->Item(std::string_view("PrcChange"))->Order(), 3);
    EXPECT_EQ(m_control->Columns()->Item(std::string_view("Cost"))->Order(), 6);
}

// Moving the grid columns one by one in index order would show D, A, C, B; columns that share a
// Sequence keep their layout order.
TEST_F(GridWrapperTest, ColumnsShowInSequenceOrderWhateverTheirCollectionOrder) {
    const std::pair<std::array<int32_t, 4>, const char*> cases[] = {
        {{3, 4, 2, 1}, "   D  C  A  B\n"}, {{2, 2, 2, 1}, "   D  A  B  C\n"}};
    for (const auto& [sequences, header] : cases) {
        m_control = std::make_shared<GridControl>();
        m_grid->SetGridObject(m_control);
        Load({{2001, csVisible, "Price", "A", 1, sequences[0], "0"},
              {2002, csVisible, "Cost", "B", 1, sequences[1], "0"},
              {2003, csVisible, "PrcChange", "C", 1, sequences[2], "0"},
              {2004, csVisible, "IndCode", "D", 1, sequences[3], "0"}});
        EXPECT_EQ(m_control->RenderText(0, 0), header);
    }
}

TEST_F(GridWrapperTest, InitializeCompleteOnlyHandsOverDataTypeAndStrategy) {
    for (const char* marker :
         {"INITIALIZE COMPLETE", "initialize complete", "Initialize Complete"}) {
        Grid grid;
        auto control = std::make_shared<GridControl>();
        control->SetVisible(false);
        grid.SetGridObject(control);
        grid.Initialize(marker, "Main Grid", 2, "Sector Viewer Report", m_strategy.get(), true,
                        false, 3);
        EXPECT_EQ(grid.ViewerDataType(), 2);
        EXPECT_EQ(grid.ViewerElements(), m_strategy->ViewerElements());
        EXPECT_EQ(grid.ReportTitle(), "");
        EXPECT_EQ(grid.ListScope(), 0);
        EXPECT_EQ(control->Columns()->Count(), 2);
        EXPECT_EQ(control->Splits()->Count(), 1);
        EXPECT_FALSE(control->Visible());
    }
}

TEST_F(GridWrapperTest, ASecondInitializeKeepsTheUsersWidthsAndColumnMoves) {
    Load(StockLayoutEntries());
    m_grid->SetDataSource(m_rows);
    m_control->Columns()->Item(std::string_view("Price"))->SetWidth(1260);
    ASSERT_TRUE(m_control->MoveColumns(4, 4, 2));  // Rec before Price
    const std::string before = Render();
    m_grid->Initialize("StockLayout.grx", "Main Grid", 0, "Stock Viewer Report", m_strategy.get(),
                       true, false, 0);
    EXPECT_EQ(Render(), before);
    EXPECT_NE(before.find("| Rec         Price  %Prc\n"), std::string::npos);
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

TEST_F(GridWrapperTest, WidthsComeFromTheParameterIdOrTheCaption) {
    Load({{35, csAlwaysVisible, "IndName", "Industry", 2, 1, "Left"},
          {2001, csVisible, "PrcChange", "Gain / Share", 2, 2, "0.00"}},
         1);
    const GridControlColumns& columns = *m_control->Columns();
    EXPECT_EQ(columns.Item(std::string_view("IndName"))->Width(), 2500);
    const int32_t fitted = columns.Item(std::string_view("PrcChange"))->Width();
    EXPECT_EQ(fitted, CaptionColumnWidth("Gain / Share", "", 0));
    EXPECT_GT(fitted, 800);
    EXPECT_LT(fitted, 1300);
}

struct FormatCase {
    const char* Format;
    GridAlignment Alignment;
    const char* NumberFormat;
    const char* Row;  // the IBM row, rendered 14 characters wide
};

TEST_F(GridWrapperTest, AlignmentAndNumberFormatFollowTheColumnFormat) {
    const FormatCase cases[] = {
        {" M/D/YY ", gaLeft, "M/D/YY", "> 5/19/00"},  // a date: the capitals M/D
        {"m/d/yy", gaRight, "m/d/yy", ">        5/19/00"},
        {"##0.#0", gaRight, "##0.#0", ">         140.50"},
        {"Left", gaLeft, "", "> 140.5"},
        {"Center", gaCenter, "", ">     140.5"},
    };
    for (const FormatCase& format : cases) {
        SCOPED_TRACE(format.Format);
        m_control = std::make_shared<GridControl>();
        m_grid->SetGridObject(m_control);
        Load({{37, csVisible, "Price", "Price", 1, 1, format.Format}});
        m_grid->SetDataSource(m_rows);
        const auto& column = m_control->Columns()->Item(std::string_view("Price"));
        EXPECT_EQ(column->Alignment(), format.Alignment);
        EXPECT_EQ(column->NumberFormat(), format.NumberFormat);
        const std::string text = Render();
        const size_t row = text.find('\n') + 1;
        EXPECT_EQ(text.substr(row, text.find('\n', row) - row), format.Row);
    }
}

TEST_F(GridWrapperTest, ASingleSplitKeepsDefaultWidthsAndSetsVisibilityOnTheColumn) {
    Load(StockLayoutEntries(), 0, true, true);
    m_grid->SetDataSource(m_rows);
    ASSERT_EQ(m_control->Splits()->Count(), 1);
    const std::shared_ptr<GridSplit>& split = m_control->Splits()->Item(0);
    EXPECT_EQ(split->SizeMode(), gsmScalable);
    EXPECT_EQ(split->ScrollBars(), gsbAutomatic);
    EXPECT_EQ(m_control->Columns()->Item(std::string_view("Price"))->Width(), 1050);
    EXPECT_EQ(Render().substr(0, 53), "  Symbol     Company         Price       %Prc    Rec\n");
}

TEST_F(GridWrapperTest, TheStatesColoursReachEverySplitAndASecondaryGridsOwnStyles) {
    Elements().SetHighlightRowBackColor(RgbColor(0, 80, 128));
    Elements().SetEvenRowBackColor(RgbColor(233, 240, 245));
    Elements().SetHeadBackColor(RgbColor(202, 202, 202));
    Elements().SetSecondaryBackColor(RgbColor(253, 254, 231));
    Load(StockLayoutEntries(), 0, false);
    const GridControlSplits& splits = *m_control->Splits();
    EXPECT_EQ(splits.Item(0)->Size(), 2);
    for (const auto& split : splits.All()) {
        EXPECT_EQ(split->Style(GridStyleKind::HighlightRow)->BackColor(), RgbColor(0, 80, 128));
        EXPECT_EQ(split->Style(GridStyleKind::EvenRow)->BackColor(), RgbColor(233, 240, 245));
        EXPECT_EQ(split->Style(GridStyleKind::Heading)->BackColor(), grid_colors::kLightGrey);
    }
    EXPECT_EQ(m_control->Style(GridStyleKind::Heading)->BackColor(), RgbColor(202, 202, 202));
    EXPECT_EQ(m_control->Style(GridStyleKind::Normal)->BackColor(), RgbColor(253, 254, 231));
}

// Its scrolling split goes, its columns stay: the one pane shows the whole list.
TEST_F(GridWrapperTest, AWatchListsSecondaryGridHasOneSplitWithEveryColumn) {
    Elements().SetWatchListId(4);
    Load(StockLayoutEntries(), 0, false);
    m_grid->SetDataSource(m_rows);
    ASSERT_EQ(m_control->Splits()->Count(), 1);
    std::vector<std::string> shown;
    for (const auto& column : m_control->Splits()->Item(0)->ShownColumns()) {
        shown.push_back(column->Caption());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Symbol", "Company", "Price", "%Prc", "Rec"}));
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

TEST_F(GridWrapperTest, PopulateColumnsKeepsTheColumnsOfTheDataType) {
    m_grid->PopulateColumns(MakeLayout(StockLayoutEntries()), -1);
    EXPECT_EQ(m_grid->GridColumns()->Count(), 8);

    m_grid->PopulateColumns(MakeLayout(StockLayoutEntries()), 1);
    const GridColumns& industry = *m_grid->GridColumns();
    ASSERT_EQ(industry.Count(), 2);
    EXPECT_EQ(industry.Item(Variant(1))->SQLColumn(), "IndName");
    EXPECT_EQ(industry.Item(Variant(2))->SQLColumn(), "IndCode");
}

TEST_F(GridWrapperTest, PopulateColumnsIgnoresALayoutWithoutColumns) {
    m_grid->PopulateColumns(MakeLayout(StockLayoutEntries()), -1);
    const auto columns = m_grid->GridColumns();
    m_grid->PopulateColumns(LayoutDescription{}, -1);
    LayoutDescription noColumns = MakeLayout(StockLayoutEntries());
    noColumns.Columns.clear();
    m_grid->PopulateColumns(noColumns, -1);
    EXPECT_EQ(m_grid->GridColumns(), columns);
    EXPECT_EQ(columns->Count(), 8);
}

}  // namespace
}  // namespace qv
