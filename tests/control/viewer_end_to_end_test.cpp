#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

#include <array>

namespace qv::testing {
namespace {

using ViewerEndToEndTest = ViewerTest;

// A list as a host asks for it by late binding: the right facade call, rows in the primary grid,
// the grid below shown, and no failure reported. Every strategy runs through the contract test.
TEST_F(ViewerEndToEndTest, AListShowsItsRowsByLateBinding) {
    LetProperty(*m_oViewer, "ViewerType", Variant(int32_t{vt_Stocks}));
    LetProperty(*m_oViewer, "StartDate", Variant::Date(LastDay()));
    std::array<Variant, 0> none{};
    EXPECT_TRUE(CallMethod(*m_oViewer, "UpdateViewer", none).ToBool());
    EXPECT_TRUE(m_oPlatform.Reporter().Reports().empty());
    EXPECT_EQ(CallsTo("StockViewer"), 1u);
    EXPECT_GT(GetProperty(*m_oViewer, "RecordCount").ToLong(), 0);
    EXPECT_TRUE(m_oViewer->oleSecGrid()->Visible());
}

TEST_F(ViewerEndToEndTest, HostRowsOfTheWrongShapeAreReportedAndTheViewerStaysUsable) {
    auto odd = std::make_shared<Recordset>();
    odd->Fields().Append("Nothing_Useful", adInteger);
    odd->Open();
    m_oViewer->SetViewerType(vt_Portfolio);
    m_oViewer->SetPortfolioID(0);
    m_oViewer->SetFinderResults(odd);
    EXPECT_FALSE(m_oViewer->UpdateViewer());
    m_oViewer->SetViewerType(vt_Sectors);
    m_oViewer->SetStartDate(LastDay());
    EXPECT_TRUE(m_oViewer->UpdateViewer());
}

TEST_F(ViewerEndToEndTest, AHostMayReleaseTheViewerInsideAnEvent) {
    m_oViewer->SetViewerType(vt_Stocks);
    m_oViewer->SetStartDate(LastDay());
    ASSERT_TRUE(m_oViewer->UpdateViewer());
    const std::shared_ptr<GridControl> grid = m_oViewer->olePriGrid();
    std::weak_ptr<Viewer> watched = m_oViewer;
    m_oHost.OnNext = [&](std::string_view, std::span<Variant>) { m_oViewer.reset(); };
    grid->KeyDown('F', gssCtrl);
    EXPECT_TRUE(watched.expired());
    // The grid control outlived the viewer and still works on its own.
    grid->KeyDown('F', gssCtrl);
    EXPECT_EQ(m_oHost.Count("Find"), 1u);
}

TEST_F(ViewerEndToEndTest, AWatchListYieldsAndAQueryDuringTheYieldIsSafe) {
    const int32_t owner = NewOwner();
    m_oViewer->SetViewerType(vt_Stocks);
    m_oViewer->SetOwnerId(owner);
    m_oViewer->SetStartDate(LastDay());
    m_oViewer->SetWatchListId(1);
    bool ranInside = false;
    m_oPlatform.Loop().Post([&] {
        ranInside = true;
        m_oViewer->SetViewerType(vt_Sectors);
        m_oViewer->SetStartDate(LastDay());
        m_oViewer->UpdateViewer();
    });
    m_oViewer->UpdateViewer();
    EXPECT_TRUE(ranInside);
    EXPECT_TRUE(m_oViewer->olePriGrid()->Enabled());
}

TEST_F(ViewerEndToEndTest, DoubleClickSymbolWrittenByTheHostIsReadBack) {
    std::string symbol = "IBM";
    ViewerEventDispatcher([](std::string_view, std::span<Variant> p_args) {
        p_args[0] = Variant("MSFT");
    }).DoubleClick(symbol);
    EXPECT_EQ(symbol, "MSFT");
}

}  // namespace
}  // namespace qv::testing
