// After the user drags columns, SynchronizeColumns must leave the grid showing the columns in the
// order of their Sequence, key columns in the frozen split: the order a fresh layout load gives.
#include "strategies/stock_viewer.h"

#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "state/grid_type.h"
#include "state/viewer_elements.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

class ColumnSyncTest : public StrategyTest {
  protected:
    ColumnSyncTest() {
        m_oElements->SetViewerType(vt_Stocks);
        m_oElements->SetStartDate(LastDay());
        m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    }

    std::shared_ptr<StockViewer> m_oStrategy = std::make_shared<StockViewer>();
    std::shared_ptr<ViewerElements> m_oElements = m_oStrategy->ViewerElements();
};

struct MoveCase {
    int32_t StartCol;
    int32_t EndCol;
    int32_t NewPosition;
};

TEST_F(ColumnSyncTest, AfterAMoveTheGridShowsTheColumnsInSequenceOrder) {
    const GridColumns& columns = *m_oElements->GridColumns(gtPrimary);
    ASSERT_GT(columns.Count(), 8);
    const MoveCase cases[] = {
        {4, 4, 2},    // one column left, onto the first scrolling column
        {2, 3, 7},    // a block right
        {5, 5, 100},  // to the end
        {7, 8, 3},    // a block left past the column just moved
        {3, 3, 0},    // onto the first key column
    };
    for (const MoveCase& move : cases) {
        m_oElements->GridColumns(gtPrimary)->Move(move.StartCol, move.EndCol, move.NewPosition);
        m_oStrategy->SynchronizeColumns(m_oPriGrid, m_oSecGrid, false);

        const std::string where =
            "move " + std::to_string(move.StartCol) + " to " + std::to_string(move.NewPosition);
        // The rendered header is drawn from these same shown columns.
        EXPECT_EQ(ShownCaptions(*m_oPriControl, 0), CaptionsBySequence(columns, 0, 0)) << where;
        EXPECT_EQ(ShownCaptions(*m_oPriControl, 1), CaptionsBySequence(columns, 0, 1)) << where;
    }
    EXPECT_EQ(Reports("StockViewer_SynchronizeColumns"), 0u);
}

// Field customization can renumber every column at once; here the scrolling columns are
// reversed, which applying positions in collection order does not survive.
TEST_F(ColumnSyncTest, AfterCustomizationTheGridShowsTheNewSequence) {
    const GridColumns& columns = *m_oElements->GridColumns(gtPrimary);
    std::vector<GridColumn*> scrolling;
    for (const auto& column : columns) {
        if (column->SplitNumber() == 1) {
            scrolling.push_back(column.get());
        }
    }
    ASSERT_GT(scrolling.size(), 4u);
    std::vector<int32_t> sequences;
    for (const GridColumn* column : scrolling) {
        sequences.push_back(column->Sequence());
    }
    for (size_t i = 0; i < scrolling.size(); ++i) {
        scrolling[i]->SetSequence(sequences[sequences.size() - 1 - i]);
    }
    m_oStrategy->SynchronizeColumns(m_oPriGrid, m_oSecGrid, true);
    EXPECT_EQ(ShownCaptions(*m_oPriControl, 0), CaptionsBySequence(columns, 0, 0));
    EXPECT_EQ(ShownCaptions(*m_oPriControl, 1), CaptionsBySequence(columns, 0, 1));
}

}  // namespace
}  // namespace qv::testing
