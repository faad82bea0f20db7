#include "strategies/stock_history.h"

#include "state/viewer_elements.h"
#include "strategies/history_query.h"
#include "strategies/strategy_support.h"

namespace qv {
namespace {

constexpr HistoryKind kKind{facade_protocol::history::kStockMethod,
                            strategy_support::kStockRows,
                            0,
                            "Stock History Report",
                            "StockHistory:Initialize",
                            "StockHistory_SynchronizeColumns"};

}  // namespace

void StockHistory::Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    InitializeHistory(*this, kKind, Variant(ViewerElements()->Symbol()), p_oPriGrid, p_oSecGrid);
}

void StockHistory::SynchronizeColumns(Grid& p_oPriGrid, Grid&, bool) {
    SynchronizeSingleGrid(*this, kKind.m_sSyncLabel, {kHistoryKeyColumn}, p_oPriGrid);
}

}  // namespace qv
