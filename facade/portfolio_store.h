// Portfolios of an owner and their trades. A trade is a long purchase or a short sale of a stock
// on a day, with its price, commission and margin terms, and its sale once it is closed; the
// viewer values the trades still held at the close of the day it shows.
//
// Every change is one transaction. A trade carries a version that each change raises: a change
// names the version its caller read and is refused when the trade has moved on since, so that of
// two windows editing one trade the later save sees the earlier instead of undoing it.
//
//     PortfolioStore portfolios(store.Database());
//     int32_t id = portfolios.CreatePortfolio(owner, "Retirement");
//     TradeRecord trade = ...;                      // checked by TradeRules (trade_rules.h)
//     trade.m_llTradeId = portfolios.AddTrade(id, trade);
//     std::optional<int32_t> version = portfolios.UpdateTrade(trade, 1);   // none: changed since
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qv::facade {

class SqlDatabase;

struct TradeRecord {
    int64_t m_llTradeId = 0;
    int32_t m_lPortfolioId = 0;
    int64_t m_llStockId = 0;
    std::string m_sSymbol{};  // read back with the trade; writing uses the stock id
    int32_t m_lBuyDate = 0;   // day serial
    double m_dShares = 0;
    double m_dInitialPrice = 0;
    double m_dCommission = 0;
    bool m_bShort = false;
    double m_dInitialReq = 50;      // initial margin, percent of the position
    double m_dMaintenancePct = 30;  // maintenance margin, percent of the market value
    double m_dRealizedGain = 0;
    int32_t m_lSellDate = 0;  // day serial; 0 while the trade is open
    double m_dSellPrice = 0;
    int32_t m_lVersion = 1;
};

constexpr size_t kMaxPortfolioNameChars = 60;

// Why p_sName, trimmed, cannot name a portfolio (blank, too long, not text), in words for the
// person; "" when it can.
std::string PortfolioNameFault(const std::string& p_sName);

class PortfolioStore {
  public:
    explicit PortfolioStore(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    int32_t CreatePortfolio(int32_t p_lOwnerId, const std::string& p_sName);
    void RenamePortfolio(int32_t p_lPortfolioId, const std::string& p_sName);
    // Deletes the portfolio with its trades.
    void DeletePortfolio(int32_t p_lPortfolioId);
    // The owner's portfolios (id, name) by name.
    std::vector<std::pair<int32_t, std::string>> Portfolios(int32_t p_lOwnerId);
    std::optional<int32_t> OwnerOf(int32_t p_lPortfolioId);
    // True when the portfolio is one of the owner's (the system, owner 0, keeps none).
    bool IsOwners(int32_t p_lOwnerId, int32_t p_lPortfolioId);
    // The owner's portfolio named p_sName without regard to case, other than p_lExceptId.
    std::optional<int32_t> FindByName(int32_t p_lOwnerId, const std::string& p_sName,
                                      int32_t p_lExceptId = 0);

    // Adds a trade and marks the portfolio updated on its buy date; returns the trade id.
    int64_t AddTrade(int32_t p_lPortfolioId, const TradeRecord& p_oTrade);
    // Adds the trades in one transaction.
    void AddTrades(int32_t p_lPortfolioId, const std::vector<TradeRecord>& p_aTrades);
    // Writes the trade of p_oTrade.m_llTradeId when it is still at p_lReadVersion; returns its
    // new version, or none when it was changed or deleted since.
    std::optional<int32_t> UpdateTrade(const TradeRecord& p_oTrade, int32_t p_lReadVersion);
    // Deletes the trade when it is still at p_lReadVersion; false when it was changed since.
    bool DeleteTrade(int64_t p_llTradeId, int32_t p_lReadVersion);
    std::optional<TradeRecord> FindTrade(int64_t p_llTradeId);
    // The portfolio's trades, open and closed, by buy date then id.
    std::vector<TradeRecord> Trades(int32_t p_lPortfolioId);

  private:
    void MarkUpdated(int32_t p_lPortfolioId, int32_t p_lDate);

    SqlDatabase& m_oDatabase;
};

}  // namespace qv::facade
