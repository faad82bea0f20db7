#include "strategies/stock_viewer.h"

#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

namespace sv = facade_protocol::stock_viewer;

class StockViewerTest : public StrategyTest {
  protected:
    StockViewerTest() {
        m_oElements->SetViewerType(vt_Stocks);
        m_oElements->SetStartDate(LastDay());
    }

    std::shared_ptr<StockViewer> m_oStrategy = std::make_shared<StockViewer>();
    std::shared_ptr<ViewerElements> m_oElements = m_oStrategy->ViewerElements();
};

TEST_F(StockViewerTest, InitializeFillsBothGridsInTheFacadesArgumentOrder) {
    const int32_t owner = NewOwner();
    m_oElements->SetOwnerId(owner);
    m_oElements->SetIndCode(5);
    m_oElements->SetSectorCode(7);
    m_oElements->SetTimeCode("");
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);

    const std::vector<Variant> args = ArgumentsOf("StockViewer");
    ASSERT_EQ(args.size(), 20u);
    EXPECT_EQ(args[sv::kOwnerId.Position].ToLong(), owner);
    EXPECT_EQ(args[sv::kIndCode.Position].ToLong(), 5);
    EXPECT_EQ(args[sv::kSectorCode.Position].ToLong(), 7);
    EXPECT_EQ(args[sv::kListScope.Position], Variant(int16_t{1}));
    EXPECT_TRUE(args[sv::kSecondaryColumns.Position].IsEmpty());
    EXPECT_EQ(Reports("StockViewer:Initialize"), 0u);
    // With a sector chosen the grid below lists sectors, the sector name frozen.
    EXPECT_EQ(m_oSecGrid.ReportTitle(), "Stock Viewer Sector Report");
    for (const auto& [parameterId, split] : ColumnSplits(m_oSecGrid)) {
        EXPECT_EQ(split, parameterId == 36 ? 0 : 1) << parameterId;
    }
}

TEST_F(StockViewerTest, WholeMarketFollowsTheRowThroughALocalIndustryFilter) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oSecGrid.ReportTitle(), "Stock Viewer Industry Report");
    ASSERT_GT(RowCount(*m_oPriControl), 0);
    ASSERT_GT(RowCount(*m_oSecControl), 0);
    for (const auto& [parameterId, split] : ColumnSplits(m_oSecGrid)) {
        EXPECT_EQ(split, parameterId == 35 ? 0 : 1) << parameterId;
    }

    m_oPriControl->SetCurrentRow(0);
    const int32_t industry = m_oPriControl->DataSource()->Fields().Item("indcode").Value().ToLong();
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oSecControl->DataSource()->Filter().ToString(),
              "indcode = " + std::to_string(industry));

    // A second stock of the same industry leaves the filter alone.
    m_oSecControl->DataSource()->SetFilter("");
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oSecControl->DataSource()->Filter().ToLong(), 0);
    EXPECT_EQ(CallsTo("GetSectorDetail"), 0u);
}

TEST_F(StockViewerTest, SectorListFollowsTheRowThroughTheFacade) {
    m_oElements->SetSectorCode(1);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    if (RowCount(*m_oPriControl) == 0) {
        GTEST_SKIP() << "the generated market has no stocks in sector 1";
    }
    m_oPriControl->SetCurrentRow(0);
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    const std::vector<Variant> args = ArgumentsOf("GetSectorDetail");
    ASSERT_EQ(args.size(), 4u);
    EXPECT_EQ(args[facade_protocol::get_sector_detail::kSectorCode.Position].ToLong(), 1);
    EXPECT_EQ(m_oElements->SecGridFilter().ToLong(), 1);
    EXPECT_EQ(Reports("StockViewer:FilterSecondaryGrid"), 0u);
}

TEST_F(StockViewerTest, WatchListGetsItsDefaultLayoutAndNeverFilters) {
    m_oElements->SetWatchListId(4);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(ArgumentsOf("StockViewer")[sv::kLayoutId.Position].ToLong(), 9);
    const Variant before = m_oElements->SecGridFilter();
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oElements->SecGridFilter().ToString(), before.ToString());
    EXPECT_EQ(CallsTo("GetSectorDetail"), 0u);
}

TEST_F(StockViewerTest, SearchWithoutMatchesKeepsTheStocksButRebindsTheIndustries) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    const auto stocks = m_oPriControl->DataSource();
    const auto industries = m_oSecControl->DataSource();
    bool noRecords = false;
    m_oStrategy->Search("QQQQQQQQ", 0, 0, noRecords, m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(ArgumentsOf("SearchStocks").at(facade_protocol::search_stocks::kIndCode.Position),
              Variant(int16_t{0}));
    EXPECT_TRUE(noRecords);
    EXPECT_EQ(m_oPriControl->DataSource(), stocks);
    EXPECT_NE(m_oSecControl->DataSource(), industries);
    EXPECT_EQ(Reports("StockViewer:Search"), 0u);
}

}  // namespace
}  // namespace qv::testing
