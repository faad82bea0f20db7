// Portfolios of an owner and their trades. A holding is one trade: a long purchase or a short
// sale of a stock on a day, with its price, commission and margin terms; the viewer values it at
// the close of the day it shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qv::facade {

class SqliteDatabase;

struct TradeRecord {
    int64_t m_llTradeId = 0;
    int64_t m_llStockId = 0;
    int32_t m_lBuyDate = 0;  // day serial
    double m_dShares = 0;
    double m_dInitialPrice = 0;
    double m_dCommission = 0;
    bool m_bShort = false;
    double m_dInitialReq = 50;      // initial margin, percent of the position
    double m_dMaintenancePct = 30;  // maintenance margin, percent of the market value
    double m_dRealizedGain = 0;
};

class PortfolioStore {
  public:
    explicit PortfolioStore(SqliteDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    int32_t CreatePortfolio(int32_t p_lOwnerId, const std::string& p_sName);
    // The owner's portfolios (id, name) by name.
    std::vector<std::pair<int32_t, std::string>> Portfolios(int32_t p_lOwnerId);
    std::optional<int32_t> OwnerOf(int32_t p_lPortfolioId);

    // Adds a trade and marks the portfolio updated on its buy date; returns the trade id.
    int64_t AddTrade(int32_t p_lPortfolioId, const TradeRecord& p_oTrade);
    std::vector<TradeRecord> Trades(int32_t p_lPortfolioId);

  private:
    SqliteDatabase& m_oDatabase;
};

}  // namespace qv::facade
