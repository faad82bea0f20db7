#include "shell/viewer_host.h"

#include "control/viewer.h"
#include "facade/facade_components.h"
#include "host/control_master.h"
#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/grid_control.h"
#include "outside/layout_description.h"
#include "outside/recordset.h"
#include "outside/shared_services.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"
#include "shell/host_frame.h"
#include "shell/list_output.h"
#include "shell/market_session.h"
#include "shell/screen_calls.h"
#include "shell/startup_array.h"
#include "shell/window_texts.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

// The control's container, as the page hosting it is: told "disable" when another login of the
// owner has taken the session over.
class ControlContainer : public DispatchObject {
  public:
    explicit ControlContainer(std::function<void()> p_fnDisable)
        : m_fnDisable(std::move(p_fnDisable)) {}

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override {
        if (p_eKind != InvokeKind::Method || !EqualsIgnoreCase(p_sName, "disable")) {
            RaiseMemberNotFound(*this, p_sName);
        }
        if (!p_args.empty()) {
            RaiseWrongArgumentCount(*this, p_sName);
        }
        m_fnDisable();
        return Variant();
    }

    std::string_view DispatchClassName() const override { return "Container"; }

  private:
    std::function<void()> m_fnDisable;
};

bool IsHistory(int32_t p_lViewerType) {
    return p_lViewerType == vt_StockHistory || p_lViewerType == vt_IndustryHistory ||
           p_lViewerType == vt_SectorHistory;
}

bool Holds(const std::vector<NamedCode>& p_aNames, int32_t p_lCode) {
    return std::any_of(p_aNames.begin(), p_aNames.end(),
                       [&](const NamedCode& p_oName) { return p_oName.m_lCode == p_lCode; });
}

std::string Joined(const std::vector<std::string>& p_aTexts) {
    std::string joined;
    for (const std::string& text : p_aTexts) {
        joined += (joined.empty() ? "" : ", ") + text;
    }
    return joined;
}

// A screen's rows, one of them, as a sentence's subject: "No stock meets ...".
const char* OneRowOf(int32_t p_lResultType) {
    switch (p_lResultType) {
        case srIndustries:
            return "industry group";
        case srSectors:
            return "sector";
        default:
            return "stock";
    }
}

}  // namespace

ViewerHost::ViewerHost(const MarketSession& p_oSession, std::unique_ptr<HostFrame> p_oFrame)
    : m_oSession(p_oSession),
      m_oViewer(std::make_shared<Viewer>()),
      m_oContainer(std::make_shared<ControlContainer>([this] {
          m_bTakenOver = true;
          if (m_fnTakenOver) {
              m_fnTakenOver();
          }
      })),
      m_oFrame(p_oFrame ? std::move(p_oFrame) : std::make_unique<HostFrame>()) {
    m_oViewer->SetParent(m_oContainer);
    m_oFrame->SetMainControl(m_oViewer);
}

void ViewerHost::SetOnLoginTakenOver(std::function<void()> p_fnTakenOver) {
    m_fnTakenOver = std::move(p_fnTakenOver);
}

ViewerHost::~ViewerHost() {
    m_oFrame.reset();
    m_oViewer->Destroy();
}

bool ViewerHost::Show(const ViewerRequest& p_oRequest) {
    std::vector<std::string> notes;
    const ViewerRequest request = Completed(p_oRequest, notes);
    if (request.m_lViewerType < vt_Stocks || request.m_lViewerType > vt_Portfolio) {
        throw AutomationError(errors::kInvalidViewerType, "Viewer", "Invalid Viewer Type");
    }
    // A screen runs before anything changes: criteria the facade refuses leave the list shown.
    std::shared_ptr<Recordset> screenRows =
        request.m_lViewerType == vt_FinderResults ? ScreenRows(request) : nullptr;
    if (m_bHasList) {
        KeepLayout();
    }
    m_bHasList = true;
    m_bTakenOver = false;
    m_oRequest = request;
    m_oScreenRows = std::move(screenRows);
    StartupValues values;
    values.m_oRequest = request;
    values.m_lOwnerId = m_oSession.OwnerId();
    // A row limit asked for is the limit of the history: it reaches back as far as the market.
    values.m_lHistoryStart =
        request.m_lMaxRows >= 0 ? m_oSession.FirstDay() : request.m_lDate - request.m_lHistoryDays;
    // The desktop user holds the options analysis (whose menu shows once the owner has trades),
    // not the advanced graph edition.
    values.m_lProgramsMask = SharedServices::kOptionsProgram;
    m_oFrame->SetTimeCode(m_oSession.TimeCode());
    if (IsWatchListStartup(request)) {
        m_oFrame->ChooseWatchList(request.m_lWatchListId);
    }
    m_oFrame->StartControl(StartupArray(values), [this, request] { ApplyExtras(request); });
    // The portfolio panel chooses the portfolio as the person would, where it has not already.
    if (IsPortfolioScope(request) && m_oFrame->StartupPending()) {
        m_oFrame->RaiseHostEvent("ITEMSELECTED", {Variant(request.m_lPortfolioId)});
    }
    m_oFrame->EndStartup();
    NameSortFields();
    NoteResult(notes);
    m_aNotes = std::move(notes);
    return m_oViewer->RecordCount() > 0;
}

void ViewerHost::FollowControl() {
    if (!m_bHasList || !m_oViewer->Strategy()) {
        return;
    }
    const int32_t type = m_oViewer->ViewerType();
    if (type != vt_Stocks && type != vt_Industries && type != vt_Sectors) {
        return;
    }
    m_oRequest.m_lWatchListId = m_oViewer->WatchListId();
    m_oRequest.m_lPortfolioId = m_oViewer->PortfolioID();
    if (m_oViewer->StartDate() >= 1) {
        m_oRequest.m_lDate = static_cast<int32_t>(m_oViewer->StartDate());
    }
    m_oRequest.m_lMaxRows = m_oViewer->ReturnAll() ? 0 : m_oViewer->MaxRows();
}

void ViewerHost::ApplyExtras(const ViewerRequest& p_oRequest) {
    if (IsPortfolioScope(p_oRequest)) {
        m_oViewer->SetProgramsMask(SharedServices::kOptionsProgram);
    }
    if (IsWatchListStartup(p_oRequest) && p_oRequest.m_lMaxRows >= 0) {
        m_oViewer->SetReturnAll(p_oRequest.m_lMaxRows == 0);
        m_oViewer->SetMaxRows(p_oRequest.m_lMaxRows);
    }
    if (IsHistory(p_oRequest.m_lViewerType)) {
        m_oViewer->SetEndDate(p_oRequest.m_lDate);
    } else {
        ApplyScope(p_oRequest);
    }
    TakeLayout(p_oRequest);
}

ViewerRequest ViewerHost::Completed(const ViewerRequest& p_oRequest,
                                    std::vector<std::string>& p_aNotes) const {
    ViewerRequest request = p_oRequest;
    FindPortfolio(request);
    CheckNames(request, p_aNotes);
    request.m_lDate = TradingDayOf(request.m_lDate, p_aNotes);
    if (request.m_lViewerType == vt_FinderResults) {
        CompleteScreen(request);
    }
    if (request.m_lViewerType == vt_StockHistory && request.m_sSymbol.empty()) {
        const auto rows = StockRows(request.m_lDate);
        if (rows && rows->RecordCount() > 0) {
            rows->MoveFirst();
            request.m_sSymbol = rows->Value("Symbol").ToString();
        }
    }
    if (request.m_lViewerType == vt_Portfolio && request.m_lPortfolioId == 0) {
        const auto portfolios = m_oSession.Portfolios();
        if (portfolios.empty()) {
            throw RequestError("the owner has no portfolio");
        }
        request.m_lPortfolioId = portfolios.front().m_lCode;
    }
    if (request.m_lViewerType == vt_IndustryHistory && request.m_lIndCode == 0) {
        const auto industries = m_oSession.Industries();
        request.m_lIndCode = industries.empty() ? 0 : industries.front().m_lCode;
    }
    if (request.m_lViewerType == vt_SectorHistory && request.m_lSectorCode == 0) {
        const auto sectors = m_oSession.Sectors();
        request.m_lSectorCode = sectors.empty() ? 0 : sectors.front().m_lCode;
    }
    return request;
}

int32_t ViewerHost::TradingDayOf(int32_t p_lDate, std::vector<std::string>& p_aNotes) const {
    const int32_t first = m_oSession.FirstDay();
    const int32_t last = m_oSession.LastDay();
    if (p_lDate == 0) {
        return last;
    }
    const std::string asked = IsoDateText(p_lDate);
    if (last == 0) {
        throw RequestError("no data for " + asked + ": the market holds no trading days");
    }
    if (p_lDate > last) {
        throw RequestError("no data for " + asked + ": the market's data ends on " +
                           IsoDateText(last));
    }
    if (p_lDate < first) {
        throw RequestError("no data for " + asked + ": the market's data starts on " +
                           IsoDateText(first));
    }
    const int32_t day = m_oSession.TradingDayOnOrBefore(p_lDate);
    if (day != p_lDate) {
        p_aNotes.push_back(asked + " is not a trading day; shown is " + IsoDateText(day) +
                           ", the trading day before it");
    }
    return day;
}

void ViewerHost::FindPortfolio(ViewerRequest& p_oRequest) const {
    if (p_oRequest.m_sPortfolioName.empty()) {
        return;
    }
    const auto portfolios = m_oSession.Portfolios();
    const auto found =
        std::find_if(portfolios.begin(), portfolios.end(), [&](const NamedCode& p_oPortfolio) {
            return EqualsIgnoreCase(p_oPortfolio.m_sName, p_oRequest.m_sPortfolioName);
        });
    if (found == portfolios.end()) {
        std::string names;
        for (const NamedCode& portfolio : portfolios) {
            names += (names.empty() ? "" : ", ") + portfolio.m_sName;
        }
        throw RequestError("the owner has no portfolio named '" + p_oRequest.m_sPortfolioName +
                           "'; the portfolios are: " + (names.empty() ? "none" : names));
    }
    p_oRequest.m_lPortfolioId = found->m_lCode;
    p_oRequest.m_sPortfolioName.clear();
}

void ViewerHost::CheckNames(const ViewerRequest& p_oRequest,
                            std::vector<std::string>& p_aNotes) const {
    if (!p_oRequest.m_sSymbol.empty() && !m_oSession.HasStock(p_oRequest.m_sSymbol)) {
        throw RequestError("no stock with the symbol " + p_oRequest.m_sSymbol);
    }
    if (p_oRequest.m_lIndCode != 0 && !Holds(m_oSession.Industries(), p_oRequest.m_lIndCode)) {
        throw RequestError("no industry group with the code " +
                           std::to_string(p_oRequest.m_lIndCode));
    }
    if (p_oRequest.m_lSectorCode != 0 && !Holds(m_oSession.Sectors(), p_oRequest.m_lSectorCode)) {
        throw RequestError("no sector with the code " + std::to_string(p_oRequest.m_lSectorCode));
    }
    if (p_oRequest.m_lPortfolioId != 0 &&
        !Holds(m_oSession.Portfolios(), p_oRequest.m_lPortfolioId)) {
        throw RequestError("the owner has no portfolio " +
                           std::to_string(p_oRequest.m_lPortfolioId));
    }
    if (p_oRequest.m_lWatchListId == 0) {
        return;
    }
    const auto lists = m_oSession.WatchLists();
    const auto list = std::find_if(lists.begin(), lists.end(), [&](const NamedCode& p_oList) {
        return p_oList.m_lCode == p_oRequest.m_lWatchListId;
    });
    if (list == lists.end()) {
        throw RequestError("the owner has no watch list " +
                           std::to_string(p_oRequest.m_lWatchListId));
    }
    const bool ofStocks = list->m_lKind == 0;
    // The stock list of an industry watch list is empty, as the control shows it; the window
    // says why in the grid's place.
    if (p_oRequest.m_lViewerType == vt_Stocks && !ofStocks) {
        p_aNotes.push_back("the watch list " + std::to_string(list->m_lCode) + " (" +
                           list->m_sName + ") lists industry groups; the industry list shows them");
        return;
    }
    if (p_oRequest.m_lViewerType == vt_Industries && ofStocks) {
        throw RequestError(
            "the watch list " + std::to_string(list->m_lCode) + " (" + list->m_sName + ") lists " +
            (ofStocks ? "stocks, not industry groups" : "industry groups, not stocks"));
    }
}

// A list handed its rows by the host (a portfolio) takes its layout's sort before the control
// has the field catalogue, so the sort clause names no field (" ASC"): with the catalogue read,
// the same sort names its fields.
void ViewerHost::NameSortFields() {
    const auto& strategy = m_oViewer->Strategy();
    if (!strategy) {
        return;
    }
    const std::shared_ptr<ViewerElements> elements = strategy->ViewerElements();
    if (!elements || elements->PriSortFieldId() < 1 || !elements->PriSortField().empty()) {
        return;
    }
    strategy->ReFillParams();
    elements->SetSortInfo(elements->PriSortFieldId(), elements->PriSortDir(),
                          elements->SecSortFieldId(), elements->SecSortDir());
}

void ViewerHost::CompleteScreen(ViewerRequest& p_oRequest) const {
    if (!p_oRequest.m_sScreenCriteria.empty()) {
        return;
    }
    const bool named = !p_oRequest.m_sScreenName.empty();
    std::vector<StockScreen> screens;
    try {
        screens = ReadScreens(m_oSession.OwnerId());
    } catch (const AutomationError&) {
        // A market without screens still shows its stocks rated Buy; a screen asked for by name
        // cannot be shown without them.
        if (named) {
            throw;
        }
    }
    const std::string name = named ? p_oRequest.m_sScreenName : kDefaultScreenName;
    const StockScreen* screen = FindScreen(screens, name);
    if (screen == nullptr && named) {
        throw RequestError("the owner has no screen named '" + name +
                           "'; the screens are: " + ScreenNames(screens));
    }
    p_oRequest.m_sScreenName = screen != nullptr ? screen->m_sName : name;
    p_oRequest.m_sScreenCriteria = screen != nullptr ? screen->m_sCriteria : kDefaultScreenCriteria;
    p_oRequest.m_lScreenRows = screen != nullptr ? screen->m_lResultType : srStocks;
}

std::string ViewerHost::NoRowsReason(const ViewerRequest& p_oRequest) const {
    std::string criteria = p_oRequest.m_sScreenCriteria;
    try {
        criteria = CheckScreen(m_oSession.OwnerId(), p_oRequest.m_lScreenRows, criteria,
                               p_oRequest.m_lDate)
                       .m_sDescription;
    } catch (const AutomationError&) {
        // Without the readable form the criteria say it as they were written.
    }
    return std::string("No ") + OneRowOf(p_oRequest.m_lScreenRows) + " meets " + criteria + " on " +
           DefaultDateText(p_oRequest.m_lDate);
}

int32_t ViewerHost::RowLimitInForce() const {
    const int32_t type = m_oRequest.m_lViewerType;
    if (type == vt_FinderResults && m_oRequest.m_lMaxRows >= 0) {
        return m_oRequest.m_lMaxRows;
    }
    if (type == vt_FinderResults) {
        namespace call = facade_protocol::get_default_max_rows;
        // The owner's limit, which the facade applied to the screen, is that of the stock lists.
        constexpr int32_t kStockListKind = 3;
        std::array<Variant, call::kCount> args{Variant(kStockListKind), Variant(int32_t{0}),
                                               Variant(false), Variant(m_oSession.OwnerId())};
        CallMethod(*CreateObject(facade::prog_id::kViewerReader), call::kMethod, args);
        return std::max(args[call::kMaxRows.Position].ToLong(), 0);
    }
    if (type == vt_Portfolio || m_oViewer->ReturnAll()) {
        return 0;
    }
    return std::max(m_oViewer->MaxRows(), 0);
}

void ViewerHost::NoteResult(std::vector<std::string>& p_aNotes) {
    m_sNoRowsNote.clear();
    if (m_oRequest.m_lViewerType == vt_FinderResults && m_oViewer->RecordCount() == 0) {
        m_sNoRowsNote = NoRowsReason(m_oRequest);
        p_aNotes.push_back(m_sNoRowsNote);
    }
    const int32_t limit = RowLimitInForce();
    if (limit > 0 && m_oViewer->RecordCount() >= limit) {
        p_aNotes.push_back("the list stops at its row limit of " + std::to_string(limit) +
                           " rows; more may match (a row limit of 0 shows every row)");
    }
    const std::vector<std::string> empty = EmptyColumns(*m_oViewer->olePriGrid());
    if (!empty.empty()) {
        p_aNotes.push_back("the market has no values for " + Joined(empty) +
                           " in these rows; those columns are empty");
    }
}

void ViewerHost::ApplyScope(const ViewerRequest& p_oRequest) {
    // The array carries one scope code; a list scoped to an industry group keeps its sector too.
    m_oViewer->SetIndCode(p_oRequest.m_lIndCode);
    m_oViewer->SetSectorCode(p_oRequest.m_lSectorCode);
    if (p_oRequest.m_lViewerType == vt_FinderResults) {
        m_oViewer->SetFinderResultsType(p_oRequest.m_lScreenRows);
        m_oViewer->SetSearchName(p_oRequest.m_sScreenName.empty() ? p_oRequest.m_sScreenCriteria
                                                                  : p_oRequest.m_sScreenName);
        m_oViewer->SetFinderResults(m_oScreenRows);
        return;
    }
    if (p_oRequest.m_lViewerType == vt_Portfolio) {
        m_oViewer->SetPortfolioID(p_oRequest.m_lPortfolioId);
        // Printed in the page header and the report title.
        for (const NamedCode& portfolio : m_oSession.Portfolios()) {
            if (portfolio.m_lCode == p_oRequest.m_lPortfolioId) {
                m_oViewer->SetPortfolioName(portfolio.m_sName);
            }
        }
        m_oViewer->SetFinderResults(HoldingRows(p_oRequest.m_lPortfolioId, p_oRequest.m_lDate));
    }
}

std::string ViewerHost::Caption() const {
    std::string subject;
    if (m_oRequest.m_lViewerType == vt_StockHistory && !m_oRequest.m_sSymbol.empty()) {
        const std::string name = m_oSession.StockName(m_oRequest.m_sSymbol);
        subject = m_oRequest.m_sSymbol + (name.empty() ? "" : ", " + name);
    }
    if (m_oRequest.m_lViewerType == vt_FinderResults) {
        subject = m_oRequest.m_sScreenName.empty() ? m_oRequest.m_sScreenCriteria
                                                   : m_oRequest.m_sScreenName;
    }
    return CaptionLine(m_oViewer->ViewerTypeCaption(), m_oViewer->ViewerOtherCaption(), subject);
}

std::shared_ptr<Recordset> ViewerHost::StockRows(int32_t p_lDate) const {
    Viewer stocks;
    stocks.SetViewerType(vt_Stocks);
    stocks.SetOwnerId(m_oSession.OwnerId());
    stocks.SetTimeCode(m_oSession.TimeCode());
    stocks.SetStartDate(p_lDate == 0 ? m_oSession.LastDay() : p_lDate);
    stocks.SetReturnAll(true);
    stocks.UpdateViewer();
    auto rows = stocks.olePriGrid()->DataSource();
    stocks.Destroy();
    return rows;
}

std::shared_ptr<Recordset> ViewerHost::HoldingRows(int32_t p_lPortfolioId, int32_t p_lDate) const {
    namespace call = facade_protocol::get_current_holdings;
    const std::shared_ptr<DispatchObject> reader = CreateObject(facade::prog_id::kPortfolioReader);
    std::array<Variant, call::kCount> args{
        Variant(p_lPortfolioId),
        Variant(m_oSession.OwnerId()),
        Variant(static_cast<double>(p_lDate == 0 ? m_oSession.LastDay() : p_lDate)),
        Variant(false),
        Variant::Nothing(),
        Variant(),
        Variant(false),
        Variant::Nothing()};
    const Variant rows = CallMethod(*reader, call::kMethod, args);
    return RecordsetOf(rows);
}

std::shared_ptr<Recordset> ViewerHost::ScreenRows(const ViewerRequest& p_oRequest) const {
    namespace call = facade_protocol::run_screen;
    const std::shared_ptr<DispatchObject> reader = CreateObject(facade::prog_id::kViewerReader);
    const int32_t day = p_oRequest.m_lDate == 0 ? m_oSession.LastDay() : p_oRequest.m_lDate;
    // A limit of 0 with every row not asked for is the owner's own limit.
    std::array<Variant, call::kMaxCount> args{Variant(m_oSession.OwnerId()),
                                              Variant(p_oRequest.m_lScreenRows),
                                              Variant(p_oRequest.m_sScreenCriteria),
                                              Variant(static_cast<double>(day)),
                                              Variant(std::max(p_oRequest.m_lMaxRows, 0)),
                                              Variant(p_oRequest.m_lMaxRows == 0)};
    const Variant rows = CallMethod(*reader, call::kMethod, args);
    return RecordsetOf(rows);
}

// A kind of list: its viewer type, and for a watch list its own key, as a watch list starts from a
// layout of its own; a screen's rows of each kind have a layout of their own too.
int32_t ViewerHost::LayoutKind(const ViewerRequest& p_oRequest) {
    constexpr int32_t kScreenRowsStep = 100;
    const int32_t rows =
        p_oRequest.m_lViewerType == vt_FinderResults ? p_oRequest.m_lScreenRows : 0;
    return rows * kScreenRowsStep + p_oRequest.m_lViewerType * 2 +
           (p_oRequest.m_lWatchListId > 0 ? 1 : 0);
}

void ViewerHost::KeepLayout() {
    try {
        m_layouts[LayoutKind(m_oRequest)] = m_oViewer->LayoutInfo();
    } catch (const AutomationError&) {
        // A list the control could not show has no layout worth keeping.
    }
}

void ViewerHost::TakeLayout(const ViewerRequest& p_oRequest) {
    const auto kept = m_layouts.find(LayoutKind(p_oRequest));
    Variant layout = kept != m_layouts.end() ? kept->second : OwnDefaultLayout(p_oRequest);
    if (layout.IsEmpty()) {
        return;
    }
    try {
        m_oViewer->SetLayoutInfo(layout);
    } catch (const AutomationError&) {
        // A layout without a sort block is none in force: the list starts from its default.
    }
}

Variant ViewerHost::OwnDefaultLayout(const ViewerRequest& p_oRequest) const {
    if (p_oRequest.m_lWatchListId > 0) {
        return Variant();
    }
    namespace call = facade_protocol::get_default_layout;
    const int32_t finderType =
        p_oRequest.m_lViewerType == vt_FinderResults ? m_oViewer->FinderResultsType() : -1;
    std::array<Variant, call::kCount> args{Variant(m_oSession.OwnerId()),
                                           Variant(p_oRequest.m_lViewerType), Variant(finderType)};
    const Variant layout =
        CallMethod(*CreateObject(facade::prog_id::kViewerReader), call::kMethod, args);
    if (layout.IsEmpty() || layout_codec::Parse(layout).Header.OwnerId != m_oSession.OwnerId()) {
        return Variant();
    }
    return layout;
}

}  // namespace qv
