#include "facade/portfolio_store.h"

#include <algorithm>

#include "facade/owner_store.h"
#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

constexpr const char* kInsertTradeSql =
    "INSERT INTO trades (portfolio_id, stock_id, buy_date, shares, initial_price, commission, "
    "is_short, initial_req, maintenance_pct, realized_gain, sell_date, sell_price) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)";
constexpr const char* kTradeColumns =
    "t.trade_id, t.portfolio_id, t.stock_id, s.symbol, t.buy_date, t.shares, t.initial_price, "
    "t.commission, t.is_short, t.initial_req, t.maintenance_pct, t.realized_gain, t.sell_date, "
    "t.sell_price, t.version FROM trades t JOIN stocks s ON s.stock_id = t.stock_id";

// The terms of a trade from ?2 on, in the order the insert and the update name them.
void BindTerms(SqlStatement& p_oStatement, const TradeRecord& p_oTrade) {
    p_oStatement.BindInt64(2, p_oTrade.m_llStockId);
    p_oStatement.BindInt64(3, p_oTrade.m_lBuyDate);
    p_oStatement.BindDouble(4, p_oTrade.m_dShares);
    p_oStatement.BindDouble(5, p_oTrade.m_dInitialPrice);
    p_oStatement.BindDouble(6, p_oTrade.m_dCommission);
    p_oStatement.BindInt64(7, p_oTrade.m_bShort ? 1 : 0);
    p_oStatement.BindDouble(8, p_oTrade.m_dInitialReq);
    p_oStatement.BindDouble(9, p_oTrade.m_dMaintenancePct);
    p_oStatement.BindDouble(10, p_oTrade.m_dRealizedGain);
    if (p_oTrade.m_lSellDate > 0) {
        p_oStatement.BindInt64(11, p_oTrade.m_lSellDate);
        p_oStatement.BindDouble(12, p_oTrade.m_dSellPrice);
    } else {
        p_oStatement.BindNull(11);
        p_oStatement.BindNull(12);
    }
}

TradeRecord ReadTrade(const SqlStatement& p_oRow) {
    TradeRecord trade;
    trade.m_llTradeId = p_oRow.ColumnInt64(0);
    trade.m_lPortfolioId = static_cast<int32_t>(p_oRow.ColumnInt64(1));
    trade.m_llStockId = p_oRow.ColumnInt64(2);
    trade.m_sSymbol = p_oRow.ColumnText(3);
    trade.m_lBuyDate = static_cast<int32_t>(p_oRow.ColumnInt64(4));
    trade.m_dShares = p_oRow.ColumnDouble(5);
    trade.m_dInitialPrice = p_oRow.ColumnDouble(6);
    trade.m_dCommission = p_oRow.ColumnDouble(7);
    trade.m_bShort = p_oRow.ColumnInt64(8) != 0;
    trade.m_dInitialReq = p_oRow.ColumnDouble(9);
    trade.m_dMaintenancePct = p_oRow.ColumnDouble(10);
    trade.m_dRealizedGain = p_oRow.ColumnDouble(11);
    trade.m_lSellDate = static_cast<int32_t>(p_oRow.ColumnInt64(12));
    trade.m_dSellPrice = p_oRow.ColumnDouble(13);
    trade.m_lVersion = static_cast<int32_t>(p_oRow.ColumnInt64(14));
    return trade;
}

}  // namespace

std::string PortfolioNameFault(const std::string& p_sName) {
    const std::string_view name = TrimWhitespace(p_sName);
    if (name.empty()) {
        return "a portfolio needs a name";
    }
    const std::string fault = NameTextFault(name);
    if (!fault.empty()) {
        return "a portfolio's name cannot hold " + fault;
    }
    const size_t chars = Utf8CharacterCount(name);
    if (chars > kMaxPortfolioNameChars) {
        return "a portfolio's name may hold at most " + std::to_string(kMaxPortfolioNameChars) +
               " characters; this one has " + std::to_string(chars);
    }
    return {};
}

int32_t PortfolioStore::CreatePortfolio(int32_t p_lOwnerId, const std::string& p_sName) {
    SqlTransaction work(m_oDatabase);
    OwnerStore(m_oDatabase).EnsureOwner(p_lOwnerId);
    SqlStatement insert = m_oDatabase.Prepare(
        "INSERT INTO portfolios (owner_id, name) VALUES (?1, ?2) "
        "RETURNING portfolio_id");
    insert.BindInt64(1, p_lOwnerId);
    insert.BindText(2, p_sName);
    insert.Step();
    const auto id = static_cast<int32_t>(insert.ColumnInt64(0));
    insert.Reset();
    work.Commit();
    return id;
}

void PortfolioStore::RenamePortfolio(int32_t p_lPortfolioId, const std::string& p_sName) {
    SqlStatement update =
        m_oDatabase.Prepare("UPDATE portfolios SET name = ?2 WHERE portfolio_id = ?1");
    update.BindInt64(1, p_lPortfolioId);
    update.BindText(2, p_sName);
    update.Run();
}

void PortfolioStore::DeletePortfolio(int32_t p_lPortfolioId) {
    // The trades go with it by their foreign key.
    SqlStatement remove = m_oDatabase.Prepare("DELETE FROM portfolios WHERE portfolio_id = ?1");
    remove.BindInt64(1, p_lPortfolioId);
    remove.Run();
}

std::vector<std::pair<int32_t, std::string>> PortfolioStore::Portfolios(int32_t p_lOwnerId) {
    SqlStatement query = m_oDatabase.Prepare(
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
    SqlStatement query =
        m_oDatabase.Prepare("SELECT owner_id FROM portfolios WHERE portfolio_id = ?1");
    query.BindInt64(1, p_lPortfolioId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(query.ColumnInt64(0));
}

bool PortfolioStore::IsOwners(int32_t p_lOwnerId, int32_t p_lPortfolioId) {
    return p_lOwnerId > 0 && OwnerOf(p_lPortfolioId) == p_lOwnerId;
}

std::optional<int32_t> PortfolioStore::FindByName(int32_t p_lOwnerId, const std::string& p_sName,
                                                  int32_t p_lExceptId) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT portfolio_id FROM portfolios WHERE owner_id = ?1 AND name = ?2 COLLATE NOCASE "
        "AND portfolio_id <> ?3");
    query.BindInt64(1, p_lOwnerId);
    query.BindText(2, p_sName);
    query.BindInt64(3, p_lExceptId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(query.ColumnInt64(0));
}

void PortfolioStore::MarkUpdated(int32_t p_lPortfolioId, int32_t p_lDate) {
    SqlStatement touch = m_oDatabase.Prepare(
        "UPDATE portfolios SET updated_date = CASE WHEN coalesce(updated_date, 0) > ?2 "
        "THEN coalesce(updated_date, 0) ELSE ?2 END WHERE portfolio_id = ?1");
    touch.BindInt64(1, p_lPortfolioId);
    touch.BindInt64(2, p_lDate);
    touch.Run();
}

int64_t PortfolioStore::AddTrade(int32_t p_lPortfolioId, const TradeRecord& p_oTrade) {
    SqlTransaction work(m_oDatabase);
    SqlStatement insert = m_oDatabase.Prepare(std::string(kInsertTradeSql) + " RETURNING trade_id");
    insert.BindInt64(1, p_lPortfolioId);
    BindTerms(insert, p_oTrade);
    insert.Step();
    const int64_t tradeId = insert.ColumnInt64(0);
    insert.Reset();
    MarkUpdated(p_lPortfolioId, p_oTrade.m_lBuyDate);
    work.Commit();
    return tradeId;
}

// Without RETURNING, which costs an import of many trades a result row each.
void PortfolioStore::AddTrades(int32_t p_lPortfolioId, const std::vector<TradeRecord>& p_aTrades) {
    SqlTransaction work(m_oDatabase);
    SqlStatement insert = m_oDatabase.Prepare(kInsertTradeSql);
    int32_t latest = 0;
    for (const TradeRecord& trade : p_aTrades) {
        insert.Reset();
        insert.BindInt64(1, p_lPortfolioId);
        BindTerms(insert, trade);
        insert.Run();
        latest = std::max(latest, trade.m_lBuyDate);
    }
    MarkUpdated(p_lPortfolioId, latest);
    work.Commit();
}

std::optional<int32_t> PortfolioStore::UpdateTrade(const TradeRecord& p_oTrade,
                                                   int32_t p_lReadVersion) {
    SqlTransaction work(m_oDatabase);
    SqlStatement update = m_oDatabase.Prepare(
        "UPDATE trades SET stock_id = ?2, buy_date = ?3, shares = ?4, initial_price = ?5, "
        "commission = ?6, is_short = ?7, initial_req = ?8, maintenance_pct = ?9, "
        "realized_gain = ?10, sell_date = ?11, sell_price = ?12, version = version + 1 "
        "WHERE trade_id = ?1 AND version = ?13 RETURNING version, portfolio_id");
    update.BindInt64(1, p_oTrade.m_llTradeId);
    BindTerms(update, p_oTrade);
    update.BindInt64(13, p_lReadVersion);
    if (!update.Step()) {
        return std::nullopt;
    }
    const auto version = static_cast<int32_t>(update.ColumnInt64(0));
    const auto portfolioId = static_cast<int32_t>(update.ColumnInt64(1));
    update.Reset();
    MarkUpdated(portfolioId, p_oTrade.m_lBuyDate);
    work.Commit();
    return version;
}

bool PortfolioStore::DeleteTrade(int64_t p_llTradeId, int32_t p_lReadVersion) {
    SqlStatement remove =
        m_oDatabase.Prepare("DELETE FROM trades WHERE trade_id = ?1 AND version = ?2");
    remove.BindInt64(1, p_llTradeId);
    remove.BindInt64(2, p_lReadVersion);
    remove.Run();
    return m_oDatabase.ChangedRows() > 0;
}

std::optional<TradeRecord> PortfolioStore::FindTrade(int64_t p_llTradeId) {
    SqlStatement query =
        m_oDatabase.Prepare(std::string("SELECT ") + kTradeColumns + " WHERE t.trade_id = ?1");
    query.BindInt64(1, p_llTradeId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return ReadTrade(query);
}

std::vector<TradeRecord> PortfolioStore::Trades(int32_t p_lPortfolioId) {
    SqlStatement query = m_oDatabase.Prepare(std::string("SELECT ") + kTradeColumns +
                                             " WHERE t.portfolio_id = ?1 "
                                             "ORDER BY t.buy_date, t.trade_id");
    query.BindInt64(1, p_lPortfolioId);
    std::vector<TradeRecord> trades;
    while (query.Step()) {
        trades.push_back(ReadTrade(query));
    }
    return trades;
}

}  // namespace qv::facade
