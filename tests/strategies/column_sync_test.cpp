// After the user drags columns, SynchronizeColumns must leave the grid showing the columns in the
// order of their Sequence, key columns in the frozen split: the order a fresh layout load gives.
#include "strategies/stock_viewer.h"

#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "state/grid_type.h"
#include "state/viewer_elements.h"
#include "strategy_test_support.h"

#include <sstream>

namespace qv::testing {
namespace {

// Whether the header line shows the captions (or the start of each, where a cell cuts it) left
// to right in this order.
bool HeaderShowsInOrder(const std::string& p_sHeader, const std::vector<std::string>& p_captions) {
    size_t from = 0;
    for (const std::string& caption : p_captions) {
        const size_t found = p_sHeader.find(caption.substr(0, 3), from);
        if (found == std::string::npos) {
            return false;
        }
        from = found + 1;
    }
    return true;
}

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

        const std::string where = "move " + std::to_string(move.StartCol) + ".." +
                                  std::to_string(move.EndCol) + " to " +
                                  std::to_string(move.NewPosition);
        const std::vector<std::string> frozen = CaptionsBySequence(columns, 0, 0);
        const std::vector<std::string> scrolling = CaptionsBySequence(columns, 0, 1);
        EXPECT_EQ(ShownCaptions(*m_oPriControl, 0), frozen) << where;
        EXPECT_EQ(ShownCaptions(*m_oPriControl, 1), scrolling) << where;

        std::istringstream rendered(m_oPriControl->RenderText(0, 0));
        std::string header;
        std::getline(rendered, header);
        const size_t bar = header.find(" | ");
        ASSERT_NE(bar, std::string::npos) << header;
        EXPECT_TRUE(HeaderShowsInOrder(header.substr(0, bar), frozen)) << where << "\n" << header;
        EXPECT_TRUE(HeaderShowsInOrder(header.substr(bar), scrolling)) << where << "\n" << header;
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
