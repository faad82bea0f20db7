#include "strategies/industry_history.h"

#include "state/viewer_elements.h"
#include "strategies/history_query.h"
#include "strategies/strategy_support.h"

namespace qv {
namespace {

constexpr HistoryKind kKind{facade_protocol::history::kIndustryMethod,
                            strategy_support::kIndustryRows,
                            1,
                            "Industry History Report",
                            "IndustryHistory:Initialize",
                            "IndustryHistory_SynchronizeColumns"};

}  // namespace

void IndustryHistory::Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    InitializeHistory(*this, kKind, Variant(ViewerElements()->IndCode()), p_oPriGrid, p_oSecGrid);
}

void IndustryHistory::SynchronizeColumns(Grid& p_oPriGrid, Grid&, bool) {
    SynchronizeSingleGrid(*this, kKind.m_sSyncLabel, {kHistoryKeyColumn}, p_oPriGrid);
}

}  // namespace qv
