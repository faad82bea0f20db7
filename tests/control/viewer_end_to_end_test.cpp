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

class ViewerEndToEndTest : public ViewerTest {
  protected:
    // The codes of the first stock of the market, for the scoped lists and histories.
    void TakeFirstStock() { PickKeys(m_oKeys); }
    static Variant SymbolsOnly() {
        auto rows = std::make_shared<Recordset>();
        rows->Fields().Append("Symbol", adVarWChar, 10);
        rows->Open();
        rows->AddNew({Variant("AAA")});
        rows->Update();
        return RecordsetVariant(rows);
    }

    ViewerElements m_oKeys;
};

// A list as a host asks for it by late binding: the right facade call, rows in the primary grid,
// the secondary grid where the type has one, and no failure reported. Every strategy runs through
// the contract test; here, a list of one day, a history, and rows the host hands in.
TEST_F(ViewerEndToEndTest, EachKindOfListShowsItsRowsByLateBinding) {
    TakeFirstStock();
    struct Case {
        ViewerType Type;
        const char* Call;  // the facade method the query uses
        bool Secondary;
    };
    const Case cases[] = {{vt_Stocks, "StockViewer", true},
                          {vt_SectorHistory, "HistorySectorEX", false},
                          {vt_Portfolio, "GetCurrentHoldings", false}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Type);
        m_oLog->Clear();
        LetProperty(*m_oViewer, "ViewerType", Variant(int32_t{test.Type}));
        // A list is of one day and the whole market; a history spans days of one scope.
        const bool list =
            test.Type == vt_Stocks || test.Type == vt_Industries || test.Type == vt_Sectors;
        LetProperty(*m_oViewer, "StartDate", Variant::Date(list ? LastDay() : LastDay() - 10));
        LetProperty(*m_oViewer, "EndDate", Variant::Date(LastDay()));
        LetProperty(*m_oViewer, "Symbol", Variant(m_oKeys.Symbol()));
        LetProperty(*m_oViewer, "IndCode", Variant(list ? 0 : m_oKeys.IndCode()));
        LetProperty(*m_oViewer, "SectorCode", Variant(list ? 0 : m_oKeys.SectorCode()));
        if (test.Type == vt_Portfolio) {
            // Rows that lack the layout's fields: the holdings are fetched instead.
            LetProperty(*m_oViewer, "OwnerId", Variant(int32_t{1}));
            LetProperty(*m_oViewer, "PortfolioID", Variant(int32_t{1}));
            SetProperty(*m_oViewer, "FinderResults", SymbolsOnly());
        }
        std::array<Variant, 0> none{};
        EXPECT_TRUE(CallMethod(*m_oViewer, "UpdateViewer", none).ToBool());
        for (const auto& report : m_oPlatform.Reporter().Reports()) {
            ADD_FAILURE() << report.Label << ": " << report.Description;
        }
        m_oPlatform.Reporter().ClearRecords();
        EXPECT_EQ(CallsTo(test.Call), 1u);
        const auto& rows = m_oViewer->olePriGrid()->DataSource();
        ASSERT_NE(rows, nullptr);
        EXPECT_GT(rows->RecordCount(), 0);
        EXPECT_EQ(GetProperty(*m_oViewer, "RecordCount").ToLong(), rows->RecordCount());
        EXPECT_EQ(m_oViewer->oleSecGrid()->Visible(), test.Secondary);
        EXPECT_EQ(m_oViewer->olePriGrid()->SelBookmarks()->Count(), 1);
    }
}

TEST_F(ViewerEndToEndTest, HostRowsOfTheWrongShapeAreReportedAndTheViewerStaysUsable) {
    auto odd = std::make_shared<Recordset>();
    odd->Fields().Append("Nothing_Useful", adInteger);
    odd->Open();
    m_oViewer->SetViewerType(vt_Portfolio);
    m_oViewer->SetPortfolioID(0);
    m_oViewer->SetFinderResults(odd);
    EXPECT_FALSE(m_oViewer->UpdateViewer());
    EXPECT_TRUE(m_oViewer->olePriGrid()->Enabled());

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
    EXPECT_EQ(m_oHost.Names(), std::vector<std::string>{"Find"});
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
    EXPECT_EQ(m_oViewer->ViewerType(), vt_Sectors);
    EXPECT_TRUE(m_oViewer->olePriGrid()->Enabled());
}

TEST_F(ViewerEndToEndTest, DoubleClickSymbolWrittenByTheHostIsReadBack) {
    std::string symbol = "IBM";
    int16_t type = 1;
    double day = 5;
    ViewerEventDispatcher dispatcher([](std::string_view p_sName, std::span<Variant> p_args) {
        if (p_sName == "DoubleClick") {
            p_args[0] = Variant("MSFT");
        } else {
            p_args[0] = Variant(int16_t{2});
            p_args[1] = Variant::Date(7);
        }
    });
    dispatcher.DoubleClick(symbol);
    dispatcher.ShowInfo(type, day);
    EXPECT_EQ(symbol, "MSFT");
    EXPECT_EQ(type, 2);
    EXPECT_EQ(day, 7);
}

}  // namespace
}  // namespace qv::testing
