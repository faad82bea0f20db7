// Writes the daily data of the market in one pass: the bars of every stock with the metrics
// derived from them (daily_metrics.h), the relative-strength ranking of each day across all
// stocks, the aggregates of each industry group and sector per day, and the trading calendar.
// The importer and the sample-market generator both end here, so both produce the same derived
// data from the same bars.
//
// Group aggregates of a day, over the member stocks that have a bar that day:
//   member count, advancing and declining counts (percent change above / below zero),
//   average percent change, average ranking, total volume, and an equal-weight index: 100 on the
//   group's first day, then multiplied each day by 1 + average percent change / 100, so the
//   index return of a day is the average return of the members.
//
// A total volume beyond 64 bits, or a price or volume beyond what the store holds
// (market_schema.h), fails the rewrite with a FacadeError naming the group or stock; the caller's
// transaction then leaves the old data in place.
#pragma once

#include <cstdint>
#include <vector>

#include "facade/daily_metrics.h"
#include "facade/progress.h"

namespace qv::facade {

class SqlDatabase;

struct StockSeries {
    int64_t m_llStockId = 0;
    std::vector<DailyBar> m_aBars;  // sorted by date, one bar per day
};

// The bars of every stock in stock_days, by stock id.
std::vector<StockSeries> LoadStockSeries(SqlDatabase& p_oDatabase);

// Replaces the bars (stock_bars), group_days and trading_days with p_aSeries and what derives
// from it. Runs inside the caller's transaction; every stock must exist in the stocks table. The
// series should come in stock id order: then every bar is appended to the table.
void RewriteDailyData(SqlDatabase& p_oDatabase, const std::vector<StockSeries>& p_aSeries,
                      const ProgressFn& p_fProgress);

}  // namespace qv::facade
