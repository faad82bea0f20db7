// The query cycle of the viewer control and the clearing of its grids.
#include "control/viewer.h"

#include "columns/grid_columns.h"
#include "grid/grid.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/grid_control_split_columns.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

namespace qv {

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
        // A new wrapper holds no columns yet: the layout a host handed in is the one to show,
        // not the wrapper's empty collection.
        const std::shared_ptr<GridColumns> held = elements->GridColumns(gtPrimary);
        if (priGrid->GridColumns()->Count() == 0 && held->Count() > 0) {
            priGrid->SetGridColumns(held);
        }
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

}  // namespace qv
