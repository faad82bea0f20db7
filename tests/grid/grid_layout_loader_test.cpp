#include "grid/grid_utilities.h"

#include "grid/grid_test_support.h"
#include "outside/automation_error.h"
#include "outside/error_reporter.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qv {
namespace {

using testing::MakeLayout;
using testing::StockLayoutEntries;

TEST(IsBitSetTest, TestsOneBitOfTheMask) {
    // {bit, mask, set}
    const std::tuple<int32_t, int32_t, bool> cases[] = {
        {0, 1, true},  {1, 1, false},   {2, 6, true},   {30, 1 << 30, true},
        {0, -1, true}, {31, -1, false}, {-1, 1, false}, {32, 1, false}};
    for (const auto& [bit, mask, set] : cases) {
        EXPECT_EQ(GridUtilities::IsBitSet(bit, mask), set) << "bit " << bit << " of " << mask;
    }
}

TEST(LayoutFieldsMissingTest, LooksOnlyAtTheColumnsOfTheDataType) {
    const LayoutDescription layout = MakeLayout(StockLayoutEntries());
    const auto rows = testing::StockRows();
    EXPECT_FALSE(GridUtilities::LayoutFieldsMissing(rows, layout, 1));
    auto entries = StockLayoutEntries();
    entries.push_back({1395, csVisible, "Volume", "Volume", 2, 9, "#,##0"});
    EXPECT_FALSE(GridUtilities::LayoutFieldsMissing(rows, MakeLayout(entries), 0));
    EXPECT_TRUE(GridUtilities::LayoutFieldsMissing(rows, MakeLayout(entries), 1));
    EXPECT_TRUE(GridUtilities::LayoutFieldsMissing(nullptr, layout, 0));
    EXPECT_FALSE(GridUtilities::LayoutFieldsMissing(nullptr, MakeLayout({}), 0));
}

class LayoutLoaderTest : public ::testing::Test, protected testing::GridFixture {};

TEST_F(LayoutLoaderTest, ALayoutIsLoadedWhenTheControlShowsExactlyItsColumns) {
    EXPECT_FALSE(GridUtilities::IsLayoutLoaded(*m_control, Elements(), true, 0));
    Load(StockLayoutEntries());
    EXPECT_TRUE(GridUtilities::IsLayoutLoaded(*m_control, Elements(), true, 0));
    // The industry grid would show IndName, which the control lacks, and not Symbol.
    EXPECT_FALSE(GridUtilities::IsLayoutLoaded(*m_control, Elements(), true, 1));
    EXPECT_FALSE(GridUtilities::IsLayoutLoaded(*m_control, Elements(), false, 0));

    m_control->Columns()->Add(7)->SetDataField("Volume");
    EXPECT_FALSE(GridUtilities::IsLayoutLoaded(*m_control, Elements(), true, 0));
    m_control->Columns()->Remove(7);
    m_control->Columns()->Remove(6);  // one column short
    EXPECT_FALSE(GridUtilities::IsLayoutLoaded(*m_control, Elements(), true, 0));
    // A control with two columns is the empty one: never loaded, even when they match.
    Load({{4, csAlwaysVisible, "Symbol", "Symbol", 1, 1, "Left"},
          {13, csVisible, "Price", "Price", 1, 2, "0.00"}});
    EXPECT_FALSE(GridUtilities::IsLayoutLoaded(*m_control, Elements(), true, 0));
}

TEST_F(LayoutLoaderTest, AViewHearsOfTheLoadedColumnsOnceNotOncePerProperty) {
    struct ColumnCount : GridControlObserver {
        void ColumnsChanged() override { ++Count; }
        int Count = 0;
    } view;
    m_control->AddObserver(&view);
    Load(StockLayoutEntries());
    EXPECT_EQ(view.Count, 1);
}

TEST_F(LayoutLoaderTest, TheSecondaryGridLoadsTheSecondaryColumns) {
    Elements().SetGridColumns(gtPrimary, std::make_shared<GridColumns>());
    Load(StockLayoutEntries(), 1, false);
    m_grid->SetDataSource(m_rows);
    EXPECT_EQ(Render(), "  Industry\n> Computers\n  Software\n  Tools\n");
    EXPECT_FALSE(m_control->Columns()->Item(std::string_view("IndCode"))->Visible());
}

TEST_F(LayoutLoaderTest, ClearGridDataEmptiesBothControls) {
    Load(StockLayoutEntries());
    m_grid->SetDataSource(m_rows);
    Grid secondary;
    GridUtilities::ClearGridData(*m_grid, secondary);
    EXPECT_EQ(m_control->DataSource(), nullptr);
    EXPECT_EQ(Render(), "  Symbol          Company  |    Price  %Prc Rec\n");
}

}  // namespace
}  // namespace qv
