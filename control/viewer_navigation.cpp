// The viewer control's navigation for its host: the pages of the grid used last.
#include "control/viewer.h"

#include "grid/grid.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

namespace qv {

void Viewer::RaiseNavigate(int32_t p_lNavigateType) {
    // Copies: the grid's event may release the control and its wrappers.
    const std::shared_ptr<Grid> priGrid = m_oPriGrid;
    const std::shared_ptr<Grid> secGrid = m_oSecGrid;
    if (m_bPriGridLastUsed) {
        if (priGrid) {
            priGrid->RaiseNavigate(p_lNavigateType, 0);
        }
    } else if (secGrid && m_oStrategy) {
        secGrid->RaiseNavigate(p_lNavigateType, m_oStrategy->ViewerElements()->WatchListId());
    }
}

}  // namespace qv
