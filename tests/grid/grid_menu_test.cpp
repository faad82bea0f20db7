// The Grid's context menu per kind of rows, what its items do, the navigate types and the double
// click, each against the lists of the menu's description.
#include "grid/grid.h"

#include "grid/grid_events.h"
#include "grid/grid_test_support.h"
#include "outside/column_selector.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/error_reporter.h"
#include "outside/facade_protocol.h"
#include "outside/shared_services.h"
#include "outside/vb_date.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

// The options trades the portfolio facade gives, without a database.
class OptionsTradesFacade : public DispatchObject {
  public:
    std::string_view DispatchClassName() const override { return "PortfolioFNTr"; }
    Variant Invoke(std::string_view p_sName, InvokeKind, std::span<Variant> p_args) override {
        OwnerSeen = p_args[0].ToLong();
        EXPECT_EQ(p_sName, facade_protocol::get_options_trades::kMethod);
        auto rows = std::make_shared<Recordset>();
        rows->Fields().Append("Name", adVarChar, 40);
        rows->Fields().Append("Group_ID", adInteger);
        rows->Fields().Append("tradeID", adInteger);
        rows->Open();
        for (const auto& [name, group, trade] : Trades) {
            rows->AddNew({Variant(name), Variant(group), Variant(trade)});
        }
        return RecordsetVariant(rows);
    }

    struct Trade {
        std::string Name;
        int32_t Group;
        int32_t Id;
    };
    static inline std::vector<Trade> Trades;
    static inline int32_t OwnerSeen = 0;
};

// Rows with every field the menus read. IBM and MSFT share sector 30; ACME has no sector, no
// price and an empty industry code.
std::shared_ptr<Recordset> MenuRows(int p_iCount = 3) {
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Symbol", adVarChar, 10);
    rows->Fields().Append("IndCode", adVarChar, 10);
    rows->Fields().Append("SectorCode", adInteger);
    rows->Fields().Append("Stock_ID", adInteger);
    rows->Fields().Append("Trading_Date", adDate);
    rows->Fields().Append("Price", adDouble);
    rows->Open();
    const char* symbols[] = {"IBM", "MSFT", "ACME"};
    for (int i = 0; i < p_iCount; ++i) {
        const bool acme = i == 2;
        rows->AddNew({Variant(i < 3 ? symbols[i] : "S" + std::to_string(i + 1)),
                      Variant(acme ? std::string() : std::to_string(310 + 10 * i)),
                      acme ? Variant::Null() : Variant(int32_t{30}), Variant(int32_t{101 + i}),
                      Variant::Date(DateSerial(2026, 12, 1 + i % 28)),
                      acme ? Variant::Null() : Variant(100.0 + i)});
    }
    if (p_iCount > 0) {
        rows->MoveFirst();
    }
    return rows;
}

const std::string kPrintTail =
    "-\nPage Setup|10|\nPrint Selected Item(s)|5|\nPrint All|4|\nExport|0|\n"
    "  All Rows|6|\n  Selected Rows|7|\n";
const std::string kTail = "-\nCustomize Layout|3|\n" + kPrintTail;

class GridMenuTest : public ::testing::Test, protected testing::GridFixture {
  protected:
    GridMenuTest() {
        m_grid->AddSink(&m_recorder);
        Elements().SetStartDate(DateSerial(2026, 12, 4));
        Elements().SetEndDate(DateSerial(2026, 12, 5));
        OptionsTradesFacade::Trades.clear();
        m_platform.Components().Register(facade_protocol::prog_id::kPortfolioReader,
                                         [] { return std::make_shared<OptionsTradesFacade>(); });
    }

    // The grid as a strategy sets it up, showing p_rows with the first row current.
    void Show(int32_t p_lDataType, ViewerType p_eViewerType, const std::string& p_sTitle,
              int32_t p_lScope = 0, std::shared_ptr<Recordset> p_rows = MenuRows()) {
        Elements().SetViewerType(p_eViewerType);
        Elements().SetGridColumns(gtPrimary, std::make_shared<GridColumns>());
        m_grid->Initialize("", "Main Grid", p_lDataType, p_sTitle, m_strategy.get(), true, false,
                           p_lScope);
        m_grid->SetDataSource(std::move(p_rows));
    }

    // A right click on the current row that chooses p_sPath; the menu shown.
    std::string RightClick(const std::string& p_sPath = "") {
        m_platform.Menus().QueueChoice(p_sPath);
        m_control->MouseUp(gmbRight, 0, 400, 300);
        return m_platform.Menus().Shown().back().Menu;
    }

    testing::EventRecorder m_recorder;
};

struct MenuCase {
    const char* Name;
    int32_t DataType;
    ViewerType Type;
    const char* Title;
    int32_t Scope;
    int32_t WatchListId;
    int32_t ProgramsMask;
    std::string Expected;
};

TEST_F(GridMenuTest, EachKindOfRowsGetsItsMenu) {
    // The row-dependent part of a stock menu; a history reads the row's day, not the start date.
    const auto groups = [](const std::string& d) {
        return "View Industry Details|1|pagecontroller.aspx?pagetype=49&indcode=310&date=" + d +
               "\nView Sector Details|1|pagecontroller.aspx?pagetype=52&sectorcode=30&Date=" + d +
               "\n";
    };
    const std::string industriesOfSector =
        "View Industries in Business Sector|1|pagecontroller.aspx?pagetype=6&sectorcode=30&date=";
    const auto lists = [&](const std::string& d) {
        return industriesOfSector + d +
               "\nView Stocks In Business Sector|1|pagecontroller.aspx?pagetype=5&sectorcode=30&"
               "date=" +
               d + "\n";
    };
    const auto details = [](const std::string& d) {
        return "View Stock Details|1|pagecontroller.aspx?pagetype=37&symbol=IBM&date=" + d +
               "\nView Stock News|26|IBM\n";
    };
    const std::string history =
        "View Historical Data|1|pagecontroller.aspx?pagetype=7&symbol=IBM\n";
    const auto stockMenu = [&](const std::string& d, const std::string& p_sHistory,
                               const char* p_sIndustryOff) {
        return details(d) + "View Stock Analysis|1|pagecontroller.aspx?pagetype=40&date=" + d +
               "&symbol=IBM\n" + groups(d) + "-\n" + p_sHistory +
               "View Stocks in Industry Group|1|pagecontroller.aspx?PageType=4&indcode=310&date=" +
               d + p_sIndustryOff + "\n" + lists(d) +
               "-\nCalculate Option Price|1|pagecontroller.aspx?pagetype=26&symbol=IBM&date=" + d +
               "\n-\nQuick Test|22|QuickTest.asp?symbols=101\nUpcoming Dividend Dates|27|\n-\n";
    };
    const std::string day = "12/4/2026";
    const std::string stockGraphs =
        "View Stock Graph|1|3\nView Industry Graph|1|4\nView Business Sector Graph|1|5\n";
    const std::string severalGraphs =
        "View Multiple Graphs|0|\n  View Multiple Stock Graphs|19|\n  Industry|20|\n"
        "  Sector|21|\n";
    const std::string industryRows =
        groups(day) + "View Historical Data|1|pagecontroller.aspx?pagetype=8&indcode=310\n-\n" +
        "View Stocks in Industry Group|1|pagecontroller.aspx?PageType=4&indcode=310&date=" + day +
        "\n" + industriesOfSector + day +
        "\nView Industry Graph|1|3\nView Business Sector Graph|1|4\n"
        "View Multiple Industry Graphs|20|\n-\nQuick Test|22|\n";
    const std::string average = "View WatchList Average Graph|1|3\n";
    const std::vector<MenuCase> cases = {
        {"stocks", 0, vt_Stocks, "Stock Viewer Report", 0, 0, 0,
         stockMenu(day, history, "") + stockGraphs + severalGraphs +
             "-\nFind Stock|12|\nAdd to WatchList|9|\n" + kTail},
        {"stock history: the row's day", 0, vt_StockHistory, "Stock History Report", 0, 0, 0,
         stockMenu("12/1/2026", "", "") + stockGraphs + kTail},
        {"finder results, advanced graphs, one industry's list scope has no effect", 0,
         vt_FinderResults, "Tandrel Report", 1, 0, SharedServices::kAdvancedGraphProgram,
         stockMenu(day, history, "|off") +
             "View Stock Graph|0|\n  Standard|1|3\n  Tavrenex|1|9\n"
             "View Industry Graph|0|\n  Standard|1|4\n  Tavrenex|1|10\n"
             "View Business Sector Graph|0|\n  Standard|1|5\n  Tavrenex|1|11\n"
             "View Multiple Graphs|0|\n"
             "  View Multiple Stock Graphs|0|\n    Standard|1|6\n    Tavrenex|1|12\n"
             "  Industry|0|\n    Standard|1|7\n    Tavrenex|1|13\n"
             "  Sector|0|\n    Standard|1|8\n    Tavrenex|1|14\n"
             "Add to WatchList|9|\n" +
             kTail},
        {"industries", 1, vt_Industries, "Industry Viewer Report", 0, 0, 0,
         industryRows + "Find Industry|12|\n" + kTail},
        {"the stock viewer's industry grid: no layout item", 1, vt_Stocks,
         "Stock Viewer Industry Report", 0, 0, 0, industryRows + kPrintTail},
        {"industries of a watch list", 1, vt_Stocks, "Stock Viewer Industry Report", 0, 5, 0,
         average},
        {"sectors", 2, vt_Sectors, "Sector Viewer Report", 0, 0, 0,
         "View Sector Details|1|pagecontroller.aspx?pagetype=52&sectorcode=30&Date=12/4/2026\n-\n"
         "View Historical Data|1|pagecontroller.aspx?pagetype=9&sectorcode=30\n-\n" +
             lists(day) +
             "View Business Sector Graph|1|3\nView Multiple Sector Graphs|21|\n"
             "-\nQuick Test|22|\n-\nFind Sector|12|\n" +
             kTail},
        {"sector history, advanced graphs", 2, vt_SectorHistory, "Sector History Report", 0, 0,
         SharedServices::kAdvancedGraphProgram,
         "View Sector "
         "Details|1|pagecontroller.aspx?pagetype=52&sectorcode=30&Date=12/1/2026\n-\n-\n" +
             lists("12/1/2026") +
             "View Business Sector Graph|0|\n  Standard|1|3\n  Tavrenex|1|9\n" + kTail},
        {"portfolio with the options program", 3, vt_Portfolio, "Portfolio Report", 1, 0,
         SharedServices::kOptionsProgram,
         details(day) + "View Investment Details|1|InvestmentDetails\n" + groups(day) + history +
             "View Stocks in Industry Group|1|pagecontroller.aspx?pagetype=4&indcode=310\n" +
             lists(day) +
             "Calculate Option Price|1|pagecontroller.aspx?pagetype=26&symbol=IBM&date=12/5/2026\n"
             "Marlune|0|\n  Spreads|0|\n    IBM Jan 150 call|25|7\n    IBM Feb 140 put|25|9\n"
             "  Covered|0|\nUpcoming Dividend Dates|27|\n" +
             stockGraphs + severalGraphs + "Add to WatchList|9|\n" + kTail},
    };
    OptionsTradesFacade::Trades = {{"Spreads", 1, -1},
                                   {"IBM Jan 150 call", 1, 7},
                                   {"Covered", 2, -1},
                                   {"IBM Feb 140 put", 1, 9}};
    for (const MenuCase& test : cases) {
        Elements().SetWatchListId(test.WatchListId);
        Elements().SetProgramsMask(test.ProgramsMask);
        Elements().SetOwnerId(42);
        Show(test.DataType, test.Type, test.Title, test.Scope);
        EXPECT_EQ(RightClick(), test.Expected) << test.Name;
        EXPECT_EQ(m_grid->GetSelKeys(), test.DataType == 1   ? "310"
                                        : test.DataType == 2 ? "30"
                                                             : "IBM")
            << test.Name << ": the current row is selected first";
        EXPECT_TRUE(m_recorder.Events.empty()) << test.Name;
    }
    EXPECT_EQ(OptionsTradesFacade::OwnerSeen, 42);
    for (const ErrorReport& report : m_platform.Reporter().Reports()) {
        ADD_FAILURE() << report.Label << ": " << report.Description;
    }
}

TEST_F(GridMenuTest, ItemsNeedingAValueTheRowLacksAreDisabledAndTheOptionsMenuNeedsTrades) {
    Elements().SetProgramsMask(SharedServices::kOptionsProgram);
    Show(2, vt_Industries, "Sector Report", 0);
    m_control->SetCurrentRow(2);
    Elements().SetWatchListId(5);
    EXPECT_EQ(RightClick(), "View WatchList Average Graph|1|3|off\n");  // ACME has no price
    Elements().SetWatchListId(0);
    Show(0, vt_Stocks, "Stock Viewer Report");
    m_control->SetCurrentRow(2);
    const std::string menu = RightClick();
    EXPECT_NE(menu.find("View Sector Details|1||off\n"), std::string::npos) << menu;
    EXPECT_NE(menu.find("View Stock Details|1|pagecontroller.aspx?pagetype=37&symbol=ACME&"),
              std::string::npos);
    EXPECT_EQ(menu.find("Marlune"), std::string::npos);  // the owner has no options trades
    EXPECT_EQ(m_platform.Menus().Shown().back().Anchor.Control, m_control.get());
    EXPECT_EQ(m_platform.Menus().Shown().back().Anchor.X, 400);
}

struct ClickCase {
    const char* Path;
    std::vector<std::string> Events;
};

TEST_F(GridMenuTest, EachItemDoesWhatItsIdSays) {
    const std::string nav = "Navigate pagecontroller.aspx?";
    const std::vector<ClickCase> cases = {
        {"View Stock Details", {nav + "pagetype=37&symbol=IBM&date=12/4/2026"}},
        {"View Stock Graph", {nav + "pagetype=10&iwp=0&symbol=IBM"}},
        {"View Stock News", {"Navigate news.aspx?symbol=IBM"}},
        {"Upcoming Dividend Dates", {"Navigate dividends.aspx?stockids=101"}},
        {"View Multiple Graphs/Industry",
         {"MultipleGraphSelect 15", nav + "pagetype=11&iwp=0&indcode=310,320"}},
        {"Customize Layout", {"GridMenuClick 3 "}},
        {"Find Stock", {"GridMenuClick 12 "}},
        {"Add to WatchList", {"AddToWatchList"}},
        {"Quick Test", {"QuickTest"}},
        {"Export/All Rows", {}},
        {"View Multiple Graphs", {}},
    };
    for (const ClickCase& test : cases) {
        Show(0, vt_Stocks, "Stock Viewer Report");
        m_recorder.Events.clear();
        RightClick(test.Path);
        EXPECT_EQ(m_recorder.Events, test.Events) << test.Path;
    }
    m_platform.Settings().SaveSetting("Olmaris60", "SharedServices", "NewsURL",
                                      "https://news.example/q=***SYMBOL***&again=***SYMBOL***");
    m_recorder.Events.clear();
    RightClick("View Stock News");
    EXPECT_EQ(m_recorder.Events,
              std::vector<std::string>{"Navigate https://news.example/q=IBM&again=IBM"});
}

struct QuickTestCase {
    int32_t DataType;
    ViewerType Type;
    std::string QuickTest;
    std::string Expected;  // the address after "QuickTest.asp?", "" for none
};

TEST_F(GridMenuTest, TheQuickTestPageCarriesTheIdsOfItsKindOfRowsWithEveryValueEncoded) {
    const std::string rest =
        "&title=A%26B%20%23%C3%A9&date=12%2F1%2F2026&enddate=12%2F5%2F2026"
        "&owner=7&viewertype=";
    const std::vector<QuickTestCase> cases = {
        {0, vt_Stocks, "", "symbols=101,102" + rest + "0&win32=0"},
        {5, vt_Stocks, "QuickTest=7, ,a b", "symbols=7,a%20b" + rest + "0&win32=0"},
        {1, vt_Industries, "", "indcodes=310,320" + rest + "1&win32=0"},
        {2, vt_Sectors, "", "sectorcodes=30,30" + rest + "2&win32=0"},
        {0, vt_FinderResults, "", "symbols=101,102" + rest + "6&win32=0&finderresultstype=3"},
        {1, vt_FinderResults, "", "indcodes=310,320" + rest + "6&win32=0&finderresultstype=3"},
        {2, vt_Sectors, "QuickTest=", ""},
        {2, vt_Sectors, "QuickTest", ""},
        {3, vt_Portfolio, "", ""},
    };
    Elements().SetOwnerId(7);
    Elements().SetFinderResultsType(3);
    for (const QuickTestCase& test : cases) {
        SCOPED_TRACE(test.QuickTest + " " + std::to_string(test.DataType));
        Show(test.DataType, test.Type, "Report");
        Select({1, 2});
        m_grid->SetCurrentDate(DateSerial(2026, 12, 1));
        m_recorder.Events.clear();
        std::string quickTest = test.QuickTest;
        m_grid->ShowQuikTest(quickTest, "A&B #\xC3\xA9");
        EXPECT_EQ(m_recorder.Events,
                  test.Expected.empty()
                      ? std::vector<std::string>{}
                      : std::vector<std::string>{"Navigate QuickTest.asp?" + test.Expected});
    }
    EXPECT_TRUE(m_platform.Reporter().Reports().empty());
    Show(1, vt_Industries, "Report");
    Select({3, 1});  // the first has an empty code
    std::string taken;
    m_grid->ShowQuikTest(taken, "");
    EXPECT_EQ(taken, "QuickTest=,310");
}

// Without rows nothing is selected: "Selected Rows" is off, except for holdings.
TEST_F(GridMenuTest, SelectedRowsExportNeedsASelectionExceptForHoldings) {
    const std::tuple<int32_t, ViewerType, const char*> cases[] = {
        {0, vt_Stocks, "  Selected Rows|7||off\n"}, {3, vt_Portfolio, "  Selected Rows|7|\n"}};
    for (const auto& [dataType, viewerType, item] : cases) {
        Show(dataType, viewerType, "Report", 0, MenuRows(0));
        const std::string menu = RightClick();
        EXPECT_NE(menu.find(item), std::string::npos) << menu;
    }
}

TEST_F(GridMenuTest, HostMenuCommandsRunWithoutAMenu) {
    Show(3, vt_Portfolio, "Portfolio Report");
    const size_t shown = m_platform.Menus().Shown().size();
    m_grid->SetColumnSelector(std::make_shared<DialogColumnSelector>());
    m_grid->HandleExMenuClick(9);
    m_grid->HandleExMenuClick(7);
    EXPECT_EQ(m_recorder.Events, std::vector<std::string>{"AddToWatchList"});
    EXPECT_EQ(m_platform.Dialogs().Shown(), std::vector<std::string>{"Export Columns"});
    EXPECT_EQ(m_platform.Menus().Shown().size(), shown);
    EXPECT_EQ(m_grid->PopupMenu().Count(), 0);
    Show(0, vt_StockHistory, "Stock History Report");
    m_grid->HandleExMenuClick(9);  // a history offers no watch list
    EXPECT_EQ(m_recorder.Events.size(), 1u);
}

TEST_F(GridMenuTest, NavigateTypesGiveTheirPagesPerKindOfRows) {
    const std::string p = "Navigate pagecontroller.aspx?pagetype=";
    const std::string symbols = "symbol=IBM,MSFT";
    const std::string industries = "indcode=310,320";
    const std::string sectors = "sectorcode=30,30";
    const std::vector<std::string> several = {
        p + "10&iwp=0&" + symbols, p + "11&iwp=0&" + industries, p + "12&iwp=0&" + sectors};
    const std::vector<std::string> advanced = {
        p + "10&iwp=1&" + symbols, p + "11&iwp=1&" + industries, p + "12&iwp=1&" + sectors};
    // Types 6 to 8 and 12 to 14 graph the rows as stocks, industries or sectors whatever they
    // are, and 15 is nothing; the others, 0 to 5 and 9 to 11, depend on the kind of rows.
    const std::vector<std::pair<int32_t, std::vector<std::string>>> cases = {
        {0,
         {p + "7&" + symbols, "", p + "40&" + symbols, several[0], several[1], several[2],
          advanced[0], advanced[1], advanced[2]}},
        {1,
         {p + "8&" + industries, "", "", several[1], several[2], "", advanced[1], advanced[2], ""}},
        {2, {p + "9&" + sectors, "", "", several[2], "", "", advanced[2], "", ""}},
        {4, std::vector<std::string>(9)},
    };
    for (const auto& [dataType, addresses] : cases) {
        Show(dataType, vt_Stocks, "Stock Viewer Report");
        Select({1, 2});
        for (int32_t type = 0; type < 16; ++type) {
            m_recorder.Events.clear();
            m_grid->RaiseNavigate(type, 0);
            const std::string address = type == 15   ? ""
                                        : type >= 12 ? advanced[type - 12]
                                        : type >= 9  ? addresses[type - 3]
                                        : type >= 6  ? several[type - 6]
                                                     : addresses[type];
            EXPECT_EQ(m_recorder.Events, address.empty() ? std::vector<std::string>{}
                                                         : std::vector<std::string>{address})
                << "data type " << dataType << ", type " << type;
        }
    }
}

TEST_F(GridMenuTest, SeveralGraphsAskHowManyRowsFromTheCurrentOne) {
    Show(0, vt_Stocks, "Stock Viewer Report", 0, MenuRows(30));
    Select({1});
    m_recorder.Answer = 5;
    m_grid->RaiseNavigate(6, 0);
    EXPECT_EQ(m_recorder.Events,
              (std::vector<std::string>{
                  "MultipleGraphSelect 15",
                  "Navigate pagecontroller.aspx?pagetype=10&iwp=0&symbol=IBM,MSFT,ACME,S4,S5"}));

    m_recorder.Events.clear();
    m_grid->RaiseNavigate(12, 0);  // five rows selected now: no question
    EXPECT_EQ(m_recorder.Events.size(), 1u);

    m_control->SelBookmarks()->Clear();
    m_control->SetCurrentRow(28);
    m_recorder.Events.clear();
    m_grid->RaiseNavigate(6, 0);  // two rows are left from the current one
    EXPECT_EQ(m_recorder.Events.back(),
              "Navigate pagecontroller.aspx?pagetype=10&iwp=0&symbol=S29,S30");

    m_control->SelBookmarks()->Clear();
    m_recorder.Answer = 0;
    m_recorder.Events.clear();
    m_grid->RaiseNavigate(6, 0);
    EXPECT_EQ(m_recorder.Events, std::vector<std::string>{"MultipleGraphSelect 15"});
    EXPECT_EQ(m_control->SelBookmarks()->Count(), 0);
}

TEST_F(GridMenuTest, TheStockViewersIndustryGridOfAWatchListGraphsTheListsAverageOnly) {
    Elements().SetStartTimeId(9876);
    Show(1, vt_Stocks, "Stock Viewer Industry Report");
    Select({1});
    m_grid->RaiseNavigate(0, 5);
    m_grid->RaiseNavigate(3, 5);
    EXPECT_EQ(
        m_recorder.Events,
        std::vector<std::string>{"Navigate pagecontroller.aspx?pagetype=17&wlid=5&timeID=9876"});
    m_recorder.Events.clear();
    Elements().SetViewerType(vt_Industries);
    m_grid->RaiseNavigate(3, 5);
    EXPECT_EQ(m_recorder.Events, std::vector<std::string>{
                                     "Navigate pagecontroller.aspx?pagetype=11&iwp=0&indcode=310"});
}

TEST_F(GridMenuTest, DoubleClickBuildsTheRowsPage) {
    struct Case {
        int32_t DataType;
        const char* Title;
        int32_t Scope;
        int32_t WatchListId;
        int32_t Row;
        std::string Expected;  // the page after "pagecontroller.aspx?", "" for nothing
    };
    const char* industryList = "PageType=4&indcode=310&startdate=12/4/2026";
    const char* sectorList = "pagetype=6&sectorcode=30&date=12/4/2026";
    const std::vector<Case> cases = {
        {0, "Stock Viewer Report", 1, 0, 0, "pagetype=7&symbol=IBM"},
        {0, "Stock History Report", 0, 0, 0, "pagetype=37&symbol=IBM&date=12/1/2026"},
        {5, "Stock Viewer Report", 0, 0, 0, industryList},
        {1, "Stock Viewer Industry Report", 0, 5, 0, industryList},
        {1, "Stock Viewer Industry Report", 0, 5, 2, ""},  // no numeric code
        {1, "Industry Viewer Report", 3, 0, 2, "PageType=4&indcode=&startdate=12/4/2026"},
        {1, "Industry Viewer Report", 2, 0, 0, ""},
        {1, "Industry History Report", 0, 0, 0, "pagetype=49&indcode=310&date=12/1/2026"},
        {1, "Industry Viewer Report", 0, 0, 0, industryList},
        {2, "Sector Report", 0, 5, 0, ""},
        {2, "Sector Viewer Report", 3, 0, 0, ""},
        {2, "Sector History Report", 0, 0, 0, "pagetype=52&sectorcode=30&date=12/1/2026"},
        {2, "Sector Viewer Report", 0, 0, 0, sectorList},
        {2, "Sector Viewer Report history", 0, 0, 0, sectorList},  // the test is case-sensitive
        {3, "Portfolio Report", 0, 0, 0, ""},
    };
    for (const Case& test : cases) {
        Elements().SetWatchListId(test.WatchListId);
        Show(test.DataType, vt_Stocks, test.Title, test.Scope);
        m_control->SetCurrentRow(test.Row);
        m_recorder.Events.clear();
        m_control->DoubleClick();
        const std::vector<std::string> expected =
            test.Expected.empty()
                ? std::vector<std::string>{}
                : std::vector<std::string>{"DblClick pagecontroller.aspx?" + test.Expected};
        EXPECT_EQ(m_recorder.Events, expected) << test.DataType << " " << test.Title;
    }
    Elements().SetWatchListId(0);
    Load(testing::StockLayoutEntries());
    m_grid->SetDataSource(MenuRows(0));
    m_recorder.Events.clear();
    m_control->DoubleClick();
    EXPECT_TRUE(m_recorder.Events.empty()) << "no rows";
}

TEST_F(GridMenuTest, DividendDatesTakeTheFirst25SelectedStocks) {
    Show(0, vt_Stocks, "Stock Viewer Report", 0, MenuRows(30));
    for (int i = 1; i <= 30; ++i) {
        Select({static_cast<double>(i)});
    }
    RightClick("Upcoming Dividend Dates");
    ASSERT_EQ(m_platform.Messages().Shown().size(), 1u);
    EXPECT_EQ(m_platform.Messages().Shown()[0].Title, "Upcoming Dividend Dates");
    EXPECT_EQ(m_platform.Messages().Shown()[0].Text,
              "You can only view upcoming dividend dates on a maximum of 25 stocks at a time. We "
              "will show the dividend information for the top 25 stocks.");
    std::string ids;
    for (int i = 0; i < 25; ++i) {
        ids += (i > 0 ? "," : "") + std::to_string(101 + i);
    }
    EXPECT_EQ(m_recorder.Events,
              std::vector<std::string>{"Navigate dividends.aspx?stockids=" + ids});
}

class MarluneTest : public GridMenuTest {
  protected:
    MarluneTest() {
        Elements().SetProgramsMask(SharedServices::kOptionsProgram);
        Elements().SetOwnerId(42);
        Elements().SetTimeCode("T C");
        OptionsTradesFacade::Trades = {{"Spreads", 1, -1}, {"IBM call", 1, 7}};
    }

    void Install() {
        m_platform.Settings().SaveSetting("Machine", "SOFTWARE\\Olmaris, Inc.\\MarluneOnline",
                                          "InstallDir", "/opt/marlune");
    }
};

// Not installed, the program's installation page is offered; installed, the symbols reach it as
// one word whatever they hold.
TEST_F(MarluneTest, NotInstalledOffersTheInstallationPageAndSymbolsReachTheProgramAsOneWord) {
    Show(0, vt_Stocks, "Stock Viewer Report");
    m_platform.Messages().QueueAnswer(vbCancel);
    RightClick("Marlune/Spreads/IBM call");
    m_platform.Messages().QueueAnswer(vbOK);
    RightClick("Marlune/Spreads/IBM call");
    ASSERT_EQ(m_platform.Messages().Shown().size(), 2u);
    EXPECT_EQ(m_platform.Messages().Shown()[0].Title, "Olmaris Marlune");
    EXPECT_EQ(m_platform.Messages().Shown()[0].Buttons, vbOKCancel);
    EXPECT_EQ(m_recorder.Events, std::vector<std::string>{"Navigate marluneinstall\\install.htm"});
    EXPECT_TRUE(m_platform.Launcher().Started().empty());

    Install();
    auto rows = MenuRows(2);
    rows->MoveFirst();
    rows->SetValue(0, Variant("A;rm -rf ~"));
    rows->MoveNext();
    rows->SetValue(0, Variant("$(x) `x` \"q\" 'q'"));
    rows->MoveFirst();
    Show(0, vt_Stocks, "Stock Viewer Report", 0, rows);
    Select({1, 2});
    RightClick("Marlune/Spreads/IBM call");
    ASSERT_EQ(m_platform.Launcher().Started().size(), 1u);
    const LaunchedProcess& started = m_platform.Launcher().Started()[0];
    EXPECT_EQ(started.Program, std::filesystem::path("/opt/marlune/Marlune.exe"));
    EXPECT_EQ(started.Args, (std::vector<std::string>{"/w", "/id=42", "/TC=T C",
                                                      "Symbol=A;rm -rf ~,$(x) `x` \"q\" 'q'",
                                                      "Date=12/4/2026", "TradeId=7"}));
}

TEST_F(MarluneTest, AtMostTenStocksAreAnalysedAndPortfoliosUseTheirUpdateDay) {
    Install();
    Elements().SetPortFolioUpdatedDate(DateSerial(2026, 11, 30));
    Show(3, vt_Portfolio, "Portfolio Report", 0, MenuRows(12));
    for (int i = 1; i <= 12; ++i) {
        Select({static_cast<double>(i)});
    }
    RightClick("Marlune/Spreads/IBM call");
    ASSERT_EQ(m_platform.Messages().Shown().size(), 1u);
    EXPECT_EQ(m_platform.Messages().Shown()[0].Title, "Analyze Stock");
    EXPECT_EQ(m_platform.Messages().Shown()[0].Text,
              "You can only analyze a maximum of 10 stocks at a time. The top stocks ten will be "
              "analyzed.");
    ASSERT_EQ(m_platform.Launcher().Started().size(), 1u);
    const std::vector<std::string>& args = m_platform.Launcher().Started()[0].Args;
    EXPECT_EQ(args[3], "Symbol=IBM,MSFT,ACME,S4,S5,S6,S7,S8,S9,S10");
    EXPECT_EQ(args[4], "Date=11/30/2026");
}

}  // namespace
}  // namespace qv
