// The lists of one day (stocks, industries, sectors): each strategy's own rules, beyond the cycle
// the contract test runs over every list.
#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/finder_viewer.h"
#include "strategies/industry_viewer.h"
#include "strategies/sector_viewer.h"
#include "strategies/stock_viewer.h"
#include "strategy_test_support.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace qv::testing {
namespace {

namespace sv = facade_protocol::stock_viewer;

template <typename Strategy, ViewerType Type>
class DayListTest : public StrategyTest {
  protected:
    DayListTest() {
        m_oElements->SetViewerType(Type);
        m_oElements->SetStartDate(LastDay());
    }

    // The grid below follows the current row through a filter of its own rows, set again only
    // when the row's group changes: p_sFilter is the filter's text before the group's code.
    void ExpectLocalFilterFollowsTheRow(const char* p_sField, const char* p_sFilter) {
        m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
        ASSERT_GT(RowCount(*m_oPriControl), 0);
        m_oPriControl->SetCurrentRow(0);
        const int32_t code = m_oPriControl->DataSource()->Value(p_sField).ToLong();
        m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
        const std::shared_ptr<Recordset> below = m_oSecControl->DataSource();
        EXPECT_EQ(below->Filter().ToString(), p_sFilter + std::to_string(code));
        below->SetFilter("");
        m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
        EXPECT_EQ(below->Filter().ToLong(), 0);
    }

    std::shared_ptr<Strategy> m_oStrategy = std::make_shared<Strategy>();
    std::shared_ptr<ViewerElements> m_oElements = m_oStrategy->ViewerElements();
};

using StockViewerTest = DayListTest<StockViewer, vt_Stocks>;
using IndustryViewerTest = DayListTest<IndustryViewer, vt_Industries>;
using SectorViewerTest = DayListTest<SectorViewer, vt_Sectors>;

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
    // With a sector chosen the grid below lists sectors, the sector name frozen.
    EXPECT_EQ(m_oSecGrid.ReportTitle(), "Stock Viewer Sector Report");
    EXPECT_EQ(FrozenIds(m_oSecGrid), std::vector<int32_t>{36});
}

TEST_F(StockViewerTest, WholeMarketFollowsTheRowThroughALocalIndustryFilter) {
    ExpectLocalFilterFollowsTheRow("indcode", "indcode = ");
    EXPECT_EQ(m_oSecGrid.ReportTitle(), "Stock Viewer Industry Report");
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
    EXPECT_EQ(ArgumentsOf("GetSectorDetail")
                  .at(facade_protocol::get_sector_detail::kSectorCode.Position)
                  .ToLong(),
              1);
    EXPECT_EQ(m_oElements->SecGridFilter().ToLong(), 1);
}

TEST_F(StockViewerTest, WatchListGetsItsDefaultLayoutAndNeverFilters) {
    m_oElements->SetWatchListId(4);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(ArgumentsOf("StockViewer")[sv::kLayoutId.Position].ToLong(), 9);
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
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
}

// The stock list and the finder's stock results show the buy/sell/hold caption of the rows shown
// (its total is their count) when the layout has the field "REC".
TEST_F(StockViewerTest, TheStockListAndTheFinderResultsOfStocksOnlyCountTheRowsShown) {
    const auto totalIsRowCount = [this](const std::string& p_sCaption) {
        return p_sCaption.ends_with("  Total: " + std::to_string(RowCount(*m_oPriControl)));
    };
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(totalIsRowCount(m_oElements->BSHCaption())) << m_oElements->BSHCaption();
    // The same rows under the same layout in the finder: the stock list's caption, for stocks.
    for (int32_t resultType : {0, 3}) {
        FinderViewer finder;
        const std::shared_ptr<ViewerElements> elements = finder.ViewerElements();
        elements->SetFinderResultsType(resultType);
        elements->SetFinderResults(m_oPriControl->DataSource());
        elements->SetGridLayoutInfo(m_oElements->GridLayoutInfo());
        elements->SetBSHCaption("before");
        finder.Initialize(m_oPriGrid, m_oSecGrid);
        EXPECT_EQ(elements->BSHCaption(), resultType == 0 ? m_oElements->BSHCaption() : "before");
    }
}

// After the user drags columns or customizes the fields, SynchronizeColumns must leave the grid
// showing the columns in the order of their Sequence, key columns in the frozen split: the order
// a fresh layout load gives.
class StockColumnOrderTest : public StockViewerTest {
  protected:
    void ExpectSequenceOrder() {
        for (int16_t split : {0, 1}) {
            std::vector<int32_t> sequences;
            for (const auto& shown : m_oPriControl->Splits()->Item(split)->ShownColumns()) {
                const Variant field(shown->DataField());
                sequences.push_back(m_oElements->GridColumns(gtPrimary)->Item(field)->Sequence());
            }
            EXPECT_TRUE(std::ranges::is_sorted(sequences)) << "split " << split;
        }
    }
};

TEST_F(StockColumnOrderTest, AfterAMoveTheGridShowsTheColumnsInSequenceOrder) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    // A block right, then left past the column just moved, then onto the first key column.
    for (const auto& [start, end, position] :
         {std::array{2, 3, 7}, std::array{7, 8, 3}, std::array{3, 3, 0}}) {
        SCOPED_TRACE(start);
        m_oElements->GridColumns(gtPrimary)->Move(start, end, position);
        m_oStrategy->SynchronizeColumns(m_oPriGrid, m_oSecGrid, false);
        ExpectSequenceOrder();
    }
}

// Field customization can renumber every column at once; here the scrolling columns are
// reversed, which applying positions in collection order does not survive.
TEST_F(StockColumnOrderTest, AfterCustomizationTheGridShowsTheNewSequence) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    std::vector<GridColumn*> scrolling;
    std::vector<int32_t> sequences;
    for (const auto& column : *m_oElements->GridColumns(gtPrimary)) {
        if (column->SplitNumber() == 1) {
            scrolling.push_back(column.get());
            sequences.insert(sequences.begin(), column->Sequence());
        }
    }
    ASSERT_GT(scrolling.size(), 4u);
    for (size_t i = 0; i < scrolling.size(); ++i) {
        scrolling[i]->SetSequence(sequences[i]);
    }
    m_oStrategy->SynchronizeColumns(m_oPriGrid, m_oSecGrid, true);
    ExpectSequenceOrder();
}

TEST_F(IndustryViewerTest, InitializeFillsTheSectorGridBelowWithTheSectorNameFrozen) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(ArgumentsOf("IndustryViewer")
                  .at(facade_protocol::industry_viewer::kListScope.Position)
                  .ToLong(),
              0);
    EXPECT_EQ(m_oElements->FinderResultsType(), 1);
    EXPECT_EQ(m_oElements->GridColumns(gtSecondary), m_oSecGrid.GridColumns());
    EXPECT_EQ(FrozenIds(m_oSecGrid), std::vector<int32_t>{36});
}

TEST_F(IndustryViewerTest, SectorCodeSendsScopeThreeAndTheGridsGetTheScopeReturned) {
    m_oElements->SetSectorCode(1);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    const std::vector<facade::FacadeCall> calls = m_oLog->CallsTo("IndustryViewer");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].m_aArgumentsBefore[12].ToLong(), 3);
    const int32_t returned = calls[0].m_aArgumentsAfter[12].ToLong();
    EXPECT_TRUE(RowCount(*m_oPriControl) == 0 ||
                (m_oPriGrid.ListScope() == returned && m_oSecGrid.ListScope() == returned));
}

TEST_F(IndustryViewerTest, RowChangeFiltersTheSectorGridOnlyWhenTheSectorChanges) {
    ExpectLocalFilterFollowsTheRow("sectorcode", "Sectorcode = ");
}

TEST_F(IndustryViewerTest, WatchListHidesTheSectorNameAndNeverFilters) {
    m_oElements->SetWatchListId(1);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oElements->GridLayout()->Id(), 10);
    for (const auto& column : *m_oSecGrid.GridColumns()) {
        const bool sector = column->ParameterId() == 36;
        EXPECT_EQ(column->SplitNumber(), sector ? 1 : 0);
        EXPECT_TRUE(!sector || column->GridColumn_State_Setting() == csHidden);
    }
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(m_oElements->SecGridFilter().IsEmpty());
}

TEST_F(SectorViewerTest, InitializeShowsTheSectorsWithTheirTotal) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(ArgumentsOf("SectorViewer")
                  .at(facade_protocol::sector_viewer::kAvgType.Position)
                  .ToString(),
              m_oElements->AvgType());
    EXPECT_EQ(m_oElements->FinderResultsType(), 2);
    EXPECT_EQ(m_oElements->BSHCaption(), "Total: " + std::to_string(RowCount(*m_oPriControl)));
}

TEST_F(SectorViewerTest, LimitsSentAndTakenBack) {
    // {max rows, return all} set, then as sent.
    for (const auto& [maxRows, all, sentRows, sentAll] :
         {std::tuple{-1, true, -1, false}, std::tuple{5, true, 5, true},
          std::tuple{4, false, 4, false}}) {
        m_oLog->Clear();
        m_oElements->SetMaxRows(maxRows);
        m_oElements->SetReturnAll(all);
        m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
        const std::vector<facade::FacadeCall> calls = m_oLog->CallsTo("SectorViewer");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].m_aArgumentsBefore[2].ToLong(), sentRows);
        EXPECT_EQ(calls[0].m_aArgumentsBefore[3].ToBool(), sentAll);
        EXPECT_EQ(m_oElements->MaxRows(), calls[0].m_aArgumentsAfter[2].ToLong());
        EXPECT_EQ(m_oElements->ReturnAll(), calls[0].m_aArgumentsAfter[3].ToBool());
    }
}

}  // namespace
}  // namespace qv::testing
