#include "facade/portfolio_store.h"

#include "facade/owner_store.h"
#include "facade/sqlite_database.h"

namespace qv::facade {

int32_t PortfolioStore::CreatePortfolio(int32_t p_lOwnerId, const std::string& p_sName) {
    SqliteTransaction oWork(m_oDatabase);
    OwnerStore(m_oDatabase).EnsureOwner(p_lOwnerId);
    SqliteStatement oInsert =
        m_oDatabase.Prepare("INSERT INTO portfolios (owner_id, name) VALUES (?1, ?2)");
    oInsert.BindInt64(1, p_lOwnerId);
    oInsert.BindText(2, p_sName);
    oInsert.Run();
    const auto lId = static_cast<int32_t>(m_oDatabase.LastInsertRowId());
    oWork.Commit();
    return lId;
}

std::vector<std::pair<int32_t, std::string>> PortfolioStore::Portfolios(int32_t p_lOwnerId) {
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT portfolio_id, name FROM portfolios WHERE owner_id = ?1 ORDER BY name, "
        "portfolio_id");
    oQuery.BindInt64(1, p_lOwnerId);
    std::vector<std::pair<int32_t, std::string>> aPortfolios;
    while (oQuery.Step()) {
        aPortfolios.emplace_back(static_cast<int32_t>(oQuery.ColumnInt64(0)), oQuery.ColumnText(1));
    }
    return aPortfolios;
}

std::optional<int32_t> PortfolioStore::OwnerOf(int32_t p_lPortfolioId) {
    SqliteStatement oQuery =
        m_oDatabase.Prepare("SELECT owner_id FROM portfolios WHERE portfolio_id = ?1");
    oQuery.BindInt64(1, p_lPortfolioId);
    if (!oQuery.Step()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(oQuery.ColumnInt64(0));
}

int64_t PortfolioStore::AddTrade(int32_t p_lPortfolioId, const TradeRecord& p_oTrade) {
    SqliteTransaction oWork(m_oDatabase);
    SqliteStatement oInsert = m_oDatabase.Prepare(
        "INSERT INTO trades (portfolio_id, stock_id, buy_date, shares, initial_price, commission, "
        "is_short, initial_req, maintenance_pct, realized_gain) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    oInsert.BindInt64(1, p_lPortfolioId);
    oInsert.BindInt64(2, p_oTrade.m_llStockId);
    oInsert.BindInt64(3, p_oTrade.m_lBuyDate);
    oInsert.BindDouble(4, p_oTrade.m_dShares);
    oInsert.BindDouble(5, p_oTrade.m_dInitialPrice);
    oInsert.BindDouble(6, p_oTrade.m_dCommission);
    oInsert.BindInt64(7, p_oTrade.m_bShort ? 1 : 0);
    oInsert.BindDouble(8, p_oTrade.m_dInitialReq);
    oInsert.BindDouble(9, p_oTrade.m_dMaintenancePct);
    oInsert.BindDouble(10, p_oTrade.m_dRealizedGain);
    oInsert.Run();
    const int64_t llTradeId = m_oDatabase.LastInsertRowId();
    SqliteStatement oTouch = m_oDatabase.Prepare(
        "UPDATE portfolios SET updated_date = max(coalesce(updated_date, 0), ?2) "
        "WHERE portfolio_id = ?1");
    oTouch.BindInt64(1, p_lPortfolioId);
    oTouch.BindInt64(2, p_oTrade.m_lBuyDate);
    oTouch.Run();
    oWork.Commit();
    return llTradeId;
}

std::vector<TradeRecord> PortfolioStore::Trades(int32_t p_lPortfolioId) {
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT trade_id, stock_id, buy_date, shares, initial_price, commission, is_short, "
        "initial_req, maintenance_pct, realized_gain FROM trades WHERE portfolio_id = ?1 "
        "ORDER BY trade_id");
    oQuery.BindInt64(1, p_lPortfolioId);
    std::vector<TradeRecord> aTrades;
    while (oQuery.Step()) {
        TradeRecord oTrade;
        oTrade.m_llTradeId = oQuery.ColumnInt64(0);
        oTrade.m_llStockId = oQuery.ColumnInt64(1);
        oTrade.m_lBuyDate = static_cast<int32_t>(oQuery.ColumnInt64(2));
        oTrade.m_dShares = oQuery.ColumnDouble(3);
        oTrade.m_dInitialPrice = oQuery.ColumnDouble(4);
        oTrade.m_dCommission = oQuery.ColumnDouble(5);
        oTrade.m_bShort = oQuery.ColumnInt64(6) != 0;
        oTrade.m_dInitialReq = oQuery.ColumnDouble(7);
        oTrade.m_dMaintenancePct = oQuery.ColumnDouble(8);
        oTrade.m_dRealizedGain = oQuery.ColumnDouble(9);
        aTrades.push_back(oTrade);
    }
    return aTrades;
}

}  // namespace qv::facade
