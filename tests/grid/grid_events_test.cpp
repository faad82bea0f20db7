#include "grid/grid.h"

#include "grid/grid_events.h"
#include "grid/grid_test_support.h"
#include "outside/error_reporter.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {
namespace {

using testing::StockLayoutEntries;

class GridEventsTest : public ::testing::Test, protected testing::GridFixture {
  protected:
    GridEventsTest() {
        Load(StockLayoutEntries());
        m_grid->SetDataSource(m_rows);
        m_grid->AddSink(&m_recorder);
    }

    testing::EventRecorder m_recorder;
};

TEST_F(GridEventsTest, SelectedKeysAreJoinedByCommasAndDeletedWithQuotes) {
    m_control->KeyDown(Grid::kDeleteKey, 0);  // nothing selected, nothing to delete
    EXPECT_TRUE(m_recorder.Events.empty());
    Select({3, 1, 2});
    m_control->KeyDown(45, 0);
    EXPECT_EQ(m_grid->GetSelKeys(), "ACME,IBM,MSFT");
    m_control->KeyDown(Grid::kDeleteKey, 0);
    EXPECT_EQ(m_recorder.Events, std::vector<std::string>{"Delete ACME','IBM','MSFT"});
    EXPECT_EQ(m_control->Row(), 0);  // the selection is read from a clone
}

TEST_F(GridEventsTest, KeysFollowTheDataType) {
    Select({2, 3});
    m_grid->SetViewerDataType(1);
    EXPECT_EQ(m_grid->GetSelKeys(), "320,330");
    m_grid->SetViewerDataType(4);
    EXPECT_EQ(m_grid->GetSelKeys(), "");
    m_control->KeyDown(Grid::kDeleteKey, 0);  // "Symbol" again
    EXPECT_EQ(m_recorder.Events, std::vector<std::string>{"Delete MSFT','ACME"});
}

TEST_F(GridEventsTest, SelectedItemsOfAMissingFieldOrNullValues) {
    Select({1, 3});
    EXPECT_EQ(m_grid->GetSelectedItems("Cost"), "120,");
    EXPECT_EQ(m_grid->GetSelectedItems("Volume"), "");
    m_rows->MoveFirst();
    m_rows->Delete();
    EXPECT_EQ(m_grid->GetSelectedItems("Symbol"), "");
    EXPECT_EQ(m_platform.Reporter().CountReports("Grid: GetSelectedItems"), 1u);
    m_grid->SetDataSource(nullptr);
    EXPECT_EQ(m_grid->GetSelectedItems("Symbol"), "");
}

TEST_F(GridEventsTest, AHandlerMayDestroyTheGrid) {
    Select({1});
    m_recorder.OnDelete = [&] { m_grid.reset(); };
    m_control->KeyDown(Grid::kDeleteKey, 0);
    m_control->KeyDown(Grid::kDeleteKey, 0);  // the control no longer reaches the grid
    EXPECT_EQ(m_recorder.Events.size(), 1u);
}

TEST_F(GridEventsTest, AHeaderClickMarksTheNextDoubleClickOnlyOfTheControlSetLast) {
    m_control->HeaderClick(2);
    EXPECT_TRUE(m_grid->HeaderClicked());
    m_control->DoubleClick();
    EXPECT_FALSE(m_grid->HeaderClicked());
    EXPECT_TRUE(m_recorder.Events.empty()) << "the header's double click raises nothing";
    m_control->DoubleClick();
    EXPECT_EQ(m_recorder.Events.size(), 1u);
    auto other = std::make_shared<GridControl>();
    m_grid->SetGridObject(other);
    m_control->HeaderClick(0);
    EXPECT_FALSE(m_grid->HeaderClicked());
    other->HeaderClick(0);
    EXPECT_TRUE(m_grid->HeaderClicked());
}

TEST_F(GridEventsTest, LeftColumnIsSavedRestoredAndReset) {
    const std::shared_ptr<GridSplit>& scrolling = m_control->Splits()->Item(1);
    scrolling->SetLeftCol(3);
    m_grid->RestoreLeftColumnPosition();
    EXPECT_EQ(scrolling->LeftCol(), 3);  // nothing saved yet: the scroll position stays
    m_grid->SaveLeftColumnPosition();
    scrolling->SetLeftCol(4);
    m_grid->RestoreLeftColumnPosition();
    EXPECT_EQ(scrolling->LeftCol(), 3);
    m_grid->ResetLeftColumn();
    EXPECT_EQ(scrolling->LeftCol(), 0);
}

TEST_F(GridEventsTest, GridSortIsTheBoundRowsSort) {
    m_grid->SetGridSort("Price DESC");
    EXPECT_EQ(Render().substr(47, 7), "\n> ACME");
    m_grid->SetGridSort("Nonsense ASC");
    EXPECT_EQ(m_grid->GridSort(), "Price DESC");
    m_grid->SetDataSource(nullptr);
    m_grid->SetGridSort("Price ASC");
    EXPECT_EQ(m_grid->GridSort(), "");
    EXPECT_EQ(m_platform.Reporter().CountReports("Grid: GridSort"), 1u);
}

TEST_F(GridEventsTest, FieldsTheRowsLackShowEmptyAndAreReported) {
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Symbol", adVarChar, 10);
    rows->Fields().Append("Price", adDouble);
    rows->Open();
    rows->AddNew({"IBM", 140.5});
    m_grid->SetDataSource(rows);
    EXPECT_EQ(m_platform.Reporter().CountReports("Grid: DataSource"), 5u);
    EXPECT_EQ(Render().substr(47), "\n> IBM                      |   140.50  {%Prc: green}\n");
}

TEST(GridWithoutControlTest, ReadsNothingAndSetsNothing) {
    Grid grid;
    grid.SetVisible(true);
    EXPECT_FALSE(grid.Visible());
    EXPECT_EQ(grid.GetSelKeys(), "");
    EXPECT_EQ(grid.GridColumns()->Count(), 0);
    grid.SaveLeftColumnPosition();
    grid.RestoreLeftColumnPosition();
    grid.ResetLeftColumn();
}

}  // namespace
}  // namespace qv
