#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
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
    ASSERT_NE(rows, nullptr);
    const int32_t owner = NewOwner();
    elements->SetOwnerId(owner);
    elements->SetFinderResultsType(0);
    elements->SetFinderResults(rows);
    elements->SetStartTimeId(77);

    strategy.Initialize(m_oPriGrid, m_oSecGrid);

    EXPECT_EQ(ArgumentsOf("GetDefaultLayout"),
              (std::vector<Variant>{Variant(owner), Variant(int32_t{6}), Variant(int32_t{0})}));
    EXPECT_EQ(Reports("FinderViewer:Initialize"), 0u);
    EXPECT_EQ(elements->StartTimeId(), 0);
    EXPECT_EQ(m_oPriControl->DataSource(), rows);
    EXPECT_EQ(m_oPriGrid.ReportTitle(), "Tandrel Report");
    for (const auto& [parameterId, split] : ColumnSplits(m_oPriGrid)) {
        EXPECT_EQ(split, parameterId == 4 || parameterId == 5 ? 0 : 1) << parameterId;
    }
}

TEST_F(FinderViewerTest, NoLayoutAnywhereIsReportedAndNothingIsBound) {
    FinderViewer strategy;
    const std::shared_ptr<ViewerElements> elements = strategy.ViewerElements();
    elements->SetFinderResultsType(99);
    elements->SetFinderResults(StockListRows());
    elements->SetStartTimeId(5);

    strategy.Initialize(m_oPriGrid, m_oSecGrid);

    ASSERT_EQ(Reports("FinderViewer:Initialize"), 1u);
    EXPECT_EQ(m_oPlatform.Reporter().LastReport()->Number, 911);
    EXPECT_EQ(m_oPriControl->DataSource(), nullptr);
    EXPECT_EQ(elements->StartTimeId(), 5);
}

// The holding fields once lacked the stock bit the check reads, so stock rows handed in for a
// portfolio were shown as they were: the holding columns stayed empty, each reported as 3265.
TEST_F(PortfolioViewerTest, HoldingFieldsWithoutTheStockBitWereNeverFetched) {
    PortfolioViewer strategy;
    const std::shared_ptr<ViewerElements> elements = strategy.ViewerElements();
    const std::shared_ptr<Recordset> hostRows = StockListRows();
    ASSERT_LT(hostRows->Fields().IndexOf("MarketValue"), 0);
    elements->SetOwnerId(1);
    elements->SetPortfolioID(1);
    elements->SetFinderResults(hostRows);

    strategy.Initialize(m_oPriGrid, m_oSecGrid);

    EXPECT_EQ(ReportCount(), 0u)
        << m_oPlatform.Reporter().LastReport().value_or(ErrorReport{}).Description;
    EXPECT_EQ(elements->GridLayout()->Id(), 14);
    EXPECT_EQ(m_oPriGrid.ReportTitle(), "Portfolio Report");
    EXPECT_EQ(ArgumentsOf("GetCurrentHoldings").size(), 8u);
    const std::shared_ptr<Recordset> holdings = elements->FinderResults();
    ASSERT_NE(holdings, hostRows);
    EXPECT_EQ(m_oPriControl->DataSource(), holdings);
    ASSERT_GT(holdings->RecordCount(), 0);
    for (const char* field : {"Shares", "InitialPrice", "MarketValue", "Gain"}) {
        holdings->MoveFirst();
        EXPECT_FALSE(holdings->Value(field).IsNull()) << field;
    }

    // The layout is now in force and the rows carry its fields: no facade call at all.
    m_oLog->Clear();
    strategy.Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oLog->Calls().size(), 0u);
    EXPECT_EQ(ReportCount(), 0u);
}

TEST_F(PortfolioViewerTest, WithoutHostRowsNothingIsFetchedAndTheGridIsEmpty) {
    PortfolioViewer strategy;
    strategy.Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(CallsTo("GetCurrentHoldings"), 0u);
    EXPECT_EQ(m_oPriControl->DataSource(), nullptr);
    EXPECT_FALSE(m_oSecGrid.Visible());
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
