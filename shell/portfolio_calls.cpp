#include "shell/portfolio_calls.h"

#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "outside/variant.h"

#include <array>
#include <cmath>

namespace qv {

namespace {

namespace protocol = facade_protocol;

std::shared_ptr<DispatchObject> PortfolioComponent() {
    return CreateObject(protocol::prog_id::kPortfolioWriter);
}

int32_t DayOf(const Variant& p_vDate) {
    return p_vDate.IsNull() || p_vDate.IsEmpty()
               ? 0
               : static_cast<int32_t>(std::floor(p_vDate.ToDate()));
}

Trade TradeOfRow(const Recordset& p_oRows) {
    Trade trade;
    trade.m_lTradeId = p_oRows.Value("Trade_ID").ToLong();
    trade.m_sSymbol = p_oRows.Value("Symbol").ToString();
    trade.m_lBuyDate = DayOf(p_oRows.Value("BuyDate"));
    trade.m_dCommission = p_oRows.Value("Commission").ToDouble();
    trade.m_dInitialPrice = p_oRows.Value("InitialPrice").ToDouble();
    trade.m_dShares = p_oRows.Value("Shares").ToDouble();
    trade.m_bShort = p_oRows.Value("Short").ToBool();
    trade.m_dInitialReq = p_oRows.Value("InitialReq").ToDouble();
    trade.m_dMaintenancePercent = p_oRows.Value("MaintenancePercent").ToDouble();
    trade.m_lSellDate = DayOf(p_oRows.Value("SellDate"));
    const Variant sellPrice = p_oRows.Value("SellPrice");
    trade.m_dSellPrice = sellPrice.IsNull() ? 0 : sellPrice.ToDouble();
    trade.m_lVersion = p_oRows.Value("Version").ToLong();
    return trade;
}

}  // namespace

int32_t NewPortfolio(int32_t p_lOwnerId, const std::string& p_sName) {
    namespace call = protocol::new_portfolio;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_sName)};
    return CallMethod(*PortfolioComponent(), call::kMethod, args).ToLong();
}

void RenamePortfolio(int32_t p_lOwnerId, int32_t p_lPortfolioId, const std::string& p_sName) {
    namespace call = protocol::rename_portfolio;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_lPortfolioId),
                                           Variant(p_sName)};
    CallMethod(*PortfolioComponent(), call::kMethod, args);
}

void DeletePortfolio(int32_t p_lOwnerId, int32_t p_lPortfolioId) {
    namespace call = protocol::delete_portfolio;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_lPortfolioId)};
    CallMethod(*PortfolioComponent(), call::kMethod, args);
}

std::vector<Trade> ReadTrades(int32_t p_lOwnerId, int32_t p_lPortfolioId) {
    namespace call = protocol::get_trades;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_lPortfolioId)};
    const std::shared_ptr<Recordset> rows = ExpectRecordset(
        CallMethod(*PortfolioComponent(), call::kMethod, args), "the portfolio's trades");
    std::vector<Trade> trades;
    if (rows->RecordCount() == 0) {
        return trades;
    }
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        trades.push_back(TradeOfRow(*rows));
    }
    return trades;
}

void SaveTrade(int32_t p_lOwnerId, int32_t p_lPortfolioId, Trade& p_oTrade) {
    namespace call = protocol::save_trade;
    const bool closed = p_oTrade.IsClosed();
    std::array<Variant, call::kCount> args{
        Variant(p_lOwnerId),
        Variant(p_lPortfolioId),
        Variant(p_oTrade.m_lTradeId),
        Variant(p_oTrade.m_sSymbol),
        Variant::Date(p_oTrade.m_lBuyDate),
        Variant(p_oTrade.m_dCommission),
        Variant(p_oTrade.m_dInitialPrice),
        Variant(p_oTrade.m_dShares),
        Variant(p_oTrade.m_bShort),
        Variant(p_oTrade.m_dInitialReq),
        Variant(p_oTrade.m_dMaintenancePercent),
        closed ? Variant::Date(p_oTrade.m_lSellDate) : Variant::Null(),
        closed ? Variant(p_oTrade.m_dSellPrice) : Variant::Null(),
        Variant(p_oTrade.m_lVersion)};
    CallMethod(*PortfolioComponent(), call::kMethod, args);
    p_oTrade.m_lTradeId = args[call::kTradeId.Position].ToLong();
    p_oTrade.m_lVersion = args[call::kVersion.Position].ToLong();
}

void DeleteTrade(int32_t p_lOwnerId, const Trade& p_oTrade) {
    namespace call = protocol::delete_trade;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_oTrade.m_lTradeId),
                                           Variant(p_oTrade.m_lVersion)};
    CallMethod(*PortfolioComponent(), call::kMethod, args);
}

std::shared_ptr<Recordset> ImportTrades(int32_t p_lOwnerId, int32_t p_lPortfolioId,
                                        const std::string& p_sCsv, bool p_bCommit) {
    namespace call = protocol::import_trades;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_lPortfolioId),
                                           Variant(p_sCsv), Variant(p_bCommit)};
    return ExpectRecordset(CallMethod(*PortfolioComponent(), call::kMethod, args),
                           "the trades of the file");
}

std::string ExportTrades(int32_t p_lOwnerId, int32_t p_lPortfolioId) {
    namespace call = protocol::export_trades;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_lPortfolioId)};
    return CallMethod(*PortfolioComponent(), call::kMethod, args).ToString();
}

}  // namespace qv
