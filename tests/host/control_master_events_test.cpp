// The control master's commands: event commands, page addresses, keyboard shortcuts, toolbar
// clicks, and how bad input is reported, against a scripted host.
#include "support/test_helpers.h"
#include "tests/host/master_test.h"

#include <array>
#include <functional>

namespace qv::testing {
namespace {

using Lines = std::vector<std::string>;

const std::string kHelperRefresh[2] = {"helper.SetSort = \"Price\"", "helper.SetBSH = \"B 1\""};

struct EventCase {
    const char* Name;
    std::vector<Variant> Params;
    Mode ListMode;
    int32_t RecordCount;
    int32_t WatchListId;
    Lines Expected;  // the actions, gets left out
};

TEST_F(MasterTest, EventCommands) {
    using enum Mode;
    const Variant day = Variant::Date(DateSerial(2026, 11, 24));
    const Variant none;
    const Variant fifty(int32_t{50});
    const std::vector<EventCase> cases{
        {"refreshhistory",
         {none, fifty, Variant(false)},
         Plain,
         1,
         0,
         {"main.MaxRows = 50", "main.ReturnAll = False", "main.UpdateViewer()"}},
        {"DATECHANGED",
         {none, day, fifty, Variant(true)},
         Plain,
         1,
         0,
         {"main.StartDate = #11/24/2026#", "main.MaxRows = 50", "main.ReturnAll = True",
          "main.UpdateViewer()", kHelperRefresh[0], kHelperRefresh[1]}},
        {"DATECHANGED",
         {none, day, fifty, Variant(true)},
         WatchList,
         1,
         0,
         {"main.MaxRows = 50", "main.ReturnAll = True"}},
        {"DateChanged",
         {none, day, fifty, Variant(true)},
         WatchList,
         1,
         4,
         {"main.StartDate = #11/24/2026#", "main.MaxRows = 50", "main.ReturnAll = True",
          "main.UpdateViewer()", kHelperRefresh[0], kHelperRefresh[1],
          "ctlWatchListSupport.CurrentDate = #11/24/2026#"}},
        {"EDITSORT", {}, Plain, 1, 0, {"main.Sort()", kHelperRefresh[0], kHelperRefresh[1]}},
        {"EDITSORT", {}, WatchList, 1, 0, {}},
        {"CHANGESORT", {}, Plain, 1, 0, {kHelperRefresh[0], kHelperRefresh[1]}},
        {"FINDSYMBOL",
         {Variant("IBM")},
         Plain,
         1,
         0,
         {"main.SearchStocks(\"IBM\")", kHelperRefresh[0], kHelperRefresh[1]}},
        {"FIND", {}, Plain, 1, 0, {"main.SearchStocks(\"\")"}},
        {"FIND", {}, Plain, 0, 0, {}},
        {"WATCHLISTCHANGED",
         {none, Variant(int32_t{7}), Variant(int32_t{0})},
         WatchList,
         1,
         4,
         {"host.FrameVisible = True", "host.Caption = \"Please select a WatchList.\"",
          "main.ClearViewer()", "main.WatchListId = 0", "helper.SetBSH = \"\""}},
        {"WATCHLISTCHANGED",
         {Variant(int32_t{0}), Variant(int32_t{8}), Variant(int32_t{9}), day, Variant("B")},
         WatchList,
         1,
         0,
         {"host.FrameVisible = True", "host.Caption = \"Loading . . .\"", "main.WatchListId = 9",
          "main.OwnerId = 8", "main.StartDate = #12/3/2026#", "main.AvgType = \"B\"",
          "main.UpdateViewer()", "host.FrameVisible = False", "host.Caption = \"\"",
          kHelperRefresh[0], kHelperRefresh[1]}},
        {"WATCHLISTADDED",
         {Variant(int32_t{12})},
         WatchList,
         1,
         4,
         {"ctlWatchListSupport.Init(7, 12, #12/4/2026#)"}},
        {"WATCHLISTADDED", {Variant(int32_t{12})}, WatchList, 1, 0, {}},
        {"FINDINDUSTRIES", {Variant("Chem")}, Plain, 1, 0, {"main.SearchStocks(\"Chem\")"}},
        {"GETINFO",
         {},
         Plain,
         1,
         4,
         {"ctlSearchSupport.WatchListId = 4", "ctlSearchSupport.ViewerType = 0",
          "ctlSearchSupport.IsWin32 = Empty", "ctlSearchSupport.CurrentDate = #12/4/2026#",
          "ctlSearchSupport.IndCode = 12", "ctlSearchSupport.SectorCode = Empty"}},
        {"CLOSECLICKED",
         {},
         Plain,
         1,
         0,
         {"host.RemoveSupportControl(\"ctlSearchSupport\")", "host.ToolBarVisible = False",
          "host.HideSupportControls()"}},
        {"ITEMSELECTED",
         {Variant(int32_t{5})},
         Portfolio,
         1,
         0,
         {"host.FrameVisible = False", "main.PortfolioID = 5", "main.UpdateViewer()",
          kHelperRefresh[0], kHelperRefresh[1]}},
        {"ITEMSELECTED", {Variant(int32_t{5})}, Plain, 1, 0, {}},
        {"IMPORT", {}, WatchList, 1, 4, {"ctlWatchListSupport.Import()"}},
        {"RESIZE", {}, Plain, 1, 0, {"host.ResizeMainControl(400)"}},
        {"EDITLAYOUT", {}, WatchList, 1, 0, {"main.Customize()"}},
        {"CHANGELAYOUT", {Variant(int32_t{21})}, Plain, 1, 0, {"main.LoadLayout(21)"}},
        {"SAVELAYOUT", {Variant(true)}, Plain, 1, 0, {"main.SaveLayout(True)"}},
        {"CUSTOMIZELAYOUT", {}, Plain, 1, 0, {"main.Customize()"}},
        {"CUSTOMIZELAYOUT", {}, WatchList, 1, 0, {}},
        {"DELETE",
         {Variant("IBM,MSFT")},
         WatchList,
         1,
         4,
         {"ctlWatchListSupport.DeleteItems(\"IBM,MSFT\")"}},
        {"QUICKTEST", {}, Plain, 1, 0, {"main.ShowQuickTest()"}},
        {"QUICKTEST", {}, Plain, 0, 0, {}},
        {"PRINTSELECTED", {Variant(true)}, Plain, 1, 0, {"main.PrintSelected(True)"}},
        {"PRINTSELECTED", {Variant(true)}, Plain, 0, 0, {}},
        {"ADDTOWATCHLIST", {Variant::Nothing()}, Plain, 1, 0, {"main.AddToWatchList(Nothing)"}},
        {"ADDTOWATCHLIST", {Variant::Nothing()}, Plain, 0, 0, {}},
        {"ShowHistory",
         {},
         Plain,
         1,
         0,
         {"host.FrameVisible = False",
          "navigator.Navigate(\"pagecontroller.aspx?pagetype=7&symbol=IBM\", True)"}},
        {"SHOWNEWS",
         {},
         Plain,
         1,
         0,
         {"host.FrameVisible = False", "navigator.Navigate(\"\", True)"}},
    };
    for (const EventCase& test : cases) {
        SCOPED_TRACE(std::string(test.Name) + " " +
                     std::to_string(static_cast<int>(test.ListMode)) + " rows " +
                     std::to_string(test.RecordCount) + " list " +
                     std::to_string(test.WatchListId));
        Start(test.ListMode);
        m_oHost->Main().Answer("RecordCount", Variant(test.RecordCount));
        m_oHost->Main().Answer("WatchListId", Variant(test.WatchListId));
        m_oHost->Main().Answer("Win32Key", Variant("IBM,MSFT"));
        m_oHost->Main().Answer("SelectedGridType", Variant(int16_t{0}));
        m_oMaster->HandleEvents(*Event(test.Name, test.Params), *m_oHost);
        EXPECT_EQ(Actions(), test.Expected);
    }
    EXPECT_TRUE(m_platform.Reporter().Reports().empty());
}

TEST_F(MasterTest, APopUpRefillsTheFieldsBeforeSortingPrintingOrCustomizing) {
    Start(Mode::Plain);
    m_oHost->Answer("IAmPopUp", Variant(true));
    m_oHost->Main().Answer("RecordCount", Variant(int32_t{3}));
    for (const char* name : {"EDITSORT", "PRINTSELECTED", "EDITLAYOUT"}) {
        m_oHost->Log()->Clear();
        m_oMaster->HandleEvents(*Event(name, {Variant(false)}), *m_oHost);
        EXPECT_EQ(Actions().at(0), "main.ReFillParams()") << name;
    }
}

TEST_F(MasterTest, WatchListChangedWithoutHelperTakesTheEventsDate) {
    Start(Mode::WatchList);
    m_oHost->RemoveHelper();
    m_oMaster->HandleEvents(
        *Event("WATCHLISTCHANGED", {Variant(), Variant(int32_t{7}), Variant(int32_t{9}),
                                    Variant::Date(kListDay), Variant("A")}),
        *m_oHost);
    EXPECT_EQ(CallsTo({"StartDate"}), (Lines{"main.StartDate = #12/4/2026#"}));
}

TEST_F(MasterTest, ClosingPanelsInWatchListModeBringsBackTheToolBarButton) {
    Start(Mode::WatchList);
    m_oMaster->CloseSupport(*m_oHost);
    const std::string picture = (m_platform.LibraryPath() / "Watchlist.jpg").string();
    EXPECT_EQ(Actions(),
              (Lines{"host.RemoveSupportControl(\"ctlSearchSupport\")",
                     "host.ToolBarVisible = True", "host.HideSupportControls()",
                     "host.AddToolBarButton(\"WatchLists\", \"\", 0, \"" + picture + "\")"}));
}

struct AddressCase {
    const char* Name;
    std::vector<Variant> Params;
    const char* Keys;
    int16_t GridType;
    int32_t RecordCount;
    int32_t WatchListId;
    int32_t ViewerType;
    std::string Expected;
};

TEST_F(MasterTest, NavigationAddresses) {
    const Variant day = Variant::Date(kListDay);
    const std::string pc = "pagecontroller.aspx?";
    const auto info = [&](int32_t type) { return std::vector<Variant>{Variant(type), day}; };
    const std::vector<Variant> dated{Variant(), day};
    const std::vector<AddressCase> cases{
        {"SHOWHISTORY", {}, "IBM,MSFT", 0, 2, 0, 0, pc + "pagetype=7&symbol=IBM"},
        {"showhistory", {}, "IBM", 3, 2, 0, 0, pc + "pagetype=7&symbol=IBM"},
        {"SHOWHISTORY", {}, "IBM", 5, 2, 0, 0, pc + "pagetype=7&symbol=IBM"},
        {"SHOWHISTORY", {}, "12,14", 1, 2, 0, 0, pc + "pagetype=8&indcode=12"},
        {"SHOWHISTORY", {}, "3", 2, 2, 0, 0, pc + "pagetype=9&sectorcode=3"},
        {"SHOWHISTORY", {}, "IBM", -1, 2, 0, 0, ""},
        {"SHOWHISTORY", {}, "IBM", 0, 0, 0, 0, ""},
        {"SHOWSTOCKA", dated, "IBM,MSFT", 0, 2, 0, 0, pc + "pagetype=40&date=12/4/2026&symbol=IBM"},
        {"SHOWSTOCKA", dated, "12", 1, 2, 0, 0, ""},
        {"SHOWSTOCKA", dated, "IBM", 3, 2, 0, 0, ""},
        {"SHOWINFO", info(1), "IBM,MSFT", 0, 2, 0, 0, pc + "pagetype=37&symbol=IBM&date=12/4/2026"},
        {"SHOWINFO", info(6), "12", 1, 2, 0, 0, pc + "pagetype=49&indcode=12&date=12/4/2026"},
        {"SHOWINFO", info(15), "3", 2, 2, 0, 0, pc + "pagetype=52&sectorcode=3&date=12/4/2026"},
        {"SHOWINFO", info(7), "IBM", -1, 2, 0, 0, ""},
        {"SHOWINFO", info(2), "IBM", 0, 2, 0, 0, ""},
        {"SHOWINFO", info(8), "12", 1, 2, 0, 0, pc + "pagetype=49&indcode=12&date=12/4/2026"},
        {"SHOWINFO", info(16), "3", 2, 2, 0, 0, pc + "pagetype=52&sectorcode=3&date=12/4/2026"},
        {"SHOWINFO", info(3), "IBM", 0, 2, 0, 0, pc + "pagetype=52&sectorcode=IBM&date=12/4/2026"},
        {"SHOWINFO", info(4), "IBM", 0, 2, 0, 0, ""},
        {"GRAPH", {}, "IBM,MSFT", 0, 2, 0, 0, pc + "pagetype=10&iwp=0&symbol=IBM,MSFT"},
        {"GRAPH", {}, "12,14", 1, 2, 0, 0, pc + "pagetype=11&iwp=0&indcode=12,14"},
        {"GRAPH", {}, "3", 2, 2, 0, 0, pc + "pagetype=12&iwp=0&sectorcode=3"},
        {"GRAPH", {}, "", 0, 2, 4, 0, pc + "pagetype=17&wlid=4&timeID=880"},
        {"GRAPH", {}, "", 1, 2, 4, 1, ""},
        {"GRAPH", {}, "", 0, 2, 0, 0, pc + "pagetype=10&iwp=0&symbol="},
        {"GRAPH", {}, "IBM", 0, 0, 0, 0, ""},
        {"SHOWNEWS", {}, "IBM", 0, 2, 0, 0, ""},
    };
    for (const AddressCase& test : cases) {
        SCOPED_TRACE(std::string(test.Name) + " " + test.Keys + " grid " +
                     std::to_string(test.GridType));
        RecordingObject& main = m_oHost->Main();
        main.Answer("Win32Key", Variant(test.Keys));
        main.Answer("SelectedGridType", Variant(test.GridType));
        main.Answer("RecordCount", Variant(test.RecordCount));
        main.Answer("WatchListId", Variant(test.WatchListId));
        main.Answer("ViewerType", Variant(test.ViewerType));
        main.Answer("StartTimeId", Variant(int32_t{880}));
        std::string url = "stale";
        m_oMaster->BuildNavigationUrl(*Event(test.Name, test.Params), *m_oHost, url);
        EXPECT_EQ(url, test.Expected);
    }
}

struct KeyCase {
    int16_t Key;
    int16_t Shift;
    int32_t RecordCount;
    Mode ListMode;
    int32_t WatchListId;
    Lines Expected;
};

TEST_F(MasterTest, KeyboardShortcuts) {
    using enum Mode;
    const std::vector<KeyCase> cases{
        {'A', 2, 1, Plain, 0, {"main.ShowStockA()"}},
        {'a', 2, 1, Plain, 0, {"main.ShowStockA()"}},
        {'D', 3, 1, Plain, 0, {"main.ShowDetails()"}},
        {'e', 2, 1, Plain, 0, {"main.Sort()", kHelperRefresh[0], kHelperRefresh[1]}},
        {'F', 2, 1, Plain, 0, {"main.SearchStocks(\"\")"}},
        {'G', 2, 1, Plain, 0, {"main.RaiseNavigate(3)"}},
        {'H', 2, 1, Plain, 0, {"main.RaiseNavigate(0)"}},
        {'L', 2, 1, Plain, 0, {"main.Customize()"}},
        {'L', 2, 1, WatchList, 0, {}},
        {'l', 2, 1, WatchList, 4, {"main.Customize()"}},
        {'P', 2, 1, Plain, 0, {"main.PrintControl()"}},
        {'P', 2, 0, Plain, 0, {}},
        {'P', 1, 1, Plain, 0, {}},
        {'Q', 2, 1, Plain, 0, {"main.ShowQuickTest()"}},
        {'W', 2, 1, Plain, 0, {"main.AddToWatchList()"}},
        {'Z', 2, 1, Plain, 0, {}},
        {112, 2, 1, Plain, 0, {"main.PrintControl()"}},
    };
    for (const KeyCase& test : cases) {
        SCOPED_TRACE(std::to_string(test.Key) + " shift " + std::to_string(test.Shift));
        Start(test.ListMode);
        m_oHost->Main().Answer("RecordCount", Variant(test.RecordCount));
        m_oHost->Main().Answer("WatchListId", Variant(test.WatchListId));
        std::array<Variant, 3> args{Variant(test.Key), Variant(test.Shift), Variant(m_oHost)};
        m_oMaster->Invoke("KeyReleased", InvokeKind::Method, args);
        EXPECT_EQ(Actions(), test.Expected);
        EXPECT_EQ(args[0], Variant(test.Key));
    }
}

TEST_F(MasterTest, ToolBarClicks) {
    const std::vector<std::pair<const char*, Lines>> cases{
        {"WatchLists",
         {"host.SplitterLeft = 3500", "host.MinSplitterWidth = 3500",
          "host.ShowSupportControl(\"CTLWATCHLISTSUPPORT\")", "host.ToolBarVisible = False"}},
        {"find", {"main.SearchStocks(\"\")"}},
        {"PORTFOLIO",
         {"host.SplitterLeft = 3500", "host.MinSplitterWidth = 3500",
          "host.ShowSupportControl(\"ctlPortfolioSupport\")", "host.ToolBarVisible = False"}},
        {"Print", {}},
    };
    for (const auto& [key, expected] : cases) {
        m_oHost->Log()->Clear();
        m_oMaster->HandleToolBarClick(key, *m_oHost);
        EXPECT_EQ(Actions(), expected) << key;
    }
}

TEST_F(MasterTest, ChangeDateRaisesItsFailureAgainUnchanged) {
    Start(Mode::Plain);
    m_oHost->Main().Fail("UpdateViewer", AutomationError(3021, "Recordset", "No current record"));
    try {
        m_oMaster->ChangeDate(kListDay, *m_oHost, 50, true);
        FAIL() << "no failure";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.Number(), 3021);
        EXPECT_EQ(error.Source(), "Recordset");
        EXPECT_EQ(error.Description(), "No current record");
    }
}

struct BadInputCase {
    const char* Name;
    std::function<void(CControlMaster&, ScriptedHost&)> Act;
    const char* Label;
    int32_t Number;
};

TEST_F(MasterTest, BadInputIsReportedAndLeavesTheMasterUsable) {
    const auto event = [](const char* name, std::vector<Variant> params) {
        return [=](CControlMaster& master, ScriptedHost& host) {
            master.HandleEvents(*Event(name, params), host);
        };
    };
    const std::vector<BadInputCase> cases{
        {"start-up array too short",
         [](CControlMaster& master, ScriptedHost& host) {
             master.InitMainControl(Variant(VariantArray::Vector({Variant(int16_t{0})})), host);
         },
         "CControlMaster:InitMainControl", 9},
        {"start-up element of the wrong type",
         [](CControlMaster& master, ScriptedHost& host) {
             master.InitMainControl(Startup({{1, Variant("owner")}}), host);
         },
         "CControlMaster:InitMainControl", 13},
        {"event without its parameters", event("DATECHANGED", {Variant()}),
         "CControlMaster:HandleEvents", 9},
        {"support control the host lacks", event("GETINFO", {}), "CControlMaster:HandleEvents", 5},
        {"no navigator",
         [](CControlMaster& master, ScriptedHost& host) {
             master.KillMe();
             master.HandleEvents(*Event("GRAPH"), host);
         },
         "CControlMaster:HandleEvents", 91},
        {"the control fails",
         [](CControlMaster& master, ScriptedHost& host) {
             host.Main().Fail("ShowQuickTest", AutomationError(482, "Viewer", "Printer error"));
             master.HandleEvents(*Event("QUICKTEST"), host);
         },
         "CControlMaster:HandleEvents", 482},
        {"no host",
         [](CControlMaster& master, ScriptedHost&) {
             std::array<Variant, 1> args{Variant::Nothing()};
             master.Invoke("FinalizeInit", InvokeKind::Method, args);
         },
         "CControlMaster:FinalizeInit", 91},
    };
    for (const BadInputCase& test : cases) {
        SCOPED_TRACE(test.Name);
        auto host = std::make_shared<ScriptedHost>();
        host->Main().Answer("RecordCount", Variant(int32_t{2}));
        CControlMaster master;
        Variant navigator(std::shared_ptr<DispatchObject>(host->Navigator()));
        master.Initialize(Variant::Nothing(), navigator);
        m_platform.Reporter().ClearRecords();
        test.Act(master, *host);
        ASSERT_EQ(m_platform.Reporter().Reports().size(), 1u);
        EXPECT_EQ(m_platform.Reporter().Reports()[0].Label, test.Label);
        EXPECT_EQ(m_platform.Reporter().Reports()[0].Number, test.Number);
        host->Log()->Clear();
        master.HandleEvents(*Event("RESIZE"), *host);
        EXPECT_EQ(host->Log()->Lines(), (Lines{"host.ResizeMainControl(400)"}));
    }
}

}  // namespace
}  // namespace qv::testing
