// Trades as rows of a recordset: "Trade_ID", "Symbol", "BuyDate", "Commission", "InitialPrice",
// "Shares", "Short", "InitialReq", "MaintenancePercent", "SellDate" and "SellPrice" (Null while
// open) and "Version", the fields a caller reads and saves back (GetTrades), and the first fields
// of a holding's details.
#pragma once

#include <vector>

#include "facade/portfolio_store.h"
#include "facade/result_table.h"

namespace qv::facade {

std::vector<ResultColumn> TradeColumns();
// One value per column of TradeColumns.
std::vector<FieldValue> TradeValues(const TradeRecord& p_oTrade);
ResultTable TradeTable(const std::vector<TradeRecord>& p_aTrades);

}  // namespace qv::facade
