// The query cycle of the viewer control and its handlers of the grids' events.
#include "control/viewer.h"

#include "columns/grid_columns.h"
#include "control/viewer_events.h"
#include "control/viewer_sinks.h"
#include "grid/cell_formatting.h"
#include "grid/grid.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/grid_control_split_columns.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/vb_format.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

namespace qv {

namespace {

constexpr int32_t kWhite = 16777215;
constexpr int16_t kKeyF = 'F';
constexpr int16_t kKeyL = 'L';
constexpr int16_t kKeyP = 'P';
constexpr int16_t kKeyQ = 'Q';

// Grid-control members the viewer sets by dispatch id.
constexpr int32_t kBackColorId = 196;
constexpr int32_t kSplitsMovedId = 43;

}  // namespace

Viewer::Viewer()
    : m_olePriGrid(std::make_shared<GridControl>()),
      m_oleSecGrid(std::make_shared<GridControl>()),
      m_oPriControlSink(std::make_unique<PrimaryControlSink>(*this)),
      m_oSecControlSink(std::make_unique<SecondaryControlSink>(*this)),
      m_oPriWrapperSink(std::make_unique<PrimaryWrapperSink>(*this)),
      m_oSecWrapperSink(std::make_unique<SecondaryWrapperSink>(*this)) {
    m_olePriGrid->AddSink(m_oPriControlSink.get());
    m_oleSecGrid->AddSink(m_oSecControlSink.get());
}

// --- The update cycle --------------------------------------------------------------------------

bool Viewer::UpdateViewer(bool p_bReformat, bool p_bResetLeftCol) {
    ErrorScope scope("Viewer:UpdateViewer");
    const std::weak_ptr<bool> alive = m_oAlive;
    // Held for the whole call: a host event during a yield may replace them on the control.
    const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy;
    const std::shared_ptr<Grid> priGrid = m_oPriGrid;
    const std::shared_ptr<Grid> secGrid = m_oSecGrid;
    const std::shared_ptr<GridControl> priControl = m_olePriGrid;
    const std::shared_ptr<GridControl> secControl = m_oleSecGrid;
    bool result = false;
    std::shared_ptr<Recordset> rows;
    try {
        const std::shared_ptr<ViewerElements> elements = Elements();
        if (p_bResetLeftCol) {
            const auto& splits = priControl->Splits();
            elements->SetLeftColIndex(splits->Item(splits->Count() - 1)->LeftCol());
        }
        priControl->SetEnabled(false);
        secControl->SetEnabled(false);
        priControl->SetDataSource(nullptr);
        secControl->SetDataSource(nullptr);
        priGrid->SetGridObject(priControl);
        secGrid->SetGridObject(secControl);
        ChangeRunningStatus("Running . . .", true);
        if (p_bReformat || elements->GridColumns(gtPrimary)->Count() == 0) {
            strategy->PopulateGridColumns(*priGrid, *secGrid);
        }
        elements->SetGridColumns(gtPrimary, priGrid->GridColumns());
        elements->SetGridColumns(gtSecondary, secGrid->GridColumns());
        ChangeRunningStatus("Updating . . .", true);
        elements->SetTimeCode(m_sTimeCode);
        strategy->Initialize(*priGrid, *secGrid);

        if (elements->TimeCodeFailed()) {
            const std::shared_ptr<DispatchObject> parent = m_oParent.lock();
            if (!parent) {
                RaiseRuntimeError(errors::kObjectVariableNotSet, "the control has no container");
            }
            CallMethod(*parent, "disable");
        } else {
            rows = priControl->DataSource();
            ChangeRunningStatus("", false);
            if (rows && rows->RecordCount() > 0) {
                rows->MoveFirst();
                priControl->SelBookmarks()->Add(rows->Bookmark());
            }
            elements->SetSecGridFilter(Variant(""));
            SortSecondaryGrid();
            if (elements->WatchListId() >= 1) {
                DoEvents();
                if (alive.expired()) {
                    return result;
                }
                UserControlResize();
                DoEvents();
                if (alive.expired()) {
                    return result;
                }
            }
            result = priControl->RowCount() > 0;
            const int32_t leftCol = elements->LeftColIndex();
            const auto& splits = priControl->Splits();
            const auto& lastSplit = splits->Item(splits->Count() - 1);
            const int32_t splitColumns = lastSplit->Columns()->Count();
            if (p_bResetLeftCol && leftCol >= 1 && splitColumns >= 1 && leftCol < splitColumns) {
                lastSplit->SetLeftCol(leftCol);
            }
            LetPropertyById(*priControl, 75, Variant(int32_t{5}));
            LetPropertyById(*priControl, 86, Variant(true));
            LetPropertyById(*priControl, 87, Variant(false));
            m_bPriGridLastUsed = true;
            m_bSearchSelected = false;
            m_bSearchFound = false;
            if (elements->ViewerType() == vt_Portfolio) {
                elements->SetPortFolioUpdatedDate(m_dPortFolioUpdatedDate);
            }
        }
    } catch (...) {
        scope.Capture();
    }
    if (alive.expired()) {
        return result;
    }
    rows.reset();
    priControl->SetEnabled(true);
    secControl->SetEnabled(true);
    ChangeRunningStatus("", false);
    return result;
}

void Viewer::ChangeRunningStatus(const std::string& p_sCaption, bool p_bVisible) {
    LetPropertyById(*m_olePriGrid, kBackColorId, Variant(kWhite));
    RunningIndicator& indicator = PlatformContext::Current().Indicator();
    if (p_sCaption.find("Sorting") != std::string::npos || ViewerType() == vt_FinderResults) {
        indicator.SetStatus("", false);
        return;
    }
    indicator.SetStatus(p_sCaption, p_bVisible);
}

Variant Viewer::ClearViewer() {
    m_olePriGrid->SetDataSource(nullptr);
    m_oleSecGrid->SetDataSource(nullptr);
    m_olePriGrid->SetVisible(false);
    m_oleSecGrid->SetVisible(false);
    return Variant();
}

void Viewer::ClearResults(const Variant& p_vLayoutInfo) {
    Reported("Viewer: ClearResults", [&] {
        SetFinderResults(nullptr);
        const bool layoutGiven = !p_vLayoutInfo.IsMissing();
        if (layoutGiven) {
            SetLayoutInfo(p_vLayoutInfo);
        }
        UpdateViewer(false, !layoutGiven);
    });
}

void Viewer::SortSecondaryGrid() {
    Reported("Viewer: SortSecondaryGrid", [&] {
        const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy;
        const std::shared_ptr<Grid> priGrid = m_oPriGrid;
        const std::shared_ptr<Grid> secGrid = m_oSecGrid;
        if (!strategy || !priGrid || !secGrid || !m_olePriGrid->Visible() ||
            !m_oleSecGrid->Visible() || m_olePriGrid->Row() < 0) {
            return;
        }
        struct PointerReset {
            ~PointerReset() { SetMousePointer(vbDefault); }
        } reset;
        secGrid->SaveLeftColumnPosition();
        SetMousePointer(vbHourglass);
        strategy->FilterSecondaryGrid(*priGrid, *secGrid);
        secGrid->RestoreLeftColumnPosition();
    });
}

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

void Viewer::PrimaryHeadClick(int16_t) {
    ReportNotAvailable("Viewer: olePriGrid_HeadClick", "Sorting by a column header");
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
            ReportNotAvailable("Viewer:Customize", "Choosing the fields");
            return;
        case kKeyP:
            ReportNotAvailable("Viewer:PrintSelected", "Printing");
            return;
        case kKeyQ: {
            const qv::ViewerType type = ViewerType();
            if (type == vt_Stocks || type == vt_Industries || type == vt_Sectors ||
                type == vt_FinderResults) {
                ReportNotAvailable("Viewer:ShowQuickTest", "The quick test");
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

void Viewer::PrimaryDelete(const std::string& p_sKeys) {
    if (m_oStrategy && m_oStrategy->ViewerElements()->WatchListId() != 0) {
        RaiseEvent([&](ViewerEvents& sink) { sink.Delete(p_sKeys); });
    }
}

void Viewer::GridMenuClick(int32_t p_lItemId, const std::string& p_sItemTag) {
    switch (p_lItemId) {
        case 3:
            ReportNotAvailable("Viewer:Customize", "Choosing the fields");
            return;
        case 12:
            RaiseEvent([](ViewerEvents& sink) { sink.Find(); });
            return;
        case 13:
        case 23:
            ReportNotAvailable("Viewer:RestoreDefaultLayout", "Restoring the default layout");
            return;
        case 15:
        case 16:
            ReportNotAvailable("Viewer:SaveLayout", "Saving a layout");
            return;
        case 17:
            ReportNotAvailable("Viewer:DeleteLayout", "Deleting a layout");
            return;
        case 18:
            if (IsNumeric(Variant(p_sItemTag))) {
                ReportNotAvailable("Viewer: LoadLayout", "Opening a layout");
            }
            return;
        default:
            return;
    }
}

void Viewer::ReportNotAvailable(const char* p_sLabel, const char* p_sCommand) const {
    Reported(p_sLabel, [&] {
        throw AutomationError(errors::kActionNotSupported, "Viewer",
                              std::string(p_sCommand) + " is not available in this version");
    });
}

}  // namespace qv
