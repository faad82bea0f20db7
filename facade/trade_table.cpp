#include "facade/trade_table.h"

namespace qv::facade {

std::vector<ResultColumn> TradeColumns() {
    return {{"Trade_ID", FieldKind::Integer},
            {"Symbol", FieldKind::Text},
            {"BuyDate", FieldKind::Date},
            {"Commission", FieldKind::Double},
            {"InitialPrice", FieldKind::Double},
            {"Shares", FieldKind::Double},
            {"Short", FieldKind::Boolean},
            {"InitialReq", FieldKind::Double},
            {"MaintenancePercent", FieldKind::Double},
            {"SellDate", FieldKind::Date},
            {"SellPrice", FieldKind::Double},
            {"Version", FieldKind::Integer}};
}

std::vector<FieldValue> TradeValues(const TradeRecord& p_oTrade) {
    const bool sold = p_oTrade.m_lSellDate > 0;
    return {p_oTrade.m_llTradeId,
            p_oTrade.m_sSymbol,
            static_cast<double>(p_oTrade.m_lBuyDate),
            p_oTrade.m_dCommission,
            p_oTrade.m_dInitialPrice,
            p_oTrade.m_dShares,
            int64_t{p_oTrade.m_bShort},
            p_oTrade.m_dInitialReq,
            p_oTrade.m_dMaintenancePct,
            sold ? FieldValue{static_cast<double>(p_oTrade.m_lSellDate)} : FieldValue{},
            sold ? FieldValue{p_oTrade.m_dSellPrice} : FieldValue{},
            int64_t{p_oTrade.m_lVersion}};
}

ResultTable TradeTable(const std::vector<TradeRecord>& p_aTrades) {
    ResultTable table(TradeColumns());
    for (const TradeRecord& trade : p_aTrades) {
        table.AppendRow(TradeValues(trade));
    }
    return table;
}

}  // namespace qv::facade
