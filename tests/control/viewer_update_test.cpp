#include "columns/grid_columns.h"
#include "facade/facade_backend.h"
#include "facade/sample_market.h"
#include "grid/grid.h"
#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/grid_style.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

#include <algorithm>

namespace qv::testing {
namespace {

class ViewerUpdateTest : public ViewerTest {
  protected:
    GridControl& Sec() { return *m_oViewer->oleSecGrid(); }
};

// A list as a host asks for it by late binding: one facade call, rows in the primary grid, the
// grid below shown, no failure reported. Every strategy runs through the contract test.
TEST_F(ViewerUpdateTest, StockListByLateBindingSelectsTheFirstRowUnderTheIndicator) {
    LetProperty(*m_oViewer, "ViewerType", Variant(int32_t{vt_Stocks}));
    LetProperty(*m_oViewer, "StartDate", Variant::Date(LastDay()));
    EXPECT_TRUE(CallMethod(*m_oViewer, "UpdateViewer").ToBool());
    EXPECT_TRUE(m_oPlatform.Reporter().Reports().empty());
    EXPECT_EQ(CallsTo("StockViewer"), 1u);
    EXPECT_GT(GetProperty(*m_oViewer, "RecordCount").ToLong(), 0);
    EXPECT_EQ(Pri().SelBookmarks()->Count(), 1);
    EXPECT_TRUE(Sec().Visible());
    EXPECT_TRUE(Pri().Enabled() && Sec().Enabled() && m_oViewer->PrimaryGridUsedLast());
    // The indicator: up for the query, down at the end.
    std::vector<std::string> captions;
    for (const auto& status : m_oPlatform.Indicator().History()) {
        captions.insert(captions.end(), status.Visible ? 1 : 0, status.Caption);
    }
    EXPECT_EQ(captions,
              (std::vector<std::string>{"Initializing . . .", "Running . . .", "Updating . . ."}));
    EXPECT_FALSE(m_oPlatform.Indicator().Visible());
}

TEST_F(ViewerUpdateTest, NoRowsSelectsNothingAndReturnsFalse) {
    m_oViewer->SetViewerType(vt_StockHistory);
    m_oViewer->SetSymbol("NOSUCHSYMBOL");
    m_oViewer->SetStartDate(LastDay() - 5);
    EXPECT_FALSE(m_oViewer->UpdateViewer());
    EXPECT_EQ(Pri().SelBookmarks()->Count(), 0);
    EXPECT_TRUE(Pri().Enabled());
}

TEST_F(ViewerUpdateTest, ALoginElsewhereDisablesTheContainerAndSelectsNothing) {
    const int32_t owner = NewOwner();
    const std::string oldCode = Backend().Login(owner, "");
    Backend().Login(owner, "");
    m_oViewer->SetViewerType(vt_Stocks);
    m_oViewer->SetOwnerId(owner);
    m_oViewer->SetStartDate(LastDay());
    m_oViewer->SetTimeCode(oldCode);
    EXPECT_FALSE(m_oViewer->UpdateViewer());
    EXPECT_EQ(m_oContainer->Calls, std::vector<std::string>{"disable"});
    EXPECT_EQ(Pri().SelBookmarks()->Count(), 0);
}

TEST_F(ViewerUpdateTest, FailuresAreReportedAndTheControlStaysUsable) {
    EXPECT_FALSE(m_oViewer->UpdateViewer());
    EXPECT_EQ(Reports("Viewer:UpdateViewer"), 1u);

    m_oViewer->SetViewerType(vt_Stocks);
    m_oViewer->SetStartDate(LastDay());
    BreakViewerFacade();
    EXPECT_FALSE(m_oViewer->UpdateViewer());
    EXPECT_TRUE(Pri().Enabled());
    EXPECT_FALSE(m_oPlatform.Indicator().Visible());
}

TEST_F(ViewerUpdateTest, RunningIndicatorRules) {
    m_oViewer->SetViewerType(vt_Stocks);
    m_oViewer->ChangeRunningStatus("Sorting . . .", true);
    EXPECT_FALSE(m_oPlatform.Indicator().Visible());
    m_oViewer->ChangeRunningStatus("Running . . .", true);
    EXPECT_TRUE(m_oPlatform.Indicator().Visible());
    m_oViewer->SetViewerType(vt_FinderResults);
    m_oViewer->ChangeRunningStatus("Running . . .", true);
    EXPECT_FALSE(m_oPlatform.Indicator().Visible());
}

TEST_F(ViewerUpdateTest, ClearingHidesTheGridsAndClearResultsRunsTheQueryAgain) {
    ASSERT_TRUE(Show(vt_Stocks));
    EXPECT_TRUE(m_oViewer->ClearViewer().IsEmpty());
    EXPECT_EQ(Pri().DataSource(), nullptr);

    m_oViewer->SetFinderResults(std::make_shared<Recordset>());
    m_oLog->Clear();
    m_oViewer->ClearResults();
    EXPECT_EQ(m_oViewer->FinderResults(), nullptr);
    EXPECT_EQ(CallsTo("StockViewer"), 1u);
}

// Clicks move the selection between the grids; a right click on a row makes it current after
// clearing a single selection; the pointer changes over the headers.
TEST_F(ViewerUpdateTest, MouseOnTheGrids) {
    ASSERT_TRUE(Show(vt_Stocks));
    Sec().Click(0, 0);
    EXPECT_EQ(Pri().SelBookmarks()->Count(), 0);
    EXPECT_EQ(m_oViewer->SelectedGridType(), m_oViewer->SecondaryGrid()->ViewerDataType());
    Pri().Click(2, 1);
    EXPECT_EQ(Sec().SelBookmarks()->Count(), 0);
    EXPECT_EQ(m_oViewer->SelectedGridType(), 0);
    Pri().MouseDown(gmbRight, 0, 100, RowY(3));
    Pri().MouseUp(gmbRight, 0, 100, RowY(3));
    EXPECT_EQ(Pri().Row(), 3);
    // The one row selected gave way to the clicked row, which the context menu then selected.
    ASSERT_EQ(Pri().SelBookmarks()->Count(), 1);
    EXPECT_EQ(Pri().SelBookmarks()->Item(0), Pri().Bookmark());
    EXPECT_EQ(m_oPlatform.Menus().Shown().size(), 1u);
    Pri().MouseMove(0, 0, 100, HeaderY());
    EXPECT_EQ(m_oPlatform.Pointer().Pointer(), vbCustom);
    Pri().MouseMove(0, 0, 100, RowY(1));
    EXPECT_EQ(m_oPlatform.Pointer().Pointer(), vbDefault);
}

TEST_F(ViewerUpdateTest, DoubleClicksOfThePortfolioRaiseTheSymbolUnlessOnTheHeader) {
    ASSERT_TRUE(Show(vt_Portfolio));
    Pri().MouseUp(gmbLeft, 0, 100, HeaderY());
    Pri().DoubleClick();
    Pri().SelBookmarks()->Clear();
    Pri().DoubleClick();
    Pri().Click(0, 1);
    Pri().DoubleClick();
    ASSERT_EQ(m_oHost.Count("DoubleClick"), 1u) << "not on the header, nor with nothing selected";
    EXPECT_EQ(m_oHost.Last("DoubleClick")->Args[0].ToString(), PrimaryValue("Symbol").ToString());
}

TEST_F(ViewerUpdateTest, CtrlKeysAndMenuCommands) {
    ASSERT_TRUE(Show(vt_Stocks));
    Pri().KeyDown('F', gssCtrl);
    Pri().KeyDown('F', 0);
    EXPECT_EQ(m_oHost.Names(), std::vector<std::string>{"Find"});
    Pri().KeyDown('L', gssCtrl);
    EXPECT_EQ(m_oPlatform.Dialogs().Shown(), std::vector<std::string>{"Choose Columns"});
    EXPECT_EQ(Reports("Viewer:Customize"), 0u);

    m_oViewer->SetViewerType(vt_StockHistory);
    m_oViewer->ChangeRunningStatus();
    m_oViewer->PrimaryGrid()->SetGridObject(m_oViewer->olePriGrid());
    Pri().SetEnabled(true);
    Pri().KeyDown('Q', gssCtrl);
    EXPECT_EQ(Reports("Viewer:ShowQuickTest"), 0u);
}

TEST_F(ViewerUpdateTest, Win32KeySelectsTheCurrentRowAndDeleteReachesOnlyAWatchListsHost) {
    ASSERT_TRUE(Show(vt_Stocks));
    Pri().SelBookmarks()->Clear();
    Pri().SetCurrentRow(4);
    EXPECT_EQ(GetProperty(*m_oViewer, "Win32Key").ToString(), PrimaryValue("symbol").ToString());
    EXPECT_EQ(Pri().SelBookmarks()->Count(), 1);
    Pri().KeyDown(Grid::kDeleteKey, 0);
    EXPECT_EQ(m_oHost.Count("Delete"), 0u);
    m_oViewer->SetWatchListId(3);
    Pri().KeyDown(Grid::kDeleteKey, 0);
    ASSERT_EQ(m_oHost.Count("Delete"), 1u);
    EXPECT_NE(m_oHost.Last("Delete")->Args[0].ToString(), "");
}

TEST_F(ViewerUpdateTest, DraggedColumnsKeepTheirNewPlaceThroughARebuild) {
    ASSERT_TRUE(Show(vt_Stocks));
    const auto position = [&](const char* p_sCaption) {
        const auto order = Pri().Columns()->DisplayOrder();
        return static_cast<int32_t>(
            std::find_if(order.begin(), order.end(),
                         [&](const auto& column) { return column->Caption() == p_sCaption; }) -
            order.begin());
    };
    const int32_t volume = position("Volume");
    ASSERT_TRUE(Pri().MoveColumns(volume, volume, position("Price")));
    EXPECT_EQ(Reports("Viewer:olePriGrid_ColMove"), 0u);
    EXPECT_TRUE(m_oViewer->UpdateViewer(false, false));
    EXPECT_LT(position("Volume"), position("Price"));
}

}  // namespace
}  // namespace qv::testing
