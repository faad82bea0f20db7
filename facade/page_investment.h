// A holding's page: the trades of one portfolio in one stock, what each cost and is worth on a
// day, and the holding's value day by day beside the market.
//
// Shares and prices are as traded; a split after a buy multiplies the shares it is (and a sale
// after the split sells that many), so a trade's shares on a day are its shares times the share
// factor of its buy over that of the day (daily_metrics.h). Per trade, on the day:
//
//   Cost            shares x buy price + commission
//   Value           the shares on the day x the day's close as traded; 0 once sold
//   RealizedGain    once sold: the shares at the sale x sell price - shares x buy price
//                   (the other way round for a short), less the commission; else 0
//   UnrealizedGain  while held: Value - shares x buy price (the other way round for a short),
//                   less the commission; else 0
//
// The lines run over the trading days from the first buy to the day: the holding's value (the
// trades bought by then and not yet sold), and the equal-weight market (page_queries.h) scaled
// to the holding's value on the first day.
//
//     InvestmentResult result = ReadInvestment(database, portfolioId, stockId, day);
#pragma once

#include <cstdint>

#include "facade/result_table.h"

namespace qv::facade {

class SqlDatabase;

struct InvestmentResult {
    ResultTable m_oTrades;  // the trade fields (trade_table.h), "Cost", "Value", "RealizedGain",
                            // "UnrealizedGain"
    ResultTable m_oLines;   // "TradeDate", "Value", "Market"
};

// The trades bought on or before p_lDay (a trading day), by buy date; none, and no lines, when
// there are none.
InvestmentResult ReadInvestment(SqlDatabase& p_oDatabase, int32_t p_lPortfolioId,
                                int64_t p_llStockId, int32_t p_lDay);

}  // namespace qv::facade
