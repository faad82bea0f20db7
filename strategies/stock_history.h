// StockHistory: the strategy of the history of one stock (Symbol) between StartDate and EndDate, in
// one grid; it has no secondary grid, no search and no login check.
#pragma once

#include "strategies/viewer_functionality.h"

namespace qv {

class StockHistory : public ViewerFunctionality {
  public:
    // Failures are reported as "StockHistory:Initialize".
    void Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) override;
    void SynchronizeColumns(Grid& p_oPriGrid, Grid& p_oSecGrid, bool p_bFromCustomize) override;
};

}  // namespace qv
