// Sorting in the viewer control: the secondary grid follows the primary grid's row, and a header
// click sorts.
#include "control/viewer.h"

#include "grid/grid.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "strategies/viewer_functionality.h"

namespace qv {

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

void Viewer::PrimaryHeadClick(int16_t) {
    ReportNotAvailable("Viewer: olePriGrid_HeadClick", "Sorting by a column header");
}

}  // namespace qv
