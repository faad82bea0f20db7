#include "control/viewer.h"

#include "control/viewer_events.h"
#include "grid/grid.h"
#include "grid/grid_events.h"
#include "outside/automation_error.h"
#include "outside/date_selector.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/grid_control_events.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/support_utility.h"
#include "outside/vb_date.h"
#include "state/viewer_elements.h"
#include "strategies/finder_viewer.h"
#include "strategies/industry_history.h"
#include "strategies/industry_viewer.h"
#include "strategies/portfolio_viewer.h"
#include "strategies/sector_history.h"
#include "strategies/sector_viewer.h"
#include "strategies/stock_history.h"
#include "strategies/stock_viewer.h"

#include <algorithm>
#include <cctype>

namespace qv {

namespace {

std::vector<std::string> SplitText(const std::string& p_sText, char p_cSeparator) {
    std::vector<std::string> parts(1);
    for (char c : p_sText) {
        if (c == p_cSeparator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

std::string UpperCase(std::string p_sText) {
    std::transform(p_sText.begin(), p_sText.end(), p_sText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return p_sText;
}

}  // namespace

Viewer::~Viewer() {
    Teardown();
}

void Viewer::AddSink(const std::shared_ptr<ViewerEvents>& p_oSink) {
    if (!p_oSink) {
        return;
    }
    for (const auto& sink : m_sinks) {
        if (sink.lock() == p_oSink) {
            return;
        }
    }
    m_sinks.push_back(p_oSink);
}

void Viewer::RemoveSink(const std::shared_ptr<ViewerEvents>& p_oSink) {
    std::erase_if(m_sinks, [&](const std::weak_ptr<ViewerEvents>& sink) {
        return sink.expired() || sink.lock() == p_oSink;
    });
}

bool Viewer::RaiseEvent(const std::function<void(ViewerEvents&)>& p_fnEvent) {
    const std::weak_ptr<bool> alive = m_oAlive;
    const std::vector<std::weak_ptr<ViewerEvents>> sinks = m_sinks;
    for (const auto& weak : sinks) {
        const std::shared_ptr<ViewerEvents> sink = weak.lock();
        if (!sink) {
            continue;
        }
        // A sink removed by an earlier handler of this event hears nothing more.
        const bool registered = std::any_of(m_sinks.begin(), m_sinks.end(),
                                            [&](const auto& held) { return held.lock() == sink; });
        if (!registered) {
            continue;
        }
        p_fnEvent(*sink);
        if (alive.expired()) {
            return false;
        }
    }
    return true;
}

// --- Viewer type -------------------------------------------------------------------------------

qv::ViewerType Viewer::ViewerType() const {
    return m_oStrategy ? m_oStrategy->ViewerElements()->ViewerType() : vt_Stocks;
}

std::shared_ptr<ViewerFunctionality> Viewer::CreateStrategy(int32_t p_eViewerType) const {
    switch (p_eViewerType) {
        case vt_Stocks:
            return std::make_shared<StockViewer>();
        case vt_Industries:
            return std::make_shared<IndustryViewer>();
        case vt_Sectors:
            return std::make_shared<SectorViewer>();
        case vt_StockHistory:
            return std::make_shared<StockHistory>();
        case vt_IndustryHistory:
            return std::make_shared<IndustryHistory>();
        case vt_SectorHistory:
            return std::make_shared<SectorHistory>();
        case vt_FinderResults:
            return std::make_shared<FinderViewer>();
        case vt_Portfolio:
            return std::make_shared<PortfolioViewer>();
        default:
            break;
    }
    throw AutomationError(errors::kInvalidViewerType, "Viewer", "Invalid Viewer Type");
}

void Viewer::SetViewerType(int32_t p_eViewerType) {
    ChangeRunningStatus("Initializing . . .", true);
    std::string layoutPath = kDefaultLayoutPath;
    std::string server = kDefaultServerAddress;
    if (m_oStrategy) {
        const auto elements = m_oStrategy->ViewerElements();
        if (!elements->GridLayoutPath().empty()) {
            layoutPath = elements->GridLayoutPath();
        }
        if (!elements->ServerAddress().empty()) {
            server = elements->ServerAddress();
        }
    }
    std::shared_ptr<ViewerFunctionality> strategy;
    try {
        strategy = CreateStrategy(p_eViewerType);
    } catch (...) {
        // The host gets the error; a busy indicator left over the old list would only mislead.
        ChangeRunningStatus("", false);
        throw;
    }
    m_oStrategy = std::move(strategy);

    m_oPriGrid.reset();
    m_oSecGrid.reset();
    m_oPriGrid = std::make_shared<Grid>();
    m_oSecGrid = std::make_shared<Grid>();
    m_oPriGrid->AddSink(m_oPriWrapperSink.get());
    m_oSecGrid->AddSink(m_oSecWrapperSink.get());
    m_oPriGrid->Initialize(Grid::kInitializeComplete, "", p_eViewerType, "", m_oStrategy.get(),
                           false, false, 0);
    m_oPriGrid->SetColumnSelector(m_dlgColSel);
    m_oSecGrid->SetColumnSelector(m_dlgColSel);

    const auto elements = m_oStrategy->ViewerElements();
    elements->SetViewerType(static_cast<qv::ViewerType>(p_eViewerType));
    SetGridLayoutPath(layoutPath);
    SetServerAddress(server);
    ChangeRunningStatus("", false);
}

// --- Forwarding properties ---------------------------------------------------------------------

std::shared_ptr<ViewerElements> Viewer::Elements() const {
    if (!m_oStrategy) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the viewer type is not set");
    }
    return m_oStrategy->ViewerElements();
}

int32_t Viewer::ProgramsMask() const {
    return Elements()->ProgramsMask();
}
void Viewer::SetProgramsMask(int32_t p_lMask) {
    Elements()->SetProgramsMask(p_lMask);
}
int32_t Viewer::PortfolioID() const {
    return Elements()->PortfolioID();
}
void Viewer::SetPortfolioID(int32_t p_lId) {
    const auto elements = Elements();
    elements->SetPortfolioID(p_lId);
    elements->SetWatchListId(0);
}
int32_t Viewer::WatchListId() const {
    return Elements()->WatchListId();
}
void Viewer::SetWatchListId(int32_t p_lId) {
    const auto elements = Elements();
    elements->SetWatchListId(p_lId);
    elements->SetPortfolioID(0);
}
std::shared_ptr<Recordset> Viewer::ParameterList() const {
    return Elements()->ParameterList();
}
void Viewer::SetParameterList(std::shared_ptr<Recordset> p_rParameters) {
    Elements()->SetParameterList(std::move(p_rParameters));
}
std::shared_ptr<Recordset> Viewer::FinderResults() const {
    return Elements()->FinderResults();
}
void Viewer::SetFinderResults(std::shared_ptr<Recordset> p_rResults) {
    Elements()->SetFinderResults(std::move(p_rResults));
}
int32_t Viewer::FinderResultsType() const {
    return Elements()->FinderResultsType();
}
void Viewer::SetFinderResultsType(int32_t p_lType) {
    const auto elements = Elements();
    if (elements->FinderResultsType() != p_lType) {
        elements->SetFinderResultsType(p_lType);
    }
}
int32_t Viewer::MaxRows() const {
    return Elements()->MaxRows();
}
void Viewer::SetMaxRows(int32_t p_lMaxRows) {
    Elements()->SetMaxRows(p_lMaxRows);
}
bool Viewer::ReturnAll() const {
    return Elements()->ReturnAll();
}
void Viewer::SetReturnAll(bool p_bReturnAll) {
    Elements()->SetReturnAll(p_bReturnAll);
}
std::string Viewer::ServerAddress() const {
    return Elements()->ServerAddress();
}
void Viewer::SetServerAddress(const std::string& p_sAddress) {
    Elements()->SetServerAddress(p_sAddress);
}
std::string Viewer::GridLayoutPath() const {
    return Elements()->GridLayoutPath();
}
void Viewer::SetGridLayoutPath(const std::string& p_sPath) {
    Elements()->SetGridLayoutPath(p_sPath);
}
Variant Viewer::LayoutInfo() const {
    return Elements()->GridLayoutInfo();
}
void Viewer::SetLayoutInfo(const Variant& p_vLayoutInfo) {
    Elements()->SetGridLayoutInfo(p_vLayoutInfo);
}
std::string Viewer::AvgType() const {
    return Elements()->AvgType();
}
void Viewer::SetAvgType(const std::string& p_sAvgType) {
    Elements()->SetAvgType(p_sAvgType);
}
int32_t Viewer::IndCode() const {
    return Elements()->IndCode();
}
void Viewer::SetIndCode(int32_t p_lCode) {
    Elements()->SetIndCode(p_lCode);
}
int32_t Viewer::SectorCode() const {
    return Elements()->SectorCode();
}
void Viewer::SetSectorCode(int32_t p_lCode) {
    Elements()->SetSectorCode(p_lCode);
}
int32_t Viewer::OwnerId() const {
    return Elements()->OwnerId();
}
void Viewer::SetOwnerId(int32_t p_lId) {
    Elements()->SetOwnerId(p_lId);
}
std::string Viewer::PortfolioName() const {
    return Elements()->PortfolioName();
}
void Viewer::SetPortfolioName(const std::string& p_sName) {
    Elements()->SetPortfolioName(p_sName);
}
std::string Viewer::SearchName() const {
    return Elements()->SearchName();
}
void Viewer::SetSearchName(const std::string& p_sName) {
    Elements()->SetSearchName(p_sName);
}
bool Viewer::IsWin32() const {
    return Elements()->IsWin32();
}
void Viewer::SetIsWin32(bool p_bIsWin32) {
    Elements()->SetIsWin32(p_bIsWin32);
}
double Viewer::StartDate() const {
    return Elements()->StartDate();
}
void Viewer::SetStartDate(double p_dDate) {
    Elements()->SetStartDate(p_dDate);
}
double Viewer::EndDate() const {
    return Elements()->EndDate();
}
void Viewer::SetEndDate(double p_dDate) {
    Elements()->SetEndDate(p_dDate);
}
std::string Viewer::BSHCaption() const {
    return Elements()->BSHCaption();
}
std::string Viewer::SortCaption() const {
    return Elements()->Sort();
}
int32_t Viewer::StartTimeId() const {
    return Elements()->StartTimeId();
}
std::string Viewer::Symbol() const {
    if (ViewerType() == vt_Portfolio && m_oPriGrid) {
        return m_oPriGrid->GetSelKeys();
    }
    return Elements()->Symbol();
}
void Viewer::SetSymbol(const std::string& p_sSymbol) {
    Elements()->SetSymbol(p_sSymbol);
}

// --- Properties of the control -----------------------------------------------------------------

int32_t Viewer::RecordCount() const {
    const auto& rows = m_olePriGrid->DataSource();
    return rows ? rows->RecordCount() : 0;
}

std::string Viewer::ViewerTypeCaption() const {
    switch (ViewerType()) {
        case vt_Stocks:
            if (SectorCode() >= 1) {
                return "Stocks in Sector: ";
            }
            return IndCode() >= 1 ? "Stocks in Industry Group: " : "Stock Viewer";
        case vt_Industries:
            return SectorCode() >= 1 ? "Industries in Sector: " : "Industry Viewer";
        case vt_Sectors:
            return "Sector Viewer";
        case vt_StockHistory:
            return "Stock History";
        case vt_IndustryHistory:
            return "Industry History";
        case vt_SectorHistory:
            return "Sector History";
        case vt_FinderResults:
            return "Finder Results";
        case vt_Portfolio:
            return "Portfolio";
        default:
            return "";
    }
}

std::string Viewer::GridColumnText(const std::shared_ptr<GridControl>& p_oGrid,
                                   const std::string& p_sField) const {
    const int32_t column = p_oGrid->Columns()->IndexOfField(p_sField);
    const auto& rows = p_oGrid->DataSource();
    if (column < 0 || !rows || rows->IsBOF() || rows->IsEOF()) {
        return "";
    }
    return p_oGrid->CellText(column, rows->Bookmark());
}

std::string Viewer::ViewerOtherCaption() const {
    switch (ViewerType()) {
        case vt_Stocks:
            if (SectorCode() >= 1) {
                return GridColumnText(m_oleSecGrid, "sectorname");
            }
            return IndCode() >= 1 ? GridColumnText(m_oleSecGrid, "indname") : "";
        case vt_Industries:
            return SectorCode() >= 1 ? GridColumnText(m_oleSecGrid, "sectorname") : "";
        case vt_StockHistory:
            return "Stock History";
        case vt_IndustryHistory:
            return GridColumnText(m_olePriGrid, "indname");
        case vt_SectorHistory:
            return GridColumnText(m_olePriGrid, "sectorname");
        case vt_FinderResults:
            return "Finder Results";
        case vt_Portfolio:
            return "Portfolio";
        default:
            return "";
    }
}

void Viewer::SetStartDateStr(const std::string& p_sDate) {
    std::string text = p_sDate;
    std::replace(text.begin(), text.end(), '.', '/');
    // The selector is the support library's control, added for the moment it takes to read the
    // text and removed again.
    double day = 0;
    if (!ParseDateText(text, day)) {
        // A selector keeps its old day for a text it cannot read; the host must hear of it.
        RaiseRuntimeError(errors::kTypeMismatch, "\"" + p_sDate + "\" is not a date");
    }
    const std::shared_ptr<DispatchObject> ctl1 = CreateObject(kDateSelectorProgId);
    LetProperty(*ctl1, "Visible", Variant(false));
    LetProperty(*ctl1, "Text", Variant(text));
    SetStartDate(GetProperty(*ctl1, "Value").ToDate());
}

void Viewer::SetRemoteServer(const std::string& p_sServer) {
    Reported("Portfolio:RemoteServer_Let", [&] {
        const std::vector<std::string> parts = SplitText(p_sServer, '/');
        if (parts.size() < 3) {
            return;
        }
        const std::string server = "HTTP://" + UpperCase(parts[2]);
        const SupportUtility utility;
        if (server.size() > 7 && server != utility.RemoteServer()) {
            utility.SaveRemoteServer(server);
        }
    });
}

Variant Viewer::Win32Setup() const {
    return Variant(VariantArray::Vector({Variant("True"), Variant("True")}));
}

std::string Viewer::Win32Key() {
    const bool secondarySelected = m_oleSecGrid->SelBookmarks()->Count() > 0;
    if (m_olePriGrid->SelBookmarks()->Count() == 0 && !secondarySelected) {
        SelectTop(1);
    }
    std::string keys = m_oPriGrid ? m_oPriGrid->GetSelKeys() : "";
    if (keys.empty() && m_oSecGrid) {
        keys = m_oSecGrid->GetSelKeys();
    }
    return keys;
}

int16_t Viewer::SelectedGridType() {
    if (m_oPriGrid && !m_oPriGrid->GetSelKeys().empty()) {
        return static_cast<int16_t>(m_oPriGrid->ViewerDataType());
    }
    if (m_oSecGrid && !m_oSecGrid->GetSelKeys().empty()) {
        return static_cast<int16_t>(m_oSecGrid->ViewerDataType());
    }
    return -1;
}

void Viewer::SelectTop(int32_t p_lCount) {
    Reported("Viewer:SelectTop", [&] {
        const auto selection = m_olePriGrid->SelBookmarks();
        while (selection->Count() > 0) {
            selection->Remove(0);
        }
        const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
        if (!rows) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "the primary grid has no rows");
        }
        for (int32_t i = 0; i < p_lCount; ++i) {
            if (rows->IsEOF() && rows->RecordCount() > 0) {
                rows->MoveLast();
            }
            if (rows->IsBOF()) {
                rows->MoveFirst();
            }
            selection->Add(rows->Bookmark());
            if (i + 1 < p_lCount) {
                rows->MoveNext();
            }
        }
    });
}

// --- Details -----------------------------------------------------------------------------------

namespace {

double CurrentTradingDate(const GridControl& p_oGrid) {
    const auto& rows = p_oGrid.DataSource();
    if (!rows) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the primary grid has no rows");
    }
    return rows->Fields().Item("Trading_Date").Value().ToDate();
}

}  // namespace

void Viewer::ShowDetails() {
    Reported("QorvantNGViewer:ShowDetails", [&] {
        if (StartDate() == 0) {
            return;
        }
        int16_t type = 1;
        double date = StartDate();
        switch (ViewerType()) {
            case vt_StockHistory:
            case vt_IndustryHistory:
            case vt_SectorHistory:
                date = CurrentTradingDate(*m_olePriGrid);
                break;
            case vt_Portfolio:
                date = 0;
                break;
            default:
                break;
        }
        RaiseEvent([&](ViewerEvents& sink) { sink.ShowInfo(type, date); });
    });
}

void Viewer::ShowStockA() {
    Reported("Viewer:ShowStockA", [&] {
        if (StartDate() == 0) {
            return;
        }
        int16_t type = 1;
        double date = StartDate();
        switch (ViewerType()) {
            case vt_Stocks:
            case vt_FinderResults:
                break;
            case vt_StockHistory:
                date = CurrentTradingDate(*m_olePriGrid);
                break;
            case vt_Portfolio:
                date = 0;
                break;
            default:
                return;
        }
        RaiseEvent([&](ViewerEvents& sink) { sink.ShowStockA(type, date); });
    });
}

// --- Geometry and teardown ---------------------------------------------------------------------

void Viewer::SetExtent(int32_t p_lWidth, int32_t p_lHeight) {
    m_lWidth = p_lWidth;
    m_lHeight = p_lHeight;
    UserControlResize();
}

void Viewer::ResizeMe() {
    UserControlResize();
}

void Viewer::UserControlResize() {
    m_rcPriGrid.Left = 30;
    m_rcSecGrid.Left = 30;
    m_rcPriGrid.Width = std::max(0, m_lWidth - 60);
    m_rcSecGrid.Width = m_rcPriGrid.Width;

    m_rcRunning.Left = m_rcRunning.Width + 60 >= m_lWidth ? 30 : (m_lWidth - m_rcRunning.Width) / 2;
    m_rcRunning.Top =
        m_rcRunning.Height + 60 >= m_lHeight ? 30 : (m_lHeight - m_rcRunning.Height) / 2;

    m_rcPriGrid.Top = 0;
    if (!m_oStrategy || !m_oStrategy->ViewerElements()->DoubleGrid()) {
        m_rcPriGrid.Height = std::max(0, m_lHeight - m_rcPriGrid.Top);
        return;
    }
    const double margin = 0.015 * m_lHeight;
    m_rcPriGrid.Height = std::max(0, static_cast<int32_t>(m_lHeight - margin - 705));
    m_rcSecGrid.Top = static_cast<int32_t>(m_rcPriGrid.Height + margin);
}

void Viewer::Destroy() {
    Teardown();
}

void Viewer::Teardown() {
    m_oPriGrid.reset();
    m_oSecGrid.reset();
    m_oStrategy.reset();
    m_rCompanyList.reset();
    m_rSectorList.reset();
    m_rIndustryList.reset();
}

}  // namespace qv
