#include "facade/trade_rules.h"

#include <algorithm>
#include <cmath>

#include "facade/sqlite_database.h"
#include "outside/vb_date.h"

namespace qv::facade {

namespace {

std::optional<TradeFault> Positive(TradeField p_eField, std::optional<double> p_dValue) {
    if (!p_dValue || !std::isfinite(*p_dValue) || *p_dValue <= 0) {
        return TradeFault{p_eField, "must be more than 0"};
    }
    return std::nullopt;
}

std::optional<TradeFault> Percent(TradeField p_eField, std::optional<double> p_dValue) {
    if (p_dValue && !(*p_dValue >= 0 && *p_dValue <= 100)) {
        return TradeFault{p_eField, "must be a percent from 0 to 100"};
    }
    return std::nullopt;
}

std::optional<TradeFault> CheckAmounts(const TradeTerms& p_oTerms) {
    if (auto fault = Positive(TradeField::Shares, p_oTerms.m_dShares)) {
        return fault;
    }
    if (auto fault = Positive(TradeField::Price, p_oTerms.m_dPrice)) {
        return fault;
    }
    if (p_oTerms.m_dCommission &&
        !(std::isfinite(*p_oTerms.m_dCommission) && *p_oTerms.m_dCommission >= 0)) {
        return TradeFault{TradeField::Commission, "cannot be negative"};
    }
    if (auto fault = Percent(TradeField::InitialReq, p_oTerms.m_dInitialReq)) {
        return fault;
    }
    if (auto fault = Percent(TradeField::MaintenancePercent, p_oTerms.m_dMaintenancePct)) {
        return fault;
    }
    const bool sold = p_oTerms.m_lSellDate > 0;
    if (sold && !p_oTerms.m_dSellPrice) {
        return TradeFault{TradeField::SellPrice, "a trade with a sell date needs a sell price"};
    }
    if (!sold && p_oTerms.m_dSellPrice) {
        return TradeFault{TradeField::SellDate, "a trade with a sell price needs a sell date"};
    }
    if (sold) {
        return Positive(TradeField::SellPrice, p_oTerms.m_dSellPrice);
    }
    return std::nullopt;
}

}  // namespace

TradeRules::TradeRules(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {
    SqlStatement days =
        m_oDatabase.Prepare("SELECT trade_date FROM trading_days ORDER BY trade_date");
    while (days.Step()) {
        m_aTradingDays.push_back(static_cast<int32_t>(days.ColumnInt64(0)));
    }
}

const TradeRules::Stock* TradeRules::FindStock(const std::string& p_sSymbol) {
    auto known = m_aStocks.find(p_sSymbol);
    if (known != m_aStocks.end()) {
        return known->second ? &*known->second : nullptr;
    }
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT s.stock_id, s.symbol, (SELECT min(b.day_key) & 4194303 FROM stock_bars b "
        "WHERE b.day_key BETWEEN s.stock_id * 4194304 AND s.stock_id * 4194304 + 4194303) "
        "FROM stocks s WHERE s.symbol = ?1");
    query.BindText(1, p_sSymbol);
    std::optional<Stock> stock;
    if (query.Step()) {
        stock = Stock{query.ColumnInt64(0), query.ColumnText(1),
                      static_cast<int32_t>(query.ColumnInt64(2))};
    }
    const auto& entry = m_aStocks.emplace(p_sSymbol, std::move(stock)).first->second;
    return entry ? &*entry : nullptr;
}

bool TradeRules::IsTradingDay(int32_t p_lDay) const {
    return std::binary_search(m_aTradingDays.begin(), m_aTradingDays.end(), p_lDay);
}

std::optional<TradeFault> TradeRules::CheckDates(const TradeTerms& p_oTerms,
                                                 const Stock& p_oStock) const {
    const int32_t latest = m_aTradingDays.empty() ? 0 : m_aTradingDays.back();
    const int32_t buy = p_oTerms.m_lBuyDate;
    if (buy <= 0) {
        return TradeFault{TradeField::BuyDate, "a trade needs a buy date"};
    }
    if (p_oStock.m_lFirstDay <= 0 || buy < p_oStock.m_lFirstDay) {
        const std::string first =
            p_oStock.m_lFirstDay > 0 ? ", " + IsoDateText(p_oStock.m_lFirstDay) : "";
        return TradeFault{
            TradeField::BuyDate,
            IsoDateText(buy) + " is before " + p_oStock.m_sSymbol + "'s first trading day" + first};
    }
    if (buy > latest) {
        return TradeFault{
            TradeField::BuyDate,
            IsoDateText(buy) + " is after the latest trading day, " + IsoDateText(latest)};
    }
    if (!IsTradingDay(buy)) {
        return TradeFault{TradeField::BuyDate, IsoDateText(buy) + " is not a trading day"};
    }
    const int32_t sell = p_oTerms.m_lSellDate;
    if (sell > 0 && sell < buy) {
        return TradeFault{TradeField::SellDate,
                          IsoDateText(sell) + " is before the buy date, " + IsoDateText(buy)};
    }
    if (sell > latest) {
        return TradeFault{
            TradeField::SellDate,
            IsoDateText(sell) + " is after the latest trading day, " + IsoDateText(latest)};
    }
    return std::nullopt;
}

std::optional<TradeFault> TradeRules::Check(const TradeTerms& p_oTerms, TradeRecord& p_oTrade) {
    const std::string symbol(TrimWhitespace(p_oTerms.m_sSymbol));
    if (symbol.empty()) {
        return TradeFault{TradeField::Symbol, "a trade needs a symbol"};
    }
    const Stock* stock = FindStock(symbol);
    if (stock == nullptr) {
        return TradeFault{TradeField::Symbol, "there is no stock " + Excerpt(symbol)};
    }
    if (auto fault = CheckAmounts(p_oTerms)) {
        return fault;
    }
    if (auto fault = CheckDates(p_oTerms, *stock)) {
        return fault;
    }
    p_oTrade.m_llStockId = stock->m_llId;
    p_oTrade.m_sSymbol = stock->m_sSymbol;
    p_oTrade.m_lBuyDate = p_oTerms.m_lBuyDate;
    p_oTrade.m_dShares = *p_oTerms.m_dShares;
    p_oTrade.m_dInitialPrice = *p_oTerms.m_dPrice;
    p_oTrade.m_dCommission = p_oTerms.m_dCommission.value_or(0);
    p_oTrade.m_bShort = p_oTerms.m_bShort;
    // Margin terms left out are the usual ones a new trade starts with.
    const TradeRecord usual;
    p_oTrade.m_dInitialReq = p_oTerms.m_dInitialReq.value_or(usual.m_dInitialReq);
    p_oTrade.m_dMaintenancePct = p_oTerms.m_dMaintenancePct.value_or(usual.m_dMaintenancePct);
    p_oTrade.m_lSellDate = p_oTerms.m_lSellDate;
    p_oTrade.m_dSellPrice = p_oTerms.m_dSellPrice.value_or(0);
    return std::nullopt;
}

}  // namespace qv::facade
