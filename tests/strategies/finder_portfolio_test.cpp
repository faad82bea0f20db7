#include "columns/grid_columns.h"
#include "outside/error_reporter.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/finder_viewer.h"
#include "strategies/portfolio_viewer.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

using FinderViewerTest = StrategyTest;
using PortfolioViewerTest = StrategyTest;

TEST_F(FinderViewerTest, WithoutALayoutTheDefaultOneIsFetchedAndTheHostsRowsShown) {
    FinderViewer strategy;
    const std::shared_ptr<ViewerElements> elements = strategy.ViewerElements();
    const std::shared_ptr<Recordset> rows = StockListRows();
    const int32_t owner = NewOwner();
    elements->SetOwnerId(owner);
    elements->SetFinderResultsType(0);
    elements->SetFinderResults(rows);
    elements->SetStartTimeId(77);
    strategy.Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(ArgumentsOf("GetDefaultLayout"),
              (std::vector<Variant>{Variant(owner), Variant(int32_t{6}), Variant(int32_t{0})}));
    EXPECT_EQ(elements->StartTimeId(), 0);
    EXPECT_EQ(m_oPriControl->DataSource(), rows);
    EXPECT_EQ(m_oPriGrid.ReportTitle(), "Tandrel Report");
    EXPECT_EQ(FrozenIds(m_oPriGrid), (std::vector<int32_t>{4, 5}));
}

TEST_F(FinderViewerTest, NoLayoutAnywhereIsReportedAndNothingIsBound) {
    FinderViewer strategy;
    strategy.ViewerElements()->SetFinderResultsType(99);
    strategy.ViewerElements()->SetFinderResults(StockListRows());
    strategy.Initialize(m_oPriGrid, m_oSecGrid);
    ASSERT_EQ(Reports("FinderViewer:Initialize"), 1u);
    EXPECT_EQ(m_oPlatform.Reporter().LastReport()->Number, 911);
    EXPECT_EQ(m_oPriControl->DataSource(), nullptr);
}

// The holding fields once lacked the stock bit the check reads, so stock rows handed in for a
// portfolio were shown as they were: the holding columns stayed empty, each reported as 3265.
TEST_F(PortfolioViewerTest, HoldingFieldsWithoutTheStockBitWereNeverFetched) {
    PortfolioViewer strategy;
    const std::shared_ptr<ViewerElements> elements = strategy.ViewerElements();
    elements->SetOwnerId(1);
    elements->SetPortfolioID(1);
    elements->SetFinderResults(StockListRows());
    strategy.Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(m_oPlatform.Reporter().Reports().empty());
    EXPECT_EQ(ArgumentsOf("GetCurrentHoldings").size(), 8u);
    const std::shared_ptr<Recordset> holdings = elements->FinderResults();
    EXPECT_EQ(m_oPriControl->DataSource(), holdings);
    ASSERT_GT(holdings->RecordCount(), 0);
    holdings->MoveFirst();
    for (const char* field : {"Shares", "InitialPrice", "MarketValue", "Gain"}) {
        EXPECT_FALSE(holdings->Value(field).IsNull()) << field;
    }
    // The layout is now in force and the rows carry its fields: no facade call at all.
    m_oLog->Clear();
    strategy.Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oLog->Calls().size(), 0u);
}

TEST_F(PortfolioViewerTest, WithoutHostRowsNothingIsFetchedAndTheGridIsEmpty) {
    PortfolioViewer strategy;
    strategy.Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(CallsTo("GetCurrentHoldings"), 0u);
    EXPECT_EQ(m_oPriControl->DataSource(), nullptr);
}

TEST_F(PortfolioViewerTest, PopulateGridColumnsHandsTheHeldColumnsToAnEmptyGrid) {
    PortfolioViewer strategy;
    auto held = std::make_shared<GridColumns>();
    held->Add("Symbol", csAlwaysVisible, "Symbol", 4, 1, 1, 0, "Left");
    strategy.ViewerElements()->SetGridColumns(gtPrimary, held);
    strategy.PopulateGridColumns(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oPriGrid.GridColumns(), held);
}

}  // namespace
}  // namespace qv::testing
