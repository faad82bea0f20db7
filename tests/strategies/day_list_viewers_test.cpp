// The lists of one day (stocks, industries, sectors): each strategy's own rules, beyond the cycle
// the contract test runs over every list.
#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "columns/layout_utilities.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/finder_viewer.h"
#include "strategies/industry_viewer.h"
#include "strategies/sector_viewer.h"
#include "strategies/stock_viewer.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

namespace sv = facade_protocol::stock_viewer;
namespace iv = facade_protocol::industry_viewer;
namespace sc = facade_protocol::sector_viewer;

template <typename Strategy, ViewerType Type>
class DayListTest : public StrategyTest {
  protected:
    DayListTest() {
        m_oElements->SetViewerType(Type);
        m_oElements->SetStartDate(LastDay());
    }

    std::shared_ptr<Strategy> m_oStrategy = std::make_shared<Strategy>();
    std::shared_ptr<ViewerElements> m_oElements = m_oStrategy->ViewerElements();
};

using StockViewerTest = DayListTest<StockViewer, vt_Stocks>;
using IndustryViewerTest = DayListTest<IndustryViewer, vt_Industries>;
using SectorViewerTest = DayListTest<SectorViewer, vt_Sectors>;

// The caption is the grid-level ratio's to compute; here, that the stock lists ask for it over the
// rows they show: its total is their count.
bool CaptionOver(const std::string& p_sCaption, const GridControl& p_oControl) {
    return p_sCaption.starts_with("Buys: ") &&
           p_sCaption.ends_with("  Total: " + std::to_string(RowCount(p_oControl)));
}

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
    for (const auto& [parameterId, split] : ColumnSplits(m_oSecGrid)) {
        EXPECT_EQ(split, parameterId == 36 ? 0 : 1) << parameterId;
    }
}

TEST_F(StockViewerTest, WholeMarketFollowsTheRowThroughALocalIndustryFilter) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oSecGrid.ReportTitle(), "Stock Viewer Industry Report");
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

// The stock list and the finder's stock results show the buy/sell/hold caption of their
// recommendations when the layout has the field "REC".
TEST_F(StockViewerTest, TheStockListAndTheFinderResultsOfStocksOnlyCountTheRowsShown) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    ASSERT_TRUE(LayoutUtilities::IsFieldInLayout("REC", m_oElements->GridLayoutDescription()));
    const std::string caption = m_oElements->BSHCaption();
    EXPECT_TRUE(CaptionOver(caption, *m_oPriControl)) << caption;
    EXPECT_EQ(caption.find("Buys: 0 "), std::string::npos) << caption;
    m_oElements->SetBSHCaption("");
    bool noRecords = false;
    m_oStrategy->Search("A", 0, 0, noRecords, m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(CaptionOver(m_oElements->BSHCaption(), *m_oPriControl))
        << m_oElements->BSHCaption();

    // The same rows under the same layout in the finder: the stock list's caption, for stocks.
    const std::shared_ptr<Recordset> stocks = m_oPriControl->DataSource();
    for (int32_t resultType : {0, 3}) {
        FinderViewer finder;
        const std::shared_ptr<ViewerElements> elements = finder.ViewerElements();
        elements->SetFinderResultsType(resultType);
        elements->SetFinderResults(stocks);
        elements->SetGridLayoutInfo(m_oElements->GridLayoutInfo());
        elements->SetBSHCaption("before");
        finder.Initialize(m_oPriGrid, m_oSecGrid);
        EXPECT_EQ(elements->BSHCaption(),
                  resultType == 0 ? m_oElements->BSHCaption() : std::string("before"));
    }
    EXPECT_EQ(ReportCount(), 0u);
}

// After the user drags columns, SynchronizeColumns must leave the grid showing the columns in the
// order of their Sequence, key columns in the frozen split: the order a fresh layout load gives.
struct MoveCase {
    int32_t StartCol;
    int32_t EndCol;
    int32_t NewPosition;
};

TEST_F(StockViewerTest, AfterAMoveTheGridShowsTheColumnsInSequenceOrder) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    const GridColumns& columns = *m_oElements->GridColumns(gtPrimary);
    ASSERT_GT(columns.Count(), 8);
    // A block right, then left past the column just moved, then onto the first key column.
    const MoveCase cases[] = {{2, 3, 7}, {7, 8, 3}, {3, 3, 0}};
    for (const MoveCase& move : cases) {
        m_oElements->GridColumns(gtPrimary)->Move(move.StartCol, move.EndCol, move.NewPosition);
        m_oStrategy->SynchronizeColumns(m_oPriGrid, m_oSecGrid, false);

        SCOPED_TRACE(move.StartCol);
        EXPECT_EQ(ShownCaptions(*m_oPriControl, 0), CaptionsBySequence(columns, 0, 0));
        EXPECT_EQ(ShownCaptions(*m_oPriControl, 1), CaptionsBySequence(columns, 0, 1));
    }
    EXPECT_EQ(Reports("StockViewer_SynchronizeColumns"), 0u);
}

// Field customization can renumber every column at once; here the scrolling columns are
// reversed, which applying positions in collection order does not survive.
TEST_F(StockViewerTest, AfterCustomizationTheGridShowsTheNewSequence) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
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

TEST_F(IndustryViewerTest, InitializeFillsTheSectorGridBelowWithTheSectorNameFrozen) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(ArgumentsOf("IndustryViewer").at(iv::kListScope.Position).ToLong(), 0);
    EXPECT_EQ(m_oElements->FinderResultsType(), 1);
    EXPECT_EQ(m_oElements->GridColumns(gtSecondary), m_oSecGrid.GridColumns());
    for (const auto& [parameterId, split] : ColumnSplits(m_oSecGrid)) {
        EXPECT_EQ(split, parameterId == 36 ? 0 : 1) << parameterId;
    }
}

TEST_F(IndustryViewerTest, SectorCodeSendsScopeThreeAndTheGridsGetTheScopeReturned) {
    m_oElements->SetSectorCode(1);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    const std::vector<facade::FacadeCall> calls = m_oLog->CallsTo("IndustryViewer");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].m_aArgumentsBefore[12].ToLong(), 3);
    const int32_t returned = calls[0].m_aArgumentsAfter[12].ToLong();
    if (RowCount(*m_oPriControl) > 0) {
        EXPECT_EQ(m_oPriGrid.ListScope(), returned);
        EXPECT_EQ(m_oSecGrid.ListScope(), returned);
    }
}

TEST_F(IndustryViewerTest, RowChangeFiltersTheSectorGridOnlyWhenTheSectorChanges) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    ASSERT_GT(RowCount(*m_oPriControl), 0);
    m_oPriControl->SetCurrentRow(0);
    const int32_t sector =
        m_oPriControl->DataSource()->Fields().Item("sectorcode").Value().ToLong();

    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oSecControl->DataSource()->Filter().ToString(),
              "Sectorcode = " + std::to_string(sector));

    m_oSecControl->DataSource()->SetFilter("");
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oSecControl->DataSource()->Filter().ToLong(), 0);
    EXPECT_EQ(Reports("IndustryViewer:FilterSecondaryGrid"), 0u);
}

TEST_F(IndustryViewerTest, WatchListHidesTheSectorNameAndNeverFilters) {
    m_oElements->SetWatchListId(1);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oElements->GridLayout()->Id(), 10);
    for (const auto& column : *m_oSecGrid.GridColumns()) {
        if (column->ParameterId() == 36) {
            EXPECT_EQ(column->GridColumn_State_Setting(), csHidden);
            EXPECT_EQ(column->SplitNumber(), 1);
        } else {
            EXPECT_EQ(column->SplitNumber(), 0);
        }
    }
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(m_oElements->SecGridFilter().IsEmpty());
}

TEST_F(SectorViewerTest, InitializeShowsTheSectorsInOneGridWithTheirTotal) {
    m_oSecGrid.SetVisible(true);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(ArgumentsOf("SectorViewer").at(sc::kAvgType.Position).ToString(),
              m_oElements->AvgType());
    EXPECT_EQ(m_oElements->FinderResultsType(), 2);
    EXPECT_FALSE(m_oSecControl->AllowColMove());
    EXPECT_EQ(m_oElements->BSHCaption(), "Total: " + std::to_string(RowCount(*m_oPriControl)));
    EXPECT_FALSE(m_oSecGrid.Visible());
}

TEST_F(SectorViewerTest, LimitsSentAndTakenBack) {
    struct Case {
        int32_t m_lMaxRows;
        bool m_bReturnAll;
        int32_t m_lSentLimit;
        bool m_bSentReturnAll;
    };
    for (const Case& test :
         {Case{-1, true, -1, false}, Case{5, true, 5, true}, Case{4, false, 4, false}}) {
        m_oLog->Clear();
        m_oElements->SetMaxRows(test.m_lMaxRows);
        m_oElements->SetReturnAll(test.m_bReturnAll);
        m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
        const std::vector<facade::FacadeCall> calls = m_oLog->CallsTo("SectorViewer");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].m_aArgumentsBefore[2].ToLong(), test.m_lSentLimit);
        EXPECT_EQ(calls[0].m_aArgumentsBefore[3].ToBool(), test.m_bSentReturnAll);
        EXPECT_EQ(m_oElements->MaxRows(), calls[0].m_aArgumentsAfter[2].ToLong());
        EXPECT_EQ(m_oElements->ReturnAll(), calls[0].m_aArgumentsAfter[3].ToBool());
    }
}

TEST_F(SectorViewerTest, SearchWithoutMatchesChangesNothing) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    const std::string caption = m_oElements->BSHCaption();
    const auto rows = m_oPriControl->DataSource();
    bool noRecords = false;
    m_oStrategy->Search("no such sector at all", 0, 0, noRecords, m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(noRecords);
    EXPECT_EQ(m_oPriControl->DataSource(), rows);
    EXPECT_EQ(m_oElements->BSHCaption(), caption);
}

}  // namespace
}  // namespace qv::testing
