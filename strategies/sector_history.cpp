#include "strategies/sector_history.h"

#include "state/viewer_elements.h"
#include "strategies/history_query.h"
#include "strategies/strategy_support.h"

namespace qv {
namespace {

constexpr HistoryKind kKind{facade_protocol::history::kSectorMethod,
                            strategy_support::kSectorRows,
                            2,
                            "Sector History Report",
                            "SectorHistory:Initialize",
                            "SectorHistory_SynchronizeColumns"};

}  // namespace

void SectorHistory::Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    InitializeHistory(*this, kKind, Variant(ViewerElements()->SectorCode()), p_oPriGrid,
                      p_oSecGrid);
}

void SectorHistory::SynchronizeColumns(Grid& p_oPriGrid, Grid&, bool) {
    SynchronizeSingleGrid(*this, kKind.m_sSyncLabel, {kHistoryKeyColumn}, p_oPriGrid);
}

}  // namespace qv
