#include "grid/column_utilities_grid.h"

#include "grid/grid_test_support.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using testing::StockLayoutEntries;

class GridSyncTest : public ::testing::Test, protected testing::GridFixture {
  protected:
    GridSyncTest() {
        Load(StockLayoutEntries());
        m_grid->SetDataSource(m_rows);
    }

    GridColumn& Column(const char* p_sField) {
        return *m_grid->GridColumns()->Item(Variant(p_sField));
    }
};

TEST_F(GridSyncTest, GridColumnIndexIsFoundByField) {
    EXPECT_EQ(ColumnUtilities::GetGridColumnIndex("price", *m_grid), 2);
    EXPECT_EQ(ColumnUtilities::GetGridColumnIndex("Volume", *m_grid), -1);
    EXPECT_EQ(ColumnUtilities::GetGridColumnIndex("Symbol", Grid()), -1);
}

TEST_F(GridSyncTest, SynchronizingPutsTheVisibleColumnsBackInTheirSplitsAndOrder) {
    // What a strategy does after the user moved Rec before Price.
    ASSERT_TRUE(m_control->MoveColumns(4, 4, 2));
    m_grid->GridColumns()->Move(4, 4, 2);
    ColumnUtilities::HideGridColumns(*m_grid);
    for (const char* field : {"Symbol", "CompanyName", "Price", "IndName", "PrcChange", "Rec"}) {
        ColumnUtilities::SyncGridColumn(Column(field), *m_grid, Column(field).SplitNumber(), -1);
    }
    // The industry column (mask 2) stays out of the stock grid.
    EXPECT_EQ(Render().substr(0, 49), "  Symbol          Company  | Rec     Price  %Prc\n");
    EXPECT_EQ(Column("Rec").TrueGridColumnNumber(), 4);
}

// A position beyond the columns means the last; a hidden column is hidden in every split; a split
// the grid lacks means its last split.
TEST_F(GridSyncTest, APositionOrSplitBeyondTheGridsMeansItsLastAndHiddenMeansEverySplit) {
    const auto control = [&](const char* p_sField) {
        return m_control->Columns()->Item(std::string_view(p_sField));
    };
    ColumnUtilities::SyncGridColumn(Column("Symbol"), *m_grid, 1, 40);
    EXPECT_EQ(control("Symbol")->Order(), 6);
    ColumnUtilities::SyncGridColumn(Column("Symbol"), *m_grid, 0, 1);
    EXPECT_EQ(control("Symbol")->Order(), 0);
    Column("Rec").SetGridColumn_State_Setting(csHidden);
    ColumnUtilities::SyncGridColumn(Column("Rec"), *m_grid, 1, -1);
    EXPECT_FALSE(control("Rec")->Visible());
    m_control->Splits()->Remove(1);
    ColumnUtilities::SyncGridColumn(Column("Price"), *m_grid, 1, -1);
    EXPECT_TRUE(control("Price")->SplitVisible(0));
}

TEST_F(GridSyncTest, AFieldWithoutGridColumnIsAppended) {
    auto& added = *m_grid->GridColumns()->Add("VolDelta", csVisible, "Vol Delta", 0, 3, 1, 0, "");
    ColumnUtilities::SyncGridColumn(added, *m_grid, 1, -1);
    EXPECT_EQ(added.TrueGridColumnNumber(), 7);
    EXPECT_EQ(m_control->Columns()->Item(7)->NumberFormat(), "Percent");
    EXPECT_EQ(Render().substr(0, 37), "  Symbol          Company  | Vol Del~");
}

TEST_F(GridSyncTest, OnlyADeltaFieldWithoutParameterIdIsAPercentage) {
    auto& withId = *m_grid->GridColumns()->Add("PriceDelta", csVisible, "Delta", 2001, 9, 1, 0, "");
    ColumnUtilities::AddGridColumn(withId, *m_grid, 1);
    auto& lower = *m_grid->GridColumns()->Add("pricedelta2", csVisible, "delta", 0, 9, 1, 0, "");
    ColumnUtilities::AddGridColumn(lower, *m_grid, 1);
    EXPECT_EQ(m_control->Columns()->Item(7)->NumberFormat(), "#,##0.#0");
    EXPECT_EQ(m_control->Columns()->Item(8)->NumberFormat(), "#,##0.#0");
}

}  // namespace
}  // namespace qv
