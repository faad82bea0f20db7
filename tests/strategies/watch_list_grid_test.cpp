// A watch list shows its secondary list in one pane: whatever splits its columns were given, the
// one pane must still show every shown column of the list, not only the key column.
#include "strategies/stock_viewer.h"

#include "control/grid_type.h"
#include "control/viewer_elements.h"
#include "grid/grid_column.h"
#include "grid/grid_columns.h"
#include "grid/grid_utilities.h"
#include "outside/grid_split.h"
#include "strategy_test_support.h"

#include <algorithm>

namespace qv::testing {
namespace {

// The captions of the shown columns of the secondary collection that apply to its grid, by
// Sequence.
std::vector<std::string> ListedCaptions(Grid& p_oGrid) {
    std::vector<const GridColumn*> columns;
    for (const auto& column : *p_oGrid.GridColumns()) {
        const ColumnState state = column->GridColumn_State_Setting();
        if ((state == csVisible || state == csAlwaysVisible) &&
            GridUtilities::IsBitSet(p_oGrid.ViewerDataType(), column->TableMask())) {
            columns.push_back(column.get());
        }
    }
    std::stable_sort(columns.begin(), columns.end(),
                     [](const GridColumn* p_left, const GridColumn* p_right) {
                         return p_left->Sequence() < p_right->Sequence();
                     });
    std::vector<std::string> captions;
    for (const GridColumn* column : columns) {
        captions.push_back(column->Caption());
    }
    return captions;
}

std::vector<std::string> ShownCaptions(const GridControl& p_oControl) {
    std::vector<std::string> captions;
    for (const auto& column : p_oControl.Splits()->Item(0)->ShownColumns()) {
        captions.push_back(column->Caption());
    }
    return captions;
}

class WatchListGridTest : public StrategyTest {
  protected:
    WatchListGridTest() {
        m_oElements->SetViewerType(vt_Stocks);
        m_oElements->SetStartDate(LastDay());
        m_oElements->SetWatchListId(4);
    }

    std::shared_ptr<StockViewer> m_oStrategy = std::make_shared<StockViewer>();
    std::shared_ptr<ViewerElements> m_oElements = m_oStrategy->ViewerElements();
};

TEST_F(WatchListGridTest, TheOnePaneShowsEveryColumnOfTheSecondaryList) {
    struct Case {
        const char* Name;
        int32_t SectorCode;
    };
    for (const Case& test : {Case{"industry grid", 0}, Case{"sector grid", 3}}) {
        m_oElements->SetSectorCode(test.SectorCode);
        m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
        ASSERT_EQ(m_oSecControl->Splits()->Count(), 1) << test.Name;
        const std::vector<std::string> listed = ListedCaptions(m_oSecGrid);
        ASSERT_GT(listed.size(), 1u) << test.Name;
        EXPECT_EQ(ShownCaptions(*m_oSecControl), listed) << test.Name;

        m_oStrategy->SynchronizeColumns(m_oPriGrid, m_oSecGrid, false);
        EXPECT_EQ(ShownCaptions(*m_oSecControl), listed) << test.Name << ", synchronized";
    }
    EXPECT_EQ(Reports("StockViewer:Initialize"), 0u);
}

}  // namespace
}  // namespace qv::testing
