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
#include "outside/text_util.h"
#include "outside/vb_date.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <algorithm>

namespace qv {

// --- Forwarding properties ---------------------------------------------------------------------

std::shared_ptr<ViewerElements> Viewer::Elements() const {
    if (!m_oStrategy) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the viewer type is not set");
    }
    return m_oStrategy->ViewerElements();
}

// The generated accessors; those marked Own in the table follow.
// clang-format off
#define QV_DEFINE_FORWARDER(name, type, get, assign, member)                 \
    QV_VIEWER_GENERATED_##get(                                               \
        viewer_property::type::Value Viewer::name() const {                  \
            return Elements()->member();                                     \
        })                                                                   \
    QV_VIEWER_GENERATED_##assign(                                            \
        void Viewer::Set##name(viewer_property::type::Arg p_value) {         \
            Elements()->Set##member(p_value);                                \
        })
// clang-format on
QV_VIEWER_FORWARDERS(QV_DEFINE_FORWARDER)
#undef QV_DEFINE_FORWARDER

void Viewer::SetPortfolioID(int32_t p_lId) {
    const auto elements = Elements();
    elements->SetPortfolioID(p_lId);
    elements->SetWatchListId(0);
}

void Viewer::SetWatchListId(int32_t p_lId) {
    const auto elements = Elements();
    elements->SetWatchListId(p_lId);
    elements->SetPortfolioID(0);
}

void Viewer::SetFinderResultsType(int32_t p_lType) {
    const auto elements = Elements();
    if (elements->FinderResultsType() != p_lType) {
        elements->SetFinderResultsType(p_lType);
    }
}

std::string Viewer::Symbol() const {
    if (ViewerType() == vt_Portfolio && m_oPriGrid) {
        return m_oPriGrid->GetSelKeys();
    }
    return Elements()->Symbol();
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
        const std::string server = "HTTP://" + ToUpperAscii(parts[2]);
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
