// PortfolioViewer: the strategy of the holdings of the portfolio PortfolioID, in one grid. It
// shows the rows the host hands in through FinderResults, fetches the holdings again from the
// portfolio facade when those rows lack a field of the layout, and keeps the horizontal scroll
// position of the grid across updates.
#pragma once

#include "strategies/viewer_functionality.h"

namespace qv {

class Variant;

class PortfolioViewer : public ViewerFunctionality {
  public:
    // Failures are reported as "PortfolioViewer:Initialize".
    void Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) override;
    // Gives an empty primary grid the columns the state still holds.
    void PopulateGridColumns(Grid& p_oPriGrid, Grid& p_oSecGrid) override;
    void SynchronizeColumns(Grid& p_oPriGrid, Grid& p_oSecGrid, bool p_bFromCustomize) override;
    // "GetCustomFieldList" with OwnerId and the holdings' result type 3.
    void ReFillParams() override;
};

}  // namespace qv
