// What makes a trade one a portfolio can hold: a stock the market knows, bought on a trading day
// within its prices, for a positive number of shares at a positive price, margin percents that
// are percents, and a sale (when there is one) with both its day and price, on or after the buy.
// The facade's trade calls and the CSV import both check through here, so a trade is refused for
// the same reasons in the same words wherever it comes from.
//
//     TradeRules rules(database);
//     TradeTerms terms{.m_sSymbol = "AAPL", .m_lBuyDate = day, .m_dShares = 10, .m_dPrice = 150};
//     TradeRecord trade;
//     if (std::optional<TradeFault> fault = rules.Check(terms, trade)) {
//         ... fault->m_eField, fault->m_sReason ...
//     }
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "facade/portfolio_store.h"
#include "outside/text_util.h"

namespace qv::facade {

class SqlDatabase;

// A trade as a caller or a file states it; absent numbers are none.
struct TradeTerms {
    std::string m_sSymbol;
    int32_t m_lBuyDate = 0;
    std::optional<double> m_dShares;
    std::optional<double> m_dPrice;
    std::optional<double> m_dCommission;
    bool m_bShort = false;
    std::optional<double> m_dInitialReq;
    std::optional<double> m_dMaintenancePct;
    int32_t m_lSellDate = 0;
    std::optional<double> m_dSellPrice;
};

enum class TradeField {
    Symbol,
    BuyDate,
    Shares,
    Price,
    Commission,
    InitialReq,
    MaintenancePercent,
    SellDate,
    SellPrice
};

struct TradeFault {
    TradeField m_eField;
    std::string m_sReason;
};

class TradeRules {
  public:
    // Reads the trading days once; the stocks as they are asked for.
    explicit TradeRules(SqlDatabase& p_oDatabase);

    // The first fault of p_oTerms, or none: then p_oTrade holds the trade (its stock id, symbol
    // and terms; its id, portfolio and version are left alone).
    std::optional<TradeFault> Check(const TradeTerms& p_oTerms, TradeRecord& p_oTrade);

  private:
    struct Stock {
        int64_t m_llId = 0;
        std::string m_sSymbol;
        int32_t m_lFirstDay = 0;
    };
    const Stock* FindStock(const std::string& p_sSymbol);
    std::optional<TradeFault> CheckDates(const TradeTerms& p_oTerms, const Stock& p_oStock) const;
    bool IsTradingDay(int32_t p_lDay) const;

    SqlDatabase& m_oDatabase;
    std::vector<int32_t> m_aTradingDays;
    std::unordered_map<std::string, std::optional<Stock>, IgnoreCaseHash, IgnoreCaseEqual>
        m_aStocks;
};

}  // namespace qv::facade
