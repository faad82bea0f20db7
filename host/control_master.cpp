#include "host/control_master.h"

#include "host/host_calls.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/platform_context.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"
#include "outside/vb_format.h"

#include <array>

namespace qv {

using namespace host_calls;

namespace {

constexpr std::string_view kStandardHelperClass = "qorvantosupport.ctlStandardViewerSupport";
constexpr std::string_view kHistoryHelperClass = "qorvantosupport.ctlHistorySupport";
constexpr std::string_view kWatchListDescriptor =
    "qorvantoWatchlist.WatchList,ctlWatchListSupport,3500,False";
constexpr std::string_view kChooseWatchList = "Please select a watchlist.";
constexpr std::string_view kToolBarPicture = "Watchlist.jpg";

// Splitter widths, in twips: the portfolio panel opens wider at start-up than from the toolbar.
constexpr int32_t kWatchListWidth = 3500;
constexpr int32_t kPortfolioStartWidth = 3700;
constexpr int32_t kToolBarPanelWidth = 3500;

constexpr int16_t kCtrlMask = 2;

// The start-up elements that are optional, by their index.
constexpr int32_t kStartDateElement = 9;
constexpr int32_t kPortfolioElement = 10;
constexpr int32_t kProgramsElement = 11;

// A date, or text that reads as one, as the host's start-up arrays carry either.
bool IsDateValue(const Variant& p_vValue) {
    double serial = 0;
    return p_vValue.IsDate() || (p_vValue.IsString() && ParseDateText(p_vValue.ToString(), serial));
}

// The letter of a key code, in upper case; 0 for a key that is no letter.
char LetterOf(int16_t p_iKeyCode) {
    if (p_iKeyCode >= 'a' && p_iKeyCode <= 'z') {
        return static_cast<char>(p_iKeyCode - 'a' + 'A');
    }
    if (p_iKeyCode >= 'A' && p_iKeyCode <= 'Z') {
        return static_cast<char>(p_iKeyCode);
    }
    return 0;
}

void ShowPanel(DispatchObject& p_oHost, std::string_view p_sName, int32_t p_lWidth) {
    CallWith(p_oHost, "ShowSupportControl", {Variant(p_sName)});
    LetProperty(p_oHost, "SplitterLeft", Variant(p_lWidth));
    LetProperty(p_oHost, "MinSplitterWidth", Variant(p_lWidth));
}

// From the toolbar the splitter is placed before the panel shows, and the toolbar goes.
void ShowPanelFromToolBar(DispatchObject& p_oHost, std::string_view p_sName) {
    LetProperty(p_oHost, "SplitterLeft", Variant(kToolBarPanelWidth));
    LetProperty(p_oHost, "MinSplitterWidth", Variant(kToolBarPanelWidth));
    CallWith(p_oHost, "ShowSupportControl", {Variant(p_sName)});
    LetProperty(p_oHost, "ToolBarVisible", Variant(false));
}

// The owner's default limits of a watch list of the list's kind, from the data facade.
void ApplyDefaultLimits(DispatchObject& p_oMain, int32_t p_eViewerType, int32_t p_lOwnerId) {
    namespace call = facade_protocol::get_default_max_rows;
    std::array<Variant, call::kCount> args;
    args[call::kListKind.Position] = Variant(int32_t{p_eViewerType == kStocks ? 3 : 4});
    args[call::kMaxRows.Position] = Variant(int32_t{0});
    args[call::kReturnAll.Position] = Variant(false);
    args[call::kOwnerId.Position] = Variant(p_lOwnerId);
    const std::shared_ptr<DispatchObject> facade =
        PlatformContext::Current().Components().CreateObject(
            facade_protocol::prog_id::kViewerReader);
    CallMethod(*facade, call::kMethod, args);
    LetProperty(p_oMain, "MaxRows", Variant(args[call::kMaxRows.Position].ToLong()));
    LetProperty(p_oMain, "ReturnAll", Variant(args[call::kReturnAll.Position].ToBool()));
}

}  // namespace

CControlMaster::CControlMaster() = default;
CControlMaster::~CControlMaster() = default;

void CControlMaster::InitMainControl(const Variant& p_vStartup, DispatchObject& p_oHost) {
    if (!p_vStartup.IsArray()) {
        return;
    }
    Reported("CControlMaster:InitMainControl", [&] { ApplyStartup(p_vStartup.Array(), p_oHost); });
}

void CControlMaster::ApplyStartup(const VariantArray& p_aStartup, DispatchObject& p_oHost) {
    const std::shared_ptr<DispatchObject> main = MainControl(p_oHost);
    LetProperty(*main, "TimeCode", GetProperty(p_oHost, "TC"));
    const int16_t viewerType = p_aStartup.At(0).ToInt();
    LetProperty(*main, "ViewerType", Variant(viewerType));
    m_eViewerType = viewerType;
    m_lOwnerId = p_aStartup.At(1).ToLong();
    LetProperty(*main, "OwnerId", Variant(m_lOwnerId));

    // The limits come as "rows,return all" or as the rows alone, which returns all.
    const Variant& limits = p_aStartup.At(3);
    const std::string limitsText = limits.ToString();
    if (limitsText.find(',') != std::string::npos) {
        const std::vector<std::string> parts = SplitText(limitsText, ',');
        LetProperty(*main, "MaxRows", Variant(Variant(TrimSpaces(parts[0])).ToLong()));
        LetProperty(*main, "ReturnAll", Variant(Variant(TrimSpaces(parts[1])).ToBool()));
    } else {
        LetProperty(*main, "MaxRows", Variant(limits.ToLong()));
        LetProperty(*main, "ReturnAll", Variant(true));
    }

    ApplyStartDate(p_aStartup, *main);
    m_dtHelperDate = p_aStartup.At(5).ToDate();
    m_iHelperCode = p_aStartup.At(6).ToInt();
    LetProperty(*main, "AvgType", Variant("A"));

    if (p_aStartup.UBound() == kPortfolioElement) {
        const Variant& portfolio = p_aStartup.At(kPortfolioElement);
        if (IsNumeric(portfolio) && portfolio.ToDouble() > 0) {
            LetProperty(*main, "PortfolioID", Variant(portfolio.ToLong()));
            m_bPortfolioMode = true;
            m_lPortfolioId = portfolio.ToLong();
        }
    }
    ApplyListCode(p_aStartup, *main);

    m_bWatchListMode = p_aStartup.At(7).ToBool();
    if (m_bWatchListMode) {
        // The list waits for the person to choose a watch list in the panel.
        LetProperty(p_oHost, "Caption", Variant(kChooseWatchList));
        LetProperty(p_oHost, "FrameVisible", Variant(true));
    } else {
        LetProperty(p_oHost, "FrameVisible", Variant(false));
        CallMethod(*main, "UpdateViewer");
    }

    if (p_aStartup.UBound() >= kProgramsElement && IsNumeric(p_aStartup.At(kProgramsElement))) {
        LetProperty(*main, "ProgramsMask", Variant(p_aStartup.At(kProgramsElement).ToLong()));
    }
}

// The list's date is element 4; a start date of its own (element 9) replaces it, except the zero
// date, which stands for none given.
void CControlMaster::ApplyStartDate(const VariantArray& p_aStartup, DispatchObject& p_oMain) {
    m_dtListDate = p_aStartup.At(4).ToDate();
    m_dtStartDate = m_dtListDate;
    if (p_aStartup.UBound() >= kStartDateElement && IsDateValue(p_aStartup.At(kStartDateElement))) {
        const double given = p_aStartup.At(kStartDateElement).ToDate();
        if (given != 0) {
            m_dtStartDate = given;
        }
    }
    LetProperty(p_oMain, "StartDate", Variant::Date(m_dtStartDate));
}

// Element 8 names what the list is of: an industry or sector (the helper code tells which), a
// stock's symbol or a sector.
void CControlMaster::ApplyListCode(const VariantArray& p_aStartup, DispatchObject& p_oMain) {
    const Variant& code = p_aStartup.At(8);
    switch (m_eViewerType) {
        case kStocks:
        case kIndustries:
        case kIndustryHistory: {
            const bool sector = m_iHelperCode == 7 || m_iHelperCode == 8;
            LetProperty(p_oMain, sector ? "SectorCode" : "IndCode", Variant(code.ToLong()));
            break;
        }
        case kStockHistory:
            LetProperty(p_oMain, "Symbol", Variant(code.ToString()));
            break;
        case kSectorHistory:
            LetProperty(p_oMain, "SectorCode", Variant(code.ToLong()));
            break;
        default:
            break;
    }
}

void CControlMaster::Initialize(const Variant& p_oUnused, Variant& p_oNavigator) {
    Reported("CControlMaster:Initialize", [&] { m_oNavigator = p_oNavigator.ToObject(); });
}

void CControlMaster::HelperControlInfo(std::string& p_sClassName) {
    p_sClassName = IsHistory(m_eViewerType) ? kHistoryHelperClass : kStandardHelperClass;
}

std::string CControlMaster::SupportDescriptor() const {
    return IsMarketList(m_eViewerType) && m_bWatchListMode ? std::string(kWatchListDescriptor)
                                                           : std::string();
}

void CControlMaster::SupportControlInfo(std::string& p_sDescriptor) {
    const std::string descriptor = SupportDescriptor();
    if (!descriptor.empty()) {
        p_sDescriptor = descriptor;
    }
}

void CControlMaster::KillMe() {
    m_oNavigator.reset();
}

void CControlMaster::FinalizeInit(DispatchObject& p_oHost) {
    Reported("CControlMaster:FinalizeInit", [&] {
        if (IsMarketList(m_eViewerType)) {
            FinalizeMarketList(p_oHost);
            return;
        }
        if (!IsHistory(m_eViewerType)) {
            return;
        }
        const int16_t code = m_eViewerType == kStockHistory      ? 16
                             : m_eViewerType == kIndustryHistory ? 17
                                                                 : 18;
        const std::shared_ptr<DispatchObject> main = MainControl(p_oHost);
        const std::shared_ptr<DispatchObject> helper = SupportControl(p_oHost, kHistoryHelper);
        CallWith(*helper, "Init",
                 {Variant(code), GetProperty(*main, "MaxRows"), GetProperty(*main, "ReturnAll")});
    });
}

void CControlMaster::FinalizeMarketList(DispatchObject& p_oHost) {
    const std::shared_ptr<DispatchObject> main = MainControl(p_oHost);
    if (m_bWatchListMode) {
        ApplyDefaultLimits(*main, m_eViewerType, m_lOwnerId);
    }
    const std::shared_ptr<DispatchObject> helper = HelperControl(p_oHost);
    std::vector<Variant> args{Variant::Date(m_dtHelperDate), Variant::Date(m_dtListDate),
                              Variant(m_iHelperCode),        Variant::Date(m_dtStartDate),
                              GetProperty(*main, "MaxRows"), GetProperty(*main, "ReturnAll")};
    CallWith(*helper, "Init", std::move(args));
    RefreshHelper(*helper, *main);
    if (m_bWatchListMode) {
        ShowWatchListPanel(p_oHost, *main, *helper);
    }
}

// The watch-list panel opens on the owner's lists; when it already has one current, the list
// shows it at once. A portfolio given at start-up shows the portfolio panel instead.
void CControlMaster::ShowWatchListPanel(DispatchObject& p_oHost, DispatchObject& p_oMain,
                                        DispatchObject& p_oHelper) {
    const std::shared_ptr<DispatchObject> panel = SupportControl(p_oHost, kWatchListPanel);
    LetProperty(*panel, "ShowClose", Variant(true));
    if (m_eViewerType == kStocks || m_eViewerType == kIndustries) {
        const int16_t setup = m_eViewerType == kStocks ? 13 : 14;
        CallWith(p_oHelper, "SetupControl", {Variant(setup)});
    }
    CallWith(*panel, "Init",
             {GetProperty(p_oMain, "OwnerId"), GetProperty(p_oMain, "ViewerType"),
              GetProperty(p_oMain, "StartDate")});
    const Variant current = GetProperty(*panel, "CurrentWatchListID");
    if (current.ToLong() > 0) {
        LetProperty(p_oMain, "WatchListId", current);
        LetProperty(p_oMain, "OwnerId", Variant(m_lOwnerId));
        LetProperty(p_oMain, "StartDate", Variant::Date(m_dtListDate));
        LetProperty(p_oMain, "AvgType", Variant("A"));
        CallMethod(p_oMain, "UpdateViewer");
        LetProperty(p_oHost, "FrameVisible", Variant(false));
        LetProperty(p_oHost, "Caption", Variant(""));
        RefreshHelper(p_oHelper, p_oMain);
    }
    if (m_lPortfolioId < 1) {
        ShowPanel(p_oHost, kWatchListPanel, kWatchListWidth);
        return;
    }
    ShowPanel(p_oHost, kPortfolioPanel, kPortfolioStartWidth);
    const std::shared_ptr<DispatchObject> portfolio = SupportControl(p_oHost, kPortfolioPanel);
    LetProperty(*portfolio, "RaiseHoldings", Variant(false));
    LetProperty(*portfolio, "CurrentItem", Variant(m_lPortfolioId));
}

void CControlMaster::KeyReleased(int16_t& p_iKeyCode, int16_t& p_iShift, DispatchObject& p_oHost) {
    Reported("CControlMaster:KeyReleased", [&] {
        const std::shared_ptr<DispatchObject> main = MainControl(p_oHost);
        if (!HasRows(*main) || (p_iShift & kCtrlMask) == 0) {
            return;
        }
        RunShortcut(LetterOf(p_iKeyCode), p_oHost, *main);
    });
}

void CControlMaster::RunShortcut(char p_cKey, DispatchObject& p_oHost, DispatchObject& p_oMain) {
    switch (p_cKey) {
        case 'A':
            CallMethod(p_oMain, "ShowStockA");
            break;
        case 'D':
            CallMethod(p_oMain, "ShowDetails");
            break;
        case 'E':
            EditSort(p_oHost);
            break;
        case 'F':
            FindSymbol(p_oHost);
            break;
        case 'G':
        case 'H':
            CallWith(p_oMain, "RaiseNavigate", {Variant(int32_t{p_cKey == 'G' ? 3 : 0})});
            break;
        case 'L':
            // A watch list's fields are customised only once a watch list is shown.
            if (!m_bWatchListMode || GetProperty(p_oMain, "WatchListId").ToLong() > 0) {
                CallMethod(p_oMain, "Customize");
            }
            break;
        case 'P':
            CallMethod(p_oMain, "PrintControl");
            break;
        case 'Q':
            CallMethod(p_oMain, "ShowQuickTest");
            break;
        case 'W':
            CallMethod(p_oMain, "AddToWatchList");
            break;
        default:
            break;
    }
}

void CControlMaster::HandleToolBarClick(const std::string& p_sKey, DispatchObject& p_oHost) {
    Reported("CControlMaster:HandleToolBarClick", [&] {
        const std::string key = ToUpperAscii(p_sKey);
        if (key == "WATCHLISTS") {
            ShowPanelFromToolBar(p_oHost, "CTLWATCHLISTSUPPORT");
        } else if (key == "FIND") {
            FindSymbol(p_oHost);
        } else if (key == "PORTFOLIO") {
            ShowPanelFromToolBar(p_oHost, kPortfolioPanel);
        }
    });
}

void CControlMaster::CloseSupport(DispatchObject& p_oHost) {
    Reported("CControlMaster:CloseSupport", [&] { CloseSupportPanels(p_oHost); });
}

std::string CControlMaster::NavigateCaption() const {
    switch (m_eViewerType) {
        case kStocks:
            return m_bWatchListMode ? "WatchLists" : "Stock Viewer";
        case kIndustries:
            return m_bWatchListMode ? "Industry WatchLists" : "Industry Viewer";
        case kSectors:
            return "Sector Viewer";
        case kPortfolio:
            return "Portfolios";
        default:
            return "";
    }
}

void CControlMaster::CustomFieldsChanged(DispatchObject& p_oHost) {
    Reported("CControlMaster:CustomFieldsChanged",
             [&] { CallMethod(*MainControl(p_oHost), "ReFillParams"); });
}

void CControlMaster::ExportData(int16_t p_iExportType, DispatchObject& p_oHost) {
    Reported("CControlMaster:ExportData",
             [&] { CallWith(*MainControl(p_oHost), "Export", {Variant(int32_t{p_iExportType})}); });
}

void CControlMaster::EditSort(DispatchObject& p_oHost) {
    const std::shared_ptr<DispatchObject> main = MainControl(p_oHost);
    // A pop-up window may not have the field catalogue the sort dialog offers.
    if (GetProperty(p_oHost, "IAmPopUp").ToBool()) {
        CallMethod(*main, "ReFillParams");
    }
    CallMethod(*main, "Sort");
    RefreshHelper(*HelperControl(p_oHost), *main);
}

void CControlMaster::FindSymbol(DispatchObject& p_oHost) {
    CallWith(*MainControl(p_oHost), "SearchStocks", {Variant("")});
}

// The search panel goes for good; the others hide. A watch list keeps a toolbar button that
// brings its panel back.
void CControlMaster::CloseSupportPanels(DispatchObject& p_oHost) {
    CallWith(p_oHost, "RemoveSupportControl", {Variant(kSearchPanel)});
    LetProperty(p_oHost, "ToolBarVisible", Variant(m_bWatchListMode));
    CallMethod(p_oHost, "HideSupportControls");
    if (!m_bWatchListMode) {
        return;
    }
    const std::string picture =
        (PlatformContext::Current().Library().Location() / kToolBarPicture).string();
    CallWith(p_oHost, "AddToolBarButton",
             {Variant("WatchLists"), Variant(""), Variant(int32_t{0}), Variant(picture)});
}

}  // namespace qv
