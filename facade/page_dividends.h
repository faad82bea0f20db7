// Dividends read back from the prices the store keeps. The store holds no dividends as such, but
// each bar keeps its traded close beside the adjusted close (splits and dividends taken out), so
// the factor f = adjusted close / close steps up on the day a stock goes ex-dividend: the bars
// before are scaled by 1 - D / close(t-1). A step of f from one bar to the next that a split
// explains (daily_metrics.h: SplitRatio) is taken out first; what is left, above the noise of
// prices kept to ten-thousandths, is a dividend of D = close(t-1) * (1 - 1 / step).
//
// The next date is estimated from the cadence: the last ex-date plus the average spacing of the
// last four (at least two are needed). A market without dividends in its adjusted closes (the
// generated sample) gives none.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "facade/daily_metrics.h"
#include "facade/page_queries.h"
#include "facade/result_table.h"

namespace qv::facade {

class SqlDatabase;

struct InferredDividend {
    int32_t m_lExDate = 0;
    double m_dAmount = 0;  // per share as traded the day before
};

// p_aBars as traded with their adjusted closes, oldest first.
std::vector<InferredDividend> InferDividends(const std::vector<DailyBar>& p_aBars);

std::optional<int32_t> EstimateNextDividend(const std::vector<InferredDividend>& p_aDividends);

// "Symbol", "ExDate", "Amount", "Estimated" for known stocks (m_llId > 0), in their order.
ResultTable DividendRows(SqlDatabase& p_oDatabase, const std::vector<PageCode>& p_aStocks);

}  // namespace qv::facade
