// The start-up of the control master: the start-up array, FinalizeInit and the framework's
// questions, against a scripted host.
#include "tests/host/master_test.h"

#include <array>

namespace qv::testing {
namespace {

using Lines = std::vector<std::string>;

TEST_F(MasterTest, StartupCopiesTheArrayIntoTheControlInOrder) {
    m_oMaster->InitMainControl(Startup(), *m_oHost);
    EXPECT_EQ(m_oHost->Log()->Lines(),
              (Lines{"host.TC", "main.TimeCode = \"tc-1\"", "main.ViewerType = 0",
                     "main.OwnerId = 7", "main.MaxRows = 250", "main.ReturnAll = False",
                     "main.StartDate = #12/4/2026#", "main.AvgType = \"A\"", "main.IndCode = 12",
                     "host.FrameVisible = False", "main.UpdateViewer()"}));
}

TEST_F(MasterTest, StartupThatIsNoArrayDoesNothing) {
    m_oMaster->InitMainControl(Variant("0,7"), *m_oHost);
    EXPECT_TRUE(m_oHost->Log()->Calls().empty());
    EXPECT_TRUE(m_platform.Reporter().Reports().empty());
}

struct StartupCase {
    const char* Name;
    std::vector<std::pair<int32_t, Variant>> Changes;
    Lines Members;
    Lines Expected;
};

TEST_F(MasterTest, StartupElements) {
    const Lines limits{"MaxRows", "ReturnAll"};
    const Lines codes{"IndCode", "SectorCode", "Symbol"};
    const Variant otherDay = Variant::Date(DateSerial(2026, 11, 24));
    const std::vector<StartupCase> cases{
        {"rows and flag as text",
         {{3, Variant("100, True")}},
         limits,
         {"main.MaxRows = 100", "main.ReturnAll = True"}},
        {"rows alone return all",
         {{3, Variant(int32_t{250})}},
         limits,
         {"main.MaxRows = 250", "main.ReturnAll = True"}},
        {"element 9 zero date",
         {{9, Variant::Date(0)}},
         {"StartDate"},
         {"main.StartDate = #12/4/2026#"}},
        {"element 9 a date", {{9, otherDay}}, {"StartDate"}, {"main.StartDate = #11/24/2026#"}},
        {"element 9 date text",
         {{9, Variant("11/24/2026")}},
         {"StartDate"},
         {"main.StartDate = #11/24/2026#"}},
        {"element 9 no date",
         {{9, Variant(int32_t{5})}},
         {"StartDate"},
         {"main.StartDate = #12/4/2026#"}},
        {"element 10 with upper bound 10",
         {{10, Variant(int32_t{3})}},
         {"PortfolioID"},
         {"main.PortfolioID = 3"}},
        {"element 10 zero", {{10, Variant(int32_t{0})}}, {"PortfolioID"}, {}},
        {"element 10 with upper bound 11",
         {{10, Variant(int32_t{3})}, {11, Variant()}},
         {"PortfolioID"},
         {}},
        {"element 11 numeric", {{11, Variant("6")}}, {"ProgramsMask"}, {"main.ProgramsMask = 6"}},
        {"element 11 not numeric", {{11, Variant("all")}}, {"ProgramsMask"}, {}},
        {"stocks in a sector", {{6, Variant(int16_t{7})}}, codes, {"main.SectorCode = 12"}},
        {"industries", {{0, Variant(int16_t{1})}}, codes, {"main.IndCode = 12"}},
        {"industries of a sector",
         {{0, Variant(int16_t{1})}, {6, Variant(int16_t{8})}},
         codes,
         {"main.SectorCode = 12"}},
        {"sectors", {{0, Variant(int16_t{2})}}, codes, {}},
        {"stock history",
         {{0, Variant(int16_t{3})}, {8, Variant("IBM")}},
         codes,
         {"main.Symbol = \"IBM\""}},
        {"industry history", {{0, Variant(int16_t{4})}}, codes, {"main.IndCode = 12"}},
        {"sector history", {{0, Variant(int16_t{5})}}, codes, {"main.SectorCode = 12"}},
        {"finder results", {{0, Variant(int16_t{6})}}, codes, {}},
        {"watch-list mode waits for a watch list",
         {{7, Variant(true)}},
         {"Caption", "FrameVisible", "UpdateViewer"},
         {"host.Caption = \"Please select a watchlist.\"", "host.FrameVisible = True"}},
    };
    for (const StartupCase& test : cases) {
        SCOPED_TRACE(test.Name);
        m_oHost->Log()->Clear();
        m_oMaster->InitMainControl(Startup(test.Changes), *m_oHost);
        EXPECT_EQ(CallsTo(test.Members), test.Expected);
    }
    EXPECT_TRUE(m_platform.Reporter().Reports().empty());
}

struct FinalizeCase {
    const char* Name;
    std::vector<std::pair<int32_t, Variant>> Changes;
    int32_t CurrentWatchList;
    Lines Expected;  // the actions, gets left out
};

TEST_F(MasterTest, FinalizeInitByViewerType) {
    const std::string helperInit =
        "helper.Init(#12/3/2026#, #12/4/2026#, 0, #12/4/2026#, 250, False)";
    const std::string helperRefresh[2] = {"helper.SetSort = \"Price\"", "helper.SetBSH = \"B 1\""};
    const Lines watchListPanel{"host.ShowSupportControl(\"ctlWatchListSupport\")",
                               "host.SplitterLeft = 3500", "host.MinSplitterWidth = 3500"};
    const std::vector<FinalizeCase> cases{
        {"stocks", {}, 0, {helperInit, helperRefresh[0], helperRefresh[1]}},
        {"sectors",
         {{0, Variant(int16_t{2})}},
         0,
         {helperInit, helperRefresh[0], helperRefresh[1]}},
        {"stock watch lists, none current",
         {{7, Variant(true)}},
         0,
         {"facade.getdefaultmaxrows(3, 0, False, 7)", "main.MaxRows = 80", "main.ReturnAll = True",
          "helper.Init(#12/3/2026#, #12/4/2026#, 0, #12/4/2026#, 80, True)", helperRefresh[0],
          helperRefresh[1], "ctlWatchListSupport.ShowClose = True", "helper.SetupControl(13)",
          "ctlWatchListSupport.Init(7, 0, #12/4/2026#)", watchListPanel[0], watchListPanel[1],
          watchListPanel[2]}},
        {"industry watch list current, portfolio given",
         {{0, Variant(int16_t{1})}, {7, Variant(true)}, {10, Variant(int32_t{3})}},
         4,
         {"facade.getdefaultmaxrows(4, 0, False, 7)",
          "main.MaxRows = 80",
          "main.ReturnAll = True",
          "helper.Init(#12/3/2026#, #12/4/2026#, 0, #12/4/2026#, 80, True)",
          helperRefresh[0],
          helperRefresh[1],
          "ctlWatchListSupport.ShowClose = True",
          "helper.SetupControl(14)",
          "ctlWatchListSupport.Init(7, 1, #12/4/2026#)",
          "main.WatchListId = 4",
          "main.OwnerId = 7",
          "main.StartDate = #12/4/2026#",
          "main.AvgType = \"A\"",
          "main.UpdateViewer()",
          "host.FrameVisible = False",
          "host.Caption = \"\"",
          helperRefresh[0],
          helperRefresh[1],
          "host.ShowSupportControl(\"ctlPortfolioSupport\")",
          "host.SplitterLeft = 3700",
          "host.MinSplitterWidth = 3700",
          "ctlPortfolioSupport.RaiseHoldings = False",
          "ctlPortfolioSupport.CurrentItem = 3"}},
        {"sector watch lists",
         {{0, Variant(int16_t{2})}, {7, Variant(true)}},
         0,
         {"facade.getdefaultmaxrows(4, 0, False, 7)", "main.MaxRows = 80", "main.ReturnAll = True",
          "helper.Init(#12/3/2026#, #12/4/2026#, 0, #12/4/2026#, 80, True)", helperRefresh[0],
          helperRefresh[1], "ctlWatchListSupport.ShowClose = True",
          "ctlWatchListSupport.Init(7, 2, #12/4/2026#)", watchListPanel[0], watchListPanel[1],
          watchListPanel[2]}},
        {"stock history", {{0, Variant(int16_t{3})}}, 0, {"ctlHelper.Init(16, 250, False)"}},
        {"industry history", {{0, Variant(int16_t{4})}}, 0, {"ctlHelper.Init(17, 250, False)"}},
        {"sector history", {{0, Variant(int16_t{5})}}, 0, {"ctlHelper.Init(18, 250, False)"}},
        {"finder results", {{0, Variant(int16_t{6})}}, 0, {}},
        {"portfolio", {{0, Variant(int16_t{7})}}, 0, {}},
    };
    for (const FinalizeCase& test : cases) {
        SCOPED_TRACE(test.Name);
        m_oHost->SupportControl("ctlWatchListSupport")
            .Answer("CurrentWatchListID", Variant(test.CurrentWatchList));
        CControlMaster master;
        master.InitMainControl(Startup(test.Changes), *m_oHost);
        m_oHost->Log()->Clear();
        master.FinalizeInit(*m_oHost);
        EXPECT_EQ(Actions(), test.Expected);
    }
    EXPECT_TRUE(m_platform.Reporter().Reports().empty());
}

struct QuestionCase {
    int16_t ViewerType;
    bool WatchList;
    const char* Caption;
    const char* HelperClass;
    const char* Descriptor;
};

TEST_F(MasterTest, FrameworkQuestionsByViewerTypeAndMode) {
    const char* standard = "qorvantosupport.ctlStandardViewerSupport";
    const char* history = "qorvantosupport.ctlHistorySupport";
    const char* watchLists = "qorvantoWatchlist.WatchList,ctlWatchListSupport,3500,False";
    const std::vector<QuestionCase> cases{
        {0, false, "Stock Viewer", standard, "unchanged"},
        {0, true, "WatchLists", standard, watchLists},
        {1, false, "Industry Viewer", standard, "unchanged"},
        {1, true, "Industry WatchLists", standard, watchLists},
        {2, false, "Sector Viewer", standard, "unchanged"},
        {2, true, "Sector Viewer", standard, watchLists},
        {3, false, "", history, "unchanged"},
        {4, true, "", history, "unchanged"},
        {5, false, "", history, "unchanged"},
        {6, false, "", standard, "unchanged"},
        {7, false, "Portfolios", standard, "unchanged"},
    };
    for (const QuestionCase& test : cases) {
        SCOPED_TRACE(std::to_string(test.ViewerType) + (test.WatchList ? " watch lists" : ""));
        CControlMaster master;
        master.InitMainControl(
            Startup({{0, Variant(test.ViewerType)}, {7, Variant(test.WatchList)}}), *m_oHost);
        std::array<Variant, 1> className{Variant()};
        master.Invoke("HelperControlInfo", InvokeKind::Method, className);
        std::array<Variant, 1> descriptor{Variant("unchanged")};
        master.Invoke("SupportControlInfo", InvokeKind::Method, descriptor);
        EXPECT_EQ(master.Invoke("NavigateCaption", InvokeKind::PropertyGet, {}).ToString(),
                  test.Caption);
        EXPECT_EQ(className[0].ToString(), test.HelperClass);
        EXPECT_EQ(descriptor[0].ToString(), test.Descriptor);
    }
}

}  // namespace
}  // namespace qv::testing
