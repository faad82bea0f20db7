// StockViewer: the strategy of the stock list. The stocks in the primary grid and, below them, the
// industry (or, for a list limited to one sector, the sector) of the selected stock.
//
// Every member catches and reports its own failures ("StockViewer:Initialize", ...); a login taken
// over by another user is shown to the user, recorded in TimeCodeFailed and leaves the state and
// the grids as they were.
#pragma once

#include "strategies/viewer_functionality.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qv {

class Recordset;
struct LayoutDescription;

class StockViewer : public ViewerFunctionality {
  public:
    void Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) override;
    void FilterSecondaryGrid(Grid& p_oPriGrid, Grid& p_oSecGrid) override;
    void SynchronizeColumns(Grid& p_oPriGrid, Grid& p_oSecGrid, bool p_bFromCustomize) override;
    void Search(const std::string& p_sSearch, int16_t p_iSearchOpt1, int16_t p_iSearchOpt2,
                bool& p_bNoRecords, Grid& p_oPriGrid, Grid& p_oSecGrid) override;

  private:
    void ApplyLayout(Grid& p_oPriGrid, Grid& p_oSecGrid, const LayoutDescription& p_layout);
    void AssignSplits(Grid& p_oPriGrid, Grid& p_oSecGrid);

    std::shared_ptr<Recordset> m_rsSecondary;
    int32_t m_lListScope = 0;
};

}  // namespace qv
