// The viewer control's export: which of its grids a person's export is of.
#include "control/viewer.h"

#include "grid/grid.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"

namespace qv {

bool Viewer::Export(int32_t& p_enExportType) {
    ErrorScope scope("Viewer:Export");
    try {
        if (!m_oPriGrid || !m_oPriGrid->Visible() || m_olePriGrid->RowCount() == 0) {
            MsgBox("No data to export.", vbOKOnly, vbInformation, "Export");
            return false;
        }
        // A copy: the export yields to the host, which may release the control and its grids.
        std::shared_ptr<Grid> grid;
        const qv::ViewerType type = ViewerType();
        if (type == vt_Stocks) {
            const int16_t selected = SelectedGridType();
            grid = selected == 0                     ? m_oPriGrid
                   : selected == 1 || selected == -1 ? m_oSecGrid
                                                     : nullptr;
        } else if (type == vt_Industries) {
            const int16_t selected = SelectedGridType();
            grid = selected == 1                     ? m_oPriGrid
                   : selected == 2 || selected == -1 ? m_oSecGrid
                                                     : nullptr;
        } else if (type >= vt_Sectors && type <= vt_Portfolio) {
            grid = m_oPriGrid;
        }
        if (grid) {
            grid->Export(p_enExportType);
        }
    } catch (...) {
        scope.Capture();
    }
    return false;
}

}  // namespace qv
