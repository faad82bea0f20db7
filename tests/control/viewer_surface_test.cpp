#include "outside/automation_error.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/support_utility.h"
#include "outside/vb_date.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "support/error_number.h"
#include "viewer_test_support.h"

#include <array>

namespace qv::testing {
namespace {

// Forwarding properties need a strategy, the control's own do not; a type without a strategy
// fails and keeps the old one.
TEST_F(ViewerTest, ForwardingPropertiesNeedAStrategyAndAnUnknownTypeKeepsTheOldOne) {
    EXPECT_EQ(ErrorNumberOf([&] { m_oViewer->SetOwnerId(3); }), errors::kObjectVariableNotSet);
    EXPECT_EQ(ErrorNumberOf([&] { GetProperty(*m_oViewer, "WatchListId"); }),
              errors::kObjectVariableNotSet);
    m_oViewer->SetTimeCode("abc");
    EXPECT_EQ(GetProperty(*m_oViewer, "TimeCode").ToString(), "abc");

    m_oViewer->SetViewerType(vt_Sectors);
    m_oViewer->SetOwnerId(4);
    const auto strategy = m_oViewer->Strategy();
    for (int32_t type : {int32_t{vt_BuyFromSearch}, -1, 17}) {
        const Failure failed =
            FailureOf([&] { LetProperty(*m_oViewer, "ViewerType", Variant(type)); });
        EXPECT_EQ(std::to_string(failed.Number) + " " + failed.Description,
                  "911 Invalid Viewer Type");
        EXPECT_EQ(m_oViewer->Strategy(), strategy);
        EXPECT_EQ(m_oViewer->OwnerId(), 4);
    }
}

TEST_F(ViewerTest, NewViewerTypeKeepsOnlyTheTwoAddresses) {
    m_oViewer->SetViewerType(vt_Stocks);
    EXPECT_EQ(m_oViewer->ServerAddress(), "http://localhost/olmaris/");
    EXPECT_EQ(m_oViewer->GridLayoutPath(), "http://localhost/olmaris/gridlayouts/");
    m_oViewer->SetServerAddress("http://example.org/app/");
    m_oViewer->SetGridLayoutPath("");
    m_oViewer->SetOwnerId(9);
    m_oViewer->SetWatchListId(5);
    m_oViewer->Strategy()->ViewerElements()->SetSortInfo(4, 1, 5, 0);

    m_oViewer->SetViewerType(vt_Industries);
    EXPECT_EQ(m_oViewer->ServerAddress(), "http://example.org/app/");
    EXPECT_EQ(m_oViewer->GridLayoutPath(), "http://localhost/olmaris/gridlayouts/");
    EXPECT_EQ(m_oViewer->OwnerId() + m_oViewer->WatchListId(), 0);
    EXPECT_EQ(m_oViewer->Strategy()->ViewerElements()->PriSortFieldId(),
              ViewerElements().PriSortFieldId());
    EXPECT_EQ(m_oViewer->PrimaryGrid()->ViewerDataType(), vt_Industries);
}

TEST_F(ViewerTest, PortfolioAndWatchListExcludeEachOther) {
    m_oViewer->SetViewerType(vt_Stocks);
    m_oViewer->SetWatchListId(5);
    LetProperty(*m_oViewer, "PortfolioID", Variant(int32_t{8}));
    EXPECT_EQ(m_oViewer->WatchListId(), 0);
    EXPECT_EQ(m_oViewer->PortfolioID(), 8);
    m_oViewer->SetWatchListId(6);
    EXPECT_EQ(m_oViewer->PortfolioID(), 0);
}

TEST_F(ViewerTest, SurfaceGeometryInTwips) {
    m_oViewer->SetViewerType(vt_Stocks);
    m_oViewer->Strategy()->ViewerElements()->SetDoubleGrid(true);
    m_oViewer->SetExtent(12000, 8000);
    EXPECT_EQ(m_oViewer->RunningIndicatorRect(), (TwipsRect{4560, 3400, 2880, 1200}));  // centred
    EXPECT_EQ(m_oViewer->SecondaryGridRect(), (TwipsRect{30, 7295, 11940, 705}));
}

TEST_F(ViewerTest, CaptionsFollowTheScope) {
    struct Case {
        ViewerType Type;
        int32_t Industry;
        int32_t Sector;
        const char* Caption;
    };
    const Case cases[] = {
        {vt_Stocks, 0, 0, "Stock Viewer"},          {vt_Stocks, 3, 0, "Stocks in Industry Group: "},
        {vt_Stocks, 3, 2, "Stocks in Sector: "},    {vt_Industries, 0, 2, "Industries in Sector: "},
        {vt_Industries, 0, 0, "Industry Viewer"},   {vt_Sectors, 0, 0, "Sector Viewer"},
        {vt_StockHistory, 0, 0, "Stock History"},   {vt_SectorHistory, 0, 0, "Sector History"},
        {vt_FinderResults, 0, 0, "Finder Results"}, {vt_Portfolio, 0, 0, "Portfolio"}};
    for (const Case& test : cases) {
        m_oViewer->SetViewerType(test.Type);
        m_oViewer->SetIndCode(test.Industry);
        m_oViewer->SetSectorCode(test.Sector);
        EXPECT_EQ(GetProperty(*m_oViewer, "ViewerTypeCaption").ToString(), test.Caption);
    }
    m_oViewer->SetViewerType(vt_FinderResults);
    EXPECT_EQ(m_oViewer->ViewerOtherCaption(), "Finder Results");
    m_oViewer->SetViewerType(vt_Sectors);
    EXPECT_EQ(m_oViewer->ViewerOtherCaption(), "");
}

TEST_F(ViewerTest, StartDateTextIsReadWithDotsAsSlashes) {
    m_oViewer->SetViewerType(vt_Stocks);
    std::array<Variant, 1> args{Variant("12.04.2026")};
    m_oViewer->Invoke("StartDateStr", InvokeKind::PropertyLet, args);
    const double expected = DateSerial(2026, 12, 4);
    EXPECT_EQ(m_oViewer->StartDate(), expected);
    EXPECT_EQ(args[0].ToString(), "12/04/2026");

    EXPECT_EQ(ErrorNumberOf([&] { m_oViewer->SetStartDateStr("not a day"); }),
              errors::kTypeMismatch);
    EXPECT_EQ(m_oViewer->StartDate(), expected);
}

TEST_F(ViewerTest, RemoteServerKeepsTheHostOfAnAddress) {
    const SupportUtility utility;
    m_oViewer->SetRemoteServer("http://quotes.example.com/facade");
    EXPECT_EQ(utility.RemoteServer(), "HTTP://QUOTES.EXAMPLE.COM");
    m_oViewer->SetRemoteServer("no-slashes");
    m_oViewer->SetRemoteServer("a//");  // "HTTP://" alone is too short to keep
    EXPECT_EQ(utility.RemoteServer(), "HTTP://QUOTES.EXAMPLE.COM");
}

TEST_F(ViewerTest, DetailsCarryTheDateOfTheViewerTypeOrOfTheHistoryRow) {
    m_oViewer->SetViewerType(vt_Sectors);
    m_oViewer->SetStartDate(0);
    m_oViewer->ShowDetails();
    m_oViewer->ShowStockA();
    EXPECT_TRUE(m_oHost.Events.empty()) << "no date yet";

    m_oViewer->SetStartDate(LastDay());
    m_oViewer->ShowStockA();
    m_oViewer->ShowDetails();
    ASSERT_EQ(m_oHost.Names(), std::vector<std::string>{"ShowInfo"});
    EXPECT_EQ(m_oHost.Events[0].Args[1].ToDate(), LastDay());

    m_oViewer->SetViewerType(vt_Portfolio);
    m_oViewer->SetStartDate(LastDay());
    m_oViewer->ShowStockA();
    ASSERT_NE(m_oHost.Last("ShowStockA"), nullptr);
    EXPECT_EQ(m_oHost.Last("ShowStockA")->Args[1].ToDate(), 0);
    // A history's details carry the trading date of the current row.
    m_oViewer->SetViewerType(vt_SectorHistory);
    m_oViewer->SetSectorCode(1);
    m_oViewer->SetStartDate(LastDay() - 10);
    m_oViewer->SetEndDate(LastDay());
    ASSERT_TRUE(m_oViewer->UpdateViewer());
    m_oHost.Events.clear();
    m_oViewer->ShowDetails();
    m_oViewer->ShowStockA();
    ASSERT_EQ(m_oHost.Names(), std::vector<std::string>{"ShowInfo"});
    EXPECT_EQ(m_oHost.Events[0].Args[1].ToDate(), PrimaryValue("Trading_Date").ToDate());
}

TEST_F(ViewerTest, DestroyReleasesTheStrategyAndTheGridWrappers) {
    m_oViewer->SetViewerType(vt_Stocks);
    m_oViewer->SetCompanyList(std::make_shared<Recordset>());
    const std::weak_ptr<ViewerFunctionality> strategy = m_oViewer->Strategy();
    const std::weak_ptr<Grid> grid = m_oViewer->PrimaryGrid();
    CallMethod(*m_oViewer, "Destroy");
    EXPECT_TRUE(strategy.expired() && grid.expired());
    EXPECT_EQ(m_oViewer->CompanyList(), nullptr);
}

}  // namespace
}  // namespace qv::testing
