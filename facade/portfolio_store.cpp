#include "facade/portfolio_store.h"

#include "facade/owner_store.h"
#include "facade/sqlite_database.h"

namespace qv::facade {

int32_t PortfolioStore::CreatePortfolio(int32_t p_lOwnerId, const std::string& p_sName) {
    SqliteTransaction work(m_oDatabase);
    OwnerStore(m_oDatabase).EnsureOwner(p_lOwnerId);
    SqliteStatement insert =
        m_oDatabase.Prepare("INSERT INTO portfolios (owner_id, name) VALUES (?1, ?2)");
    insert.BindInt64(1, p_lOwnerId);
    insert.BindText(2, p_sName);
    insert.Run();
    const auto id = static_cast<int32_t>(m_oDatabase.LastInsertRowId());
    work.Commit();
    return id;
}

std::vector<std::pair<int32_t, std::string>> PortfolioStore::Portfolios(int32_t p_lOwnerId) {
    SqliteStatement query = m_oDatabase.Prepare(
        "SELECT portfolio_id, name FROM portfolios WHERE owner_id = ?1 ORDER BY name, "
        "portfolio_id");
    query.BindInt64(1, p_lOwnerId);
    std::vector<std::pair<int32_t, std::string>> portfolios;
    while (query.Step()) {
        portfolios.emplace_back(static_cast<int32_t>(query.ColumnInt64(0)), query.ColumnText(1));
    }
    return portfolios;
}

std::optional<int32_t> PortfolioStore::OwnerOf(int32_t p_lPortfolioId) {
    SqliteStatement query =
        m_oDatabase.Prepare("SELECT owner_id FROM portfolios WHERE portfolio_id = ?1");
    query.BindInt64(1, p_lPortfolioId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(query.ColumnInt64(0));
}

int64_t PortfolioStore::AddTrade(int32_t p_lPortfolioId, const TradeRecord& p_oTrade) {
    SqliteTransaction work(m_oDatabase);
    SqliteStatement insert = m_oDatabase.Prepare(
        "INSERT INTO trades (portfolio_id, stock_id, buy_date, shares, initial_price, commission, "
        "is_short, initial_req, maintenance_pct, realized_gain) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    insert.BindInt64(1, p_lPortfolioId);
    insert.BindInt64(2, p_oTrade.m_llStockId);
    insert.BindInt64(3, p_oTrade.m_lBuyDate);
    insert.BindDouble(4, p_oTrade.m_dShares);
    insert.BindDouble(5, p_oTrade.m_dInitialPrice);
    insert.BindDouble(6, p_oTrade.m_dCommission);
    insert.BindInt64(7, p_oTrade.m_bShort ? 1 : 0);
    insert.BindDouble(8, p_oTrade.m_dInitialReq);
    insert.BindDouble(9, p_oTrade.m_dMaintenancePct);
    insert.BindDouble(10, p_oTrade.m_dRealizedGain);
    insert.Run();
    const int64_t tradeId = m_oDatabase.LastInsertRowId();
    SqliteStatement touch = m_oDatabase.Prepare(
        "UPDATE portfolios SET updated_date = max(coalesce(updated_date, 0), ?2) "
        "WHERE portfolio_id = ?1");
    touch.BindInt64(1, p_lPortfolioId);
    touch.BindInt64(2, p_oTrade.m_lBuyDate);
    touch.Run();
    work.Commit();
    return tradeId;
}

std::vector<TradeRecord> PortfolioStore::Trades(int32_t p_lPortfolioId) {
    SqliteStatement query = m_oDatabase.Prepare(
        "SELECT trade_id, stock_id, buy_date, shares, initial_price, commission, is_short, "
        "initial_req, maintenance_pct, realized_gain FROM trades WHERE portfolio_id = ?1 "
        "ORDER BY trade_id");
    query.BindInt64(1, p_lPortfolioId);
    std::vector<TradeRecord> trades;
    while (query.Step()) {
        TradeRecord trade;
        trade.m_llTradeId = query.ColumnInt64(0);
        trade.m_llStockId = query.ColumnInt64(1);
        trade.m_lBuyDate = static_cast<int32_t>(query.ColumnInt64(2));
        trade.m_dShares = query.ColumnDouble(3);
        trade.m_dInitialPrice = query.ColumnDouble(4);
        trade.m_dCommission = query.ColumnDouble(5);
        trade.m_bShort = query.ColumnInt64(6) != 0;
        trade.m_dInitialReq = query.ColumnDouble(7);
        trade.m_dMaintenancePct = query.ColumnDouble(8);
        trade.m_dRealizedGain = query.ColumnDouble(9);
        trades.push_back(trade);
    }
    return trades;
}

}  // namespace qv::facade
