// The owner's portfolios and their trades through the portfolio component of the data facade
// ("QorvantOnlineFacade.PortfolioFTr"), as the portfolio panel, the trade editor and the window's
// import and export use them. Each call creates the component, as the viewer's facade calls do; a
// refusal is the component's automation error, passed on, and leaves nothing half-written.
//
//     const int32_t id = NewPortfolio(ownerId, "Growth");
//     Trade trade{.m_sSymbol = "QA", .m_lBuyDate = day, .m_dInitialPrice = 12.5, .m_dShares = 100};
//     SaveTrade(ownerId, id, trade);   // trade.m_lTradeId and m_lVersion written back
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class Recordset;

struct Trade {
    // 0 for a trade not saved yet.
    int32_t m_lTradeId = 0;
    std::string m_sSymbol;
    // Day serials; a sell date of 0 while the trade is open.
    int32_t m_lBuyDate = 0;
    double m_dCommission = 0;
    double m_dInitialPrice = 0;
    double m_dShares = 0;
    bool m_bShort = false;
    double m_dInitialReq = 50;
    double m_dMaintenancePercent = 25;
    int32_t m_lSellDate = 0;
    double m_dSellPrice = 0;
    // The version read; a save of an older one is refused.
    int32_t m_lVersion = 0;

    bool IsClosed() const { return m_lSellDate != 0; }
};

int32_t NewPortfolio(int32_t p_lOwnerId, const std::string& p_sName);
void RenamePortfolio(int32_t p_lOwnerId, int32_t p_lPortfolioId, const std::string& p_sName);
void DeletePortfolio(int32_t p_lOwnerId, int32_t p_lPortfolioId);

// The portfolio's trades by buy date, then id.
std::vector<Trade> ReadTrades(int32_t p_lOwnerId, int32_t p_lPortfolioId);
// Saves p_oTrade (a new one for an id of 0) and writes its id and new version back into it.
void SaveTrade(int32_t p_lOwnerId, int32_t p_lPortfolioId, Trade& p_oTrade);
void DeleteTrade(int32_t p_lOwnerId, const Trade& p_oTrade);

// One row per data row of the CSV text: "Row", "Symbol", "Status" ("ok", "error", "duplicate")
// and "Reason"; with p_bCommit the "ok" rows are added, and only when no row is in error.
std::shared_ptr<Recordset> ImportTrades(int32_t p_lOwnerId, int32_t p_lPortfolioId,
                                        const std::string& p_sCsv, bool p_bCommit);
// The portfolio's trades as CSV text in the columns the import reads.
std::string ExportTrades(int32_t p_lOwnerId, int32_t p_lPortfolioId);

}  // namespace qv
