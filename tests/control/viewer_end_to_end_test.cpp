#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

namespace qv::testing {
namespace {

using ViewerEndToEndTest = ViewerTest;

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
