// A watch list shows its secondary list in one pane: whatever splits its columns were given, the
// one pane must still show every shown column of the list, not only the key column.
#include "strategies/stock_viewer.h"

#include "columns/grid_columns.h"
#include "state/grid_type.h"
#include "state/viewer_elements.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

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
        const std::vector<std::string> listed =
            CaptionsBySequence(*m_oSecGrid.GridColumns(), m_oSecGrid.ViewerDataType());
        ASSERT_GT(listed.size(), 1u) << test.Name;
        EXPECT_EQ(ShownCaptions(*m_oSecControl, 0), listed) << test.Name;

        m_oStrategy->SynchronizeColumns(m_oPriGrid, m_oSecGrid, false);
        EXPECT_EQ(ShownCaptions(*m_oSecControl, 0), listed) << test.Name << ", synchronized";
    }
    EXPECT_EQ(Reports("StockViewer:Initialize"), 0u);
}

}  // namespace
}  // namespace qv::testing
