// SectorHistory: the strategy of the history of one sector (SectorCode) between StartDate and
// EndDate, in one grid; it has no secondary grid, no search and no login check.
#pragma once

#include "strategies/viewer_functionality.h"

namespace qv {

class SectorHistory : public ViewerFunctionality {
  public:
    // Failures are reported as "SectorHistory:Initialize".
    void Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) override;
    void SynchronizeColumns(Grid& p_oPriGrid, Grid& p_oSecGrid, bool p_bFromCustomize) override;
};

}  // namespace qv
