// The framework's event commands: each event name turns into calls on the main control, a
// support control or the host; any other name is a page of the service to open.
#include "host/control_master.h"

#include "host/host_calls.h"
#include "outside/error_scope.h"
#include "outside/platform_context.h"
#include "outside/text_util.h"

#include <array>
#include <utility>

namespace qv {

using namespace host_calls;

namespace {

constexpr std::string_view kChooseWatchList = "Please select a WatchList.";
constexpr std::string_view kLoading = "Loading . . .";
constexpr int32_t kResizeMargin = 400;

void SetLimits(DispatchObject& p_oMain, int32_t p_lMaxRows, bool p_bReturnAll) {
    LetProperty(p_oMain, "MaxRows", Variant(p_lMaxRows));
    LetProperty(p_oMain, "ReturnAll", Variant(p_bReturnAll));
}

// The page prefixes of one kind of page, by the kind of rows the selection is in.
struct PagePrefixes {
    std::string_view Stock;
    std::string_view Industry;
    std::string_view Sector;
};

constexpr PagePrefixes kHistoryPages{
    "pagecontroller.aspx?pagetype=7&symbol=", "pagecontroller.aspx?pagetype=8&indcode=",
    "pagecontroller.aspx?pagetype=9&sectorcode="};
constexpr PagePrefixes kInfoPages{
    "pagecontroller.aspx?pagetype=37&symbol=", "pagecontroller.aspx?pagetype=49&indcode=",
    "pagecontroller.aspx?pagetype=52&sectorcode="};
constexpr PagePrefixes kGraphPages{"pagecontroller.aspx?pagetype=10&iwp=0&symbol=",
                                   "pagecontroller.aspx?pagetype=11&iwp=0&indcode=",
                                   "pagecontroller.aspx?pagetype=12&iwp=0&sectorcode="};
constexpr std::string_view kStockAnalysisPage = "pagecontroller.aspx?pagetype=40&date=";
constexpr std::string_view kWatchListGraphPage = "pagecontroller.aspx?pagetype=17&wlid=";

// Grid data types: stocks (0, 3 and 5 hold stock rows), industries (1) and sectors (2).
std::string PageOf(const PagePrefixes& p_prefixes, int16_t p_iGridType, std::string_view p_sKey) {
    switch (p_iGridType) {
        case 0:
        case 3:
        case 5:
            return std::string(p_prefixes.Stock) + std::string(p_sKey);
        case 1:
            return std::string(p_prefixes.Industry) + std::string(p_sKey);
        case 2:
            return std::string(p_prefixes.Sector) + std::string(p_sKey);
        default:
            return "";
    }
}

// The detail pages by info type: some exist for every kind of row, some only for industries
// and sectors, one only for a sector.
std::string InfoPage(int32_t p_lInfoType, int16_t p_iGridType, const std::string& p_sKey,
                     const std::string& p_sDate) {
    std::string page;
    switch (p_lInfoType) {
        case 1:
        case 6:
        case 7:
        case 15:
            page = PageOf(kInfoPages, p_iGridType, p_sKey);
            break;
        case 2:
        case 8:
        case 16:
            if (p_iGridType == 1 || p_iGridType == 2) {
                page = PageOf(kInfoPages, p_iGridType, p_sKey);
            }
            break;
        case 3:
            page = std::string(kInfoPages.Sector) + p_sKey;
            break;
        default:
            break;
    }
    return page.empty() ? page : page + "&date=" + p_sDate;
}

bool IsNavigationRule(std::string_view p_sName) {
    return p_sName == "SHOWHISTORY" || p_sName == "SHOWSTOCKA" || p_sName == "SHOWINFO" ||
           p_sName == "GRAPH";
}

Variant ParameterOf(DispatchObject& p_oEventInfo, int32_t p_lIndex) {
    const std::shared_ptr<DispatchObject> parameters =
        ObjectOf(GetProperty(p_oEventInfo, "EventParameters"));
    std::array<Variant, 1> index{Variant(p_lIndex)};
    const Variant item = parameters->Invoke("Item", InvokeKind::PropertyGet, index);
    return GetProperty(*ObjectOf(item), "Value");
}

}  // namespace

// One event being handled: what it needs, fetched when a command first asks for it.
class CControlMaster::EventCommands {
  public:
    using Command = void (EventCommands::*)();

    EventCommands(CControlMaster& p_oMaster, DispatchObject& p_oEventInfo, DispatchObject& p_oHost)
        : m_master(p_oMaster), m_event(p_oEventInfo), m_host(p_oHost) {}

    // The command of an upper-cased event name, in the order the names are compared; null for
    // a name that is a page to open.
    static Command CommandOf(std::string_view p_sName) {
        static constexpr std::array<std::pair<std::string_view, Command>, 22> kCommands{{
            {"REFRESHHISTORY", &EventCommands::RefreshHistory},
            {"DATECHANGED", &EventCommands::DateChanged},
            {"EDITSORT", &EventCommands::EditSort},
            {"CHANGESORT", &EventCommands::ChangeSort},
            {"FINDSYMBOL", &EventCommands::FindSymbol},
            {"FIND", &EventCommands::Find},
            {"WATCHLISTCHANGED", &EventCommands::WatchListChanged},
            {"WATCHLISTADDED", &EventCommands::WatchListAdded},
            {"FINDINDUSTRIES", &EventCommands::FindIndustries},
            {"GETINFO", &EventCommands::GetInfo},
            {"CLOSECLICKED", &EventCommands::CloseClicked},
            {"ITEMSELECTED", &EventCommands::ItemSelected},
            {"IMPORT", &EventCommands::Import},
            {"RESIZE", &EventCommands::Resize},
            {"EDITLAYOUT", &EventCommands::EditLayout},
            {"CHANGELAYOUT", &EventCommands::ChangeLayout},
            {"SAVELAYOUT", &EventCommands::SaveLayout},
            {"CUSTOMIZELAYOUT", &EventCommands::CustomizeLayout},
            {"DELETE", &EventCommands::Delete},
            {"QUICKTEST", &EventCommands::QuickTest},
            {"PRINTSELECTED", &EventCommands::PrintSelected},
            {"ADDTOWATCHLIST", &EventCommands::AddToWatchList},
        }};
        for (const auto& [name, command] : kCommands) {
            if (name == p_sName) {
                return command;
            }
        }
        return nullptr;
    }

    // The host's frame goes and the page of the event opens; an event without a page opens the
    // empty address, which the navigator may ignore.
    void Navigate() {
        LetProperty(m_host, "FrameVisible", Variant(false));
        std::string url;
        m_master.BuildNavigationUrl(m_event, m_host, url);
        // Copied: a page that opens may end the master's use (KillMe) while it runs.
        const std::shared_ptr<DispatchObject> navigator = m_master.m_oNavigator;
        if (!navigator) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "no navigator");
        }
        CallWith(*navigator, "Navigate", {Variant(url), Variant(true)});
    }

  private:
    DispatchObject& Main() {
        if (!m_main) {
            m_main = MainControl(m_host);
        }
        return *m_main;
    }
    Variant P(int32_t p_lIndex) { return ParameterOf(m_event, p_lIndex); }
    void RefreshHelper() { host_calls::RefreshHelper(*HelperControl(m_host), Main()); }
    bool WatchListShown() { return GetProperty(Main(), "WatchListId").ToLong() > 0; }
    // The watch-list mode's commands wait for a watch list to be shown.
    bool ListShown() { return !m_master.m_bWatchListMode || WatchListShown(); }
    void RefillIfPopUp() {
        if (GetProperty(m_host, "IAmPopUp").ToBool()) {
            CallMethod(Main(), "ReFillParams");
        }
    }

    void RefreshHistory() { m_master.RefreshLimits(m_host, P(1).ToLong(), P(2).ToBool()); }
    void DateChanged() { m_master.ChangeDate(P(1).ToDate(), m_host, P(2).ToLong(), P(3).ToBool()); }
    void EditSort() {
        if (ListShown()) {
            m_master.EditSort(m_host);
        }
    }
    void ChangeSort() { RefreshHelper(); }
    void FindSymbol() {
        CallWith(Main(), "SearchStocks", {P(0)});
        RefreshHelper();
    }
    void Find() {
        if (HasRows(Main())) {
            m_master.FindSymbol(m_host);
        }
    }
    void WatchListChanged();
    void WatchListAdded() {
        if (WatchListShown()) {
            CallWith(*SupportControl(m_host, kWatchListPanel), "Init",
                     {GetProperty(Main(), "OwnerId"), P(0), Variant::Date(m_master.m_dtListDate)});
        }
    }
    void FindIndustries() { CallWith(Main(), "SearchStocks", {P(0)}); }
    void GetInfo();
    void CloseClicked() { m_master.CloseSupportPanels(m_host); }
    void ItemSelected() {
        if (!m_master.m_bPortfolioMode) {
            return;
        }
        LetProperty(m_host, "FrameVisible", Variant(false));
        LetProperty(Main(), "PortfolioID", Variant(P(0).ToLong()));
        CallMethod(Main(), "UpdateViewer");
        RefreshHelper();
    }
    void Import() {
        DoEvents();
        CallMethod(*SupportControl(m_host, kWatchListPanel), "Import");
        DoEvents();
    }
    void Resize() { CallWith(m_host, "ResizeMainControl", {Variant(kResizeMargin)}); }
    void EditLayout() {
        RefillIfPopUp();
        CallMethod(Main(), "Customize");
    }
    void ChangeLayout() { CallWith(Main(), "LoadLayout", {P(0)}); }
    void SaveLayout() { CallWith(Main(), "SaveLayout", {P(0)}); }
    void CustomizeLayout() {
        if (ListShown()) {
            EditLayout();
        }
    }
    void Delete() { CallWith(*SupportControl(m_host, kWatchListPanel), "DeleteItems", {P(0)}); }
    void QuickTest() {
        if (HasRows(Main())) {
            CallMethod(Main(), "ShowQuickTest");
        }
    }
    void PrintSelected() {
        if (HasRows(Main())) {
            RefillIfPopUp();
            CallWith(Main(), "PrintSelected", {P(0)});
        }
    }
    void AddToWatchList() {
        if (HasRows(Main())) {
            CallWith(Main(), "AddToWatchList", {P(0)});
        }
    }

    CControlMaster& m_master;
    DispatchObject& m_event;
    DispatchObject& m_host;
    std::shared_ptr<DispatchObject> m_main;
};

// The parameters are those of the control's WatchListChanged event: type, owner, watch list,
// start date, average type. Watch list 0 means none is chosen any more.
void CControlMaster::EventCommands::WatchListChanged() {
    const int32_t watchListId = P(2).ToLong();
    if (watchListId == 0) {
        LetProperty(m_host, "FrameVisible", Variant(true));
        LetProperty(m_host, "Caption", Variant(kChooseWatchList));
        CallMethod(Main(), "ClearViewer");
        LetProperty(Main(), "WatchListId", Variant(int32_t{0}));
        LetProperty(*HelperControl(m_host), "SetBSH", Variant(""));
        return;
    }
    LetProperty(m_host, "FrameVisible", Variant(true));
    LetProperty(m_host, "Caption", Variant(kLoading));
    DoEvents();
    LetProperty(Main(), "WatchListId", Variant(watchListId));
    LetProperty(Main(), "OwnerId", Variant(P(1).ToLong()));
    // The helper strip's date wins: the person may have changed it since the event was raised.
    const double startDate = HasHelperControl(m_host)
                                 ? GetProperty(*HelperControl(m_host), "CurrentDate").ToDate()
                                 : P(3).ToDate();
    LetProperty(Main(), "StartDate", Variant::Date(startDate));
    LetProperty(Main(), "AvgType", Variant(P(4).ToString()));
    CallMethod(Main(), "UpdateViewer");
    LetProperty(m_host, "FrameVisible", Variant(false));
    LetProperty(m_host, "Caption", Variant(""));
    RefreshHelper();
}

// The search panel searches within what the list shows.
void CControlMaster::EventCommands::GetInfo() {
    const std::shared_ptr<DispatchObject> panel = SupportControl(m_host, kSearchPanel);
    LetProperty(*panel, "WatchListId", GetProperty(Main(), "WatchListId"));
    LetProperty(*panel, "ViewerType", GetProperty(Main(), "ViewerType"));
    LetProperty(*panel, "IsWin32", GetProperty(Main(), "IsWin32"));
    LetProperty(*panel, "CurrentDate", GetProperty(Main(), "StartDate"));
    LetProperty(*panel, "IndCode", GetProperty(Main(), "IndCode"));
    LetProperty(*panel, "SectorCode", GetProperty(Main(), "SectorCode"));
}

void CControlMaster::HandleEvents(DispatchObject& p_oEventInfo, DispatchObject& p_oHost) {
    Reported("CControlMaster:HandleEvents", [&] {
        const std::string name = ToUpperAscii(GetProperty(p_oEventInfo, "Name").ToString());
        EventCommands commands(*this, p_oEventInfo, p_oHost);
        if (const EventCommands::Command command = EventCommands::CommandOf(name)) {
            (commands.*command)();
            return;
        }
        commands.Navigate();
    });
}

void CControlMaster::RefreshLimits(DispatchObject& p_oHost, int32_t p_lMaxRows, bool p_bReturnAll) {
    const std::shared_ptr<DispatchObject> main = MainControl(p_oHost);
    SetLimits(*main, p_lMaxRows, p_bReturnAll);
    CallMethod(*main, "UpdateViewer");
}

void CControlMaster::ChangeDate(double p_dtDate, DispatchObject& p_oHost, int32_t p_lMaxRows,
                                bool p_bReturnAll) {
    if (!IsMarketList(m_eViewerType)) {
        return;
    }
    try {
        const std::shared_ptr<DispatchObject> main = MainControl(p_oHost);
        // Without a watch list shown the limits wait for the next one.
        if (m_bWatchListMode && GetProperty(*main, "WatchListId").ToLong() == 0) {
            SetLimits(*main, p_lMaxRows, p_bReturnAll);
            return;
        }
        LetProperty(*main, "StartDate", Variant::Date(p_dtDate));
        SetLimits(*main, p_lMaxRows, p_bReturnAll);
        CallMethod(*main, "UpdateViewer");
        host_calls::RefreshHelper(*HelperControl(p_oHost), *main);
        if (m_bWatchListMode) {
            LetProperty(*SupportControl(p_oHost, kWatchListPanel), "CurrentDate",
                        Variant::Date(p_dtDate));
        }
    } catch (...) {
        throw CurrentFailure();
    }
}

void CControlMaster::BuildNavigationUrl(DispatchObject& p_oEventInfo, DispatchObject& p_oHost,
                                        std::string& p_sURL) {
    p_sURL.clear();
    const std::string name = ToUpperAscii(GetProperty(p_oEventInfo, "Name").ToString());
    if (!IsNavigationRule(name)) {
        return;
    }
    const std::shared_ptr<DispatchObject> main = MainControl(p_oHost);
    if (!HasRows(*main)) {
        return;
    }
    // Reading the keys selects the first row when nothing is selected, so the grid type follows.
    const std::string keys = GetProperty(*main, "Win32Key").ToString();
    const int16_t gridType = GetProperty(*main, "SelectedGridType").ToInt();
    const std::string firstKey = keys.substr(0, keys.find(','));
    if (name == "SHOWHISTORY") {
        p_sURL = PageOf(kHistoryPages, gridType, firstKey);
    } else if (name == "SHOWSTOCKA") {
        if (gridType == 0) {
            p_sURL = std::string(kStockAnalysisPage) + ParameterOf(p_oEventInfo, 1).ToString() +
                     "&symbol=" + firstKey;
        }
    } else if (name == "SHOWINFO") {
        p_sURL = InfoPage(ParameterOf(p_oEventInfo, 0).ToLong(), gridType, firstKey,
                          ParameterOf(p_oEventInfo, 1).ToString());
    } else if (keys.empty() && GetProperty(*main, "WatchListId").ToLong() > 0) {
        // A graph of the whole watch list, which only the stock list draws.
        if (GetProperty(*main, "ViewerType").ToLong() == 0) {
            p_sURL = std::string(kWatchListGraphPage) +
                     GetProperty(*main, "WatchListId").ToString() +
                     "&timeID=" + GetProperty(*main, "StartTimeId").ToString();
        }
    } else {
        p_sURL = PageOf(kGraphPages, gridType, keys);
    }
}

}  // namespace qv
