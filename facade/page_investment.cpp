#include "facade/page_investment.h"

#include <algorithm>
#include <map>
#include <vector>

#include "facade/page_queries.h"
#include "facade/portfolio_store.h"
#include "facade/sqlite_database.h"
#include "facade/trade_table.h"

namespace qv::facade {

namespace {

struct StockBar {
    int32_t m_lDate = 0;
    double m_dClose = 0;  // as traded
    double m_dShareFactor = 1;
};

// The stock's bars as traded from p_lFirst to p_lLast.
std::vector<StockBar> TradedBars(SqlDatabase& p_oDatabase, int64_t p_llStockId, int32_t p_lFirst,
                                 int32_t p_lLast) {
    SqlStatement query = p_oDatabase.Prepare(
        "SELECT trade_date, close, share_factor FROM stock_days_traded WHERE day_key BETWEEN "
        "?1 * 4194304 + ?2 AND ?1 * 4194304 + ?3 ORDER BY day_key");
    query.BindInt64(1, p_llStockId);
    query.BindInt64(2, p_lFirst);
    query.BindInt64(3, p_lLast);
    std::vector<StockBar> bars;
    while (query.Step()) {
        bars.push_back({static_cast<int32_t>(query.ColumnInt64(0)), query.ColumnDouble(1),
                        query.ColumnDouble(2)});
    }
    return bars;
}

// The stock's last bar on or before the day; the first bar for a day before it.
const StockBar& BarOn(const std::vector<StockBar>& p_aBars, int32_t p_lDay) {
    static const StockBar kNoBar;
    if (p_aBars.empty()) {
        return kNoBar;
    }
    auto after = std::upper_bound(
        p_aBars.begin(), p_aBars.end(), p_lDay,
        [](int32_t p_lDate, const StockBar& p_oBar) { return p_lDate < p_oBar.m_lDate; });
    return after == p_aBars.begin() ? *after : *(after - 1);
}

// The equal-weight market from p_lFirst to p_lLast, 100 on the first day.
std::map<int32_t, double> MarketLine(SqlDatabase& p_oDatabase, int32_t p_lFirst, int32_t p_lLast) {
    SqlStatement query = p_oDatabase.Prepare("WITH " + EqualWeightMarketCte("?1", "?2") +
                                             " SELECT day, value FROM market ORDER BY day");
    query.BindInt64(1, p_lFirst);
    query.BindInt64(2, p_lLast);
    std::map<int32_t, double> line;
    while (query.Step()) {
        line.emplace(static_cast<int32_t>(query.ColumnInt64(0)), query.ColumnDouble(1));
    }
    return line;
}

class Holding {
  public:
    Holding(std::vector<TradeRecord> p_aTrades, std::vector<StockBar> p_aBars)
        : m_aTrades(std::move(p_aTrades)), m_aBars(std::move(p_aBars)) {}

    const std::vector<TradeRecord>& Trades() const { return m_aTrades; }

    // The shares of a trade on a day, after the splits since its buy.
    double SharesOn(const TradeRecord& p_oTrade, int32_t p_lDay) const {
        return p_oTrade.m_dShares * BarOn(m_aBars, p_oTrade.m_lBuyDate).m_dShareFactor /
               BarOn(m_aBars, p_lDay).m_dShareFactor;
    }

    static bool SoldBy(const TradeRecord& p_oTrade, int32_t p_lDay) {
        return p_oTrade.m_lSellDate > 0 && p_oTrade.m_lSellDate <= p_lDay;
    }

    double ValueOn(const TradeRecord& p_oTrade, int32_t p_lDay) const {
        if (p_oTrade.m_lBuyDate > p_lDay || SoldBy(p_oTrade, p_lDay)) {
            return 0;
        }
        return SharesOn(p_oTrade, p_lDay) * BarOn(m_aBars, p_lDay).m_dClose;
    }

    double ValueOn(int32_t p_lDay) const {
        double value = 0;
        for (const TradeRecord& trade : m_aTrades) {
            value += ValueOn(trade, p_lDay);
        }
        return value;
    }

    // The row of a trade on the day: its fields, cost, value and gains.
    std::vector<FieldValue> Row(const TradeRecord& p_oTrade, int32_t p_lDay) const {
        const double paid = p_oTrade.m_dShares * p_oTrade.m_dInitialPrice;
        const double side = p_oTrade.m_bShort ? -1 : 1;
        const double value = ValueOn(p_oTrade, p_lDay);
        double realized = 0;
        double unrealized = 0;
        if (SoldBy(p_oTrade, p_lDay)) {
            const double received =
                SharesOn(p_oTrade, p_oTrade.m_lSellDate) * p_oTrade.m_dSellPrice;
            realized = side * (received - paid) - p_oTrade.m_dCommission;
        } else {
            unrealized = side * (value - paid) - p_oTrade.m_dCommission;
        }
        std::vector<FieldValue> row = TradeValues(p_oTrade);
        row.insert(row.end(), {paid + p_oTrade.m_dCommission, value, realized, unrealized});
        return row;
    }

  private:
    std::vector<TradeRecord> m_aTrades;
    std::vector<StockBar> m_aBars;
};

ResultTable TradeRows(const Holding& p_oHolding, int32_t p_lDay) {
    std::vector<ResultColumn> columns = TradeColumns();
    for (const char* name : {"Cost", "Value", "RealizedGain", "UnrealizedGain"}) {
        columns.push_back({name, FieldKind::Double});
    }
    ResultTable rows(std::move(columns));
    for (const TradeRecord& trade : p_oHolding.Trades()) {
        rows.AppendRow(p_oHolding.Row(trade, p_lDay));
    }
    return rows;
}

ResultTable Lines(SqlDatabase& p_oDatabase, const Holding& p_oHolding, int32_t p_lFirst,
                  int32_t p_lDay) {
    ResultTable lines({{"TradeDate", FieldKind::Date},
                       {"Value", FieldKind::Double},
                       {"Market", FieldKind::Double}});
    if (p_oHolding.Trades().empty()) {
        return lines;
    }
    const std::map<int32_t, double> market = MarketLine(p_oDatabase, p_lFirst, p_lDay);
    const double start = p_oHolding.ValueOn(p_lFirst);
    for (const auto& [day, index] : market) {
        lines.AppendRow({static_cast<double>(day), p_oHolding.ValueOn(day), start * index / 100.0});
    }
    return lines;
}

}  // namespace

InvestmentResult ReadInvestment(SqlDatabase& p_oDatabase, int32_t p_lPortfolioId,
                                int64_t p_llStockId, int32_t p_lDay) {
    std::vector<TradeRecord> trades;
    for (TradeRecord& trade : PortfolioStore(p_oDatabase).Trades(p_lPortfolioId)) {
        if (trade.m_llStockId == p_llStockId && trade.m_lBuyDate <= p_lDay) {
            trades.push_back(std::move(trade));
        }
    }
    const int32_t first = trades.empty() ? p_lDay : trades.front().m_lBuyDate;
    Holding holding(std::move(trades), TradedBars(p_oDatabase, p_llStockId, first, p_lDay));
    return {TradeRows(holding, p_lDay), Lines(p_oDatabase, holding, first, p_lDay)};
}

}  // namespace qv::facade
