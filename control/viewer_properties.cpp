// The viewer control's properties: those forwarded to the viewer state and those with behaviour
// of their own.
#include "control/viewer.h"

#include "grid/grid.h"
#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/date_selector.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/support_utility.h"
#include "outside/vb_date.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

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

}  // namespace qv
