// The viewer control's handlers of the events of its two grid controls and its two Grid
// wrappers, and the grid menu's commands.
#include "control/viewer.h"

#include "columns/grid_columns.h"
#include "control/viewer_events.h"
#include "grid/grid.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/grid_control_split_columns.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/vb_format.h"
#include "strategies/viewer_functionality.h"

namespace qv {

namespace {

constexpr int16_t kKeyF = 'F';
constexpr int16_t kKeyL = 'L';
constexpr int16_t kKeyP = 'P';
constexpr int16_t kKeyQ = 'Q';

// The grid control's flag that its splits moved, which the viewer sets by dispatch id.
constexpr int32_t kSplitsMovedId = 43;

}  // namespace

// --- Handlers of the grid controls -------------------------------------------------------------

void Viewer::ClearSelection(GridControl& p_oGrid) {
    const auto selection = p_oGrid.SelBookmarks();
    while (selection->Count() > 0) {
        selection->Remove(0);
    }
}

void Viewer::PrimaryClick() {
    ClearSelection(*m_oleSecGrid);
    LetPropertyById(*m_olePriGrid, 75, Variant(int32_t{5}));
    m_bPriGridLastUsed = true;
}

void Viewer::SecondaryClick() {
    ClearSelection(*m_olePriGrid);
    LetPropertyById(*m_olePriGrid, 75, Variant(int32_t{5}));
    m_bPriGridLastUsed = false;
}

void Viewer::PrimaryMouseMove(int32_t p_lX, int32_t p_lY) {
    const bool overHeaders = m_olePriGrid->PointAt(p_lX, p_lY) == gcrColumnHeader;
    SetMousePointer(overHeaders ? vbCustom : vbDefault);
}

void Viewer::PrimaryMouseUp(int16_t p_iButton, int32_t p_lX, int32_t p_lY) {
    const GridHit hit = m_olePriGrid->HitTest(p_lX, p_lY);
    if (p_iButton == gmbLeft && hit.Region == gcrColumnHeader) {
        m_bIgnoreDblClick = true;
    } else if (p_iButton == gmbRight && hit.Region == gcrData && hit.Row >= 0) {
        if (m_olePriGrid->SelBookmarks()->Count() == 1) {
            ClearSelection(*m_olePriGrid);
        }
        m_olePriGrid->SetCurrentRow(hit.Row);
    }
    if (m_bSearchFound) {
        m_bSearchSelected = false;
        m_bSearchFound = false;
    }
}

void Viewer::PrimaryDblClick() {
    Reported("Viewer:olePriGrid_DblClick", [&] {
        if (m_bIgnoreDblClick) {
            m_bIgnoreDblClick = false;
            return;
        }
        const auto selection = m_olePriGrid->SelBookmarks();
        if (selection->Count() == 0) {
            return;
        }
        if (ViewerType() == vt_Portfolio) {
            const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource()->Clone();
            rows->SetBookmark(selection->Item(0));
            std::string symbol = rows->Fields().Item("Symbol").Value().ToString();
            if (!RaiseEvent([&](ViewerEvents& sink) { sink.DoubleClick(symbol); })) {
                return;
            }
        }
        m_bIgnoreDblClick = false;
    });
}

void Viewer::PrimaryKeyDown(int16_t p_iKeyCode, int16_t p_iShift) {
    if (p_iShift != gssCtrl) {
        return;
    }
    switch (p_iKeyCode) {
        case kKeyF:
            RaiseEvent([](ViewerEvents& sink) { sink.Find(); });
            return;
        case kKeyL:
            Customize();
            return;
        case kKeyP:
            PrintSelected(false);
            return;
        case kKeyQ: {
            const qv::ViewerType type = ViewerType();
            if (type == vt_Stocks || type == vt_Industries || type == vt_Sectors ||
                type == vt_FinderResults) {
                ShowQuickTest();
            }
            return;
        }
        default:
            return;
    }
}

void Viewer::PrimaryColMove(int16_t p_iPosition) {
    Reported("Viewer:olePriGrid_ColMove", [&] {
        const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy;
        const std::shared_ptr<Grid> priGrid = m_oPriGrid;
        const std::shared_ptr<Grid> secGrid = m_oSecGrid;
        if (!strategy || !priGrid || !secGrid) {
            return;
        }
        if (m_olePriGrid->Splits()->Count() >= 2) {
            LetPropertyById(*m_olePriGrid, kSplitsMovedId, Variant(int32_t{1}));
        }
        priGrid->GridColumns()->Move(m_olePriGrid->SelStartCol(), m_olePriGrid->SelEndCol(),
                                     p_iPosition);
        strategy->SynchronizeColumns(*priGrid, *secGrid, false);
    });
}

// --- Handlers of the Grid wrappers -------------------------------------------------------------

void Viewer::PrimaryNavigate(const std::string& p_sAddress) {
    if (p_sAddress == "InvestmentDetails") {
        PrimaryDblClick();
    } else if (!RaiseEvent([&](ViewerEvents& sink) { sink.Navigate(p_sAddress); })) {
        return;
    }
    DoEvents();
}

void Viewer::GridMenuClick(int32_t p_lItemId, const std::string& p_sItemTag) {
    switch (p_lItemId) {
        case 3:
            Customize();
            return;
        case 12:
            RaiseEvent([](ViewerEvents& sink) { sink.Find(); });
            return;
        case 13: {
            bool userOnly = true;
            RestoreDefaultLayout(userOnly);
            return;
        }
        case 15:
            SaveLayout(false);
            return;
        case 16:
            SaveLayout(true);
            return;
        case 17:
            DeleteLayout();
            return;
        case 18:
            if (IsNumeric(Variant(p_sItemTag))) {
                LoadLayoutFromMenu(p_sItemTag);
            }
            return;
        case 23: {
            bool userOnly = false;
            RestoreDefaultLayout(userOnly);
            return;
        }
        default:
            return;
    }
}

}  // namespace qv
