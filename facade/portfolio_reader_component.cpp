#include "facade/portfolio_reader_component.h"

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/layout_access.h"
#include "facade/market_lists.h"
#include "facade/portfolio_store.h"
#include "facade/read_snapshot.h"
#include "facade/recordset_conversion.h"
#include "facade/result_table.h"
#include "facade/sqlite_database.h"
#include "facade/system_layouts.h"
#include "outside/recordset.h"

namespace qv::facade {

namespace {

namespace current_holdings = facade_protocol::get_current_holdings;
namespace portfolios = facade_protocol::get_portfolios;
namespace options_trades = facade_protocol::get_options_trades;

constexpr int32_t kPortfolioViewer = 7;

// The trade fields the viewer reads back from a holding, in the order it reads them.
const std::vector<std::string> kTradeEditFields = {
    "Trade_ID", "Symbol", "BuyDate",    "Commission",         "InitialPrice",
    "Shares",   "Short",  "InitialReq", "MaintenancePercent", "NumShares"};

const std::vector<std::string> kTradeFields = {
    "Trade_ID",     "Symbol",     "CompanyName",  "TradeType", "BuyDate",      "Shares",
    "InitialPrice", "Commission", "CostBasis",    "PriceDate", "CurrentPrice", "MarketValue",
    "Gain",         "ROI",        "RealizedGain", "TotalGain"};

}  // namespace

Variant PortfolioReaderComponent::GetCurrentHoldings(DispatchArgs p_args) {
    FacadeArguments args(current_holdings::kMethod, p_args);
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t portfolioId = args.Long(current_holdings::kPortfolioID);
    const int32_t ownerId = Owner(args, current_holdings::kOwnerId, OwnerAccess::Read);
    const int32_t date = args.Day(current_holdings::kDate);
    const bool withTrades = args.Boolean(current_holdings::kWithTrades);
    const bool withCatalogue = args.Boolean(current_holdings::kWithCatalogue);
    std::optional<LayoutDescription> sent = args.Layout(current_holdings::kLayoutInfo);
    const int32_t layoutId = sent ? sent->Header.Id : 0;
    const LayoutInForce inForce = LayoutAccess(database).InForce(
        args.Method(), ownerId, std::move(sent),
        layoutId > 0 ? layoutId : system_layout::kPortfolio, kPortfolioViewer, -1);
    const LayoutRecord& layout = inForce.m_oLayout;
    MarketLists lists(database);
    ListAnswer holdings =
        lists.Holdings(ownerId, portfolioId, date,
                       WithKeys(kTradeEditFields, FetchedFields(layout)), SortTextOf(layout));

    const Variant rows = RecordsetValue(std::move(holdings.m_oRows));
    args.Out(current_holdings::kDate) =
        holdings.m_lTradingDay > 0 ? Variant::Date(holdings.m_lTradingDay) : Variant();
    if (withTrades) {
        args.Out(current_holdings::kTrades) =
            RecordsetValue(lists.Holdings(ownerId, portfolioId, date, kTradeFields, "").m_oRows);
    }
    WriteBackLayout(args.Out(current_holdings::kLayoutInfo), inForce);
    if (withCatalogue) {
        args.Out(current_holdings::kParameterList) = RecordsetValue(Backend().FieldCatalogue());
    }
    return rows;
}

Variant PortfolioReaderComponent::GetPortfolios(DispatchArgs p_args) {
    FacadeArguments args(portfolios::kMethod, p_args);
    const int32_t ownerId = Owner(args, portfolios::kOwnerId, OwnerAccess::Read);
    ResultTable table({{"id", FieldKind::Integer}, {"Name", FieldKind::Text}});
    if (ownerId != kSystemOwnerId) {
        for (auto& [id, name] : PortfolioStore(Backend().Database()).Portfolios(ownerId)) {
            table.AppendRow({int64_t{id}, std::move(name)});
        }
    }
    return RecordsetValue(std::move(table));
}

Variant PortfolioReaderComponent::GetOptionsTrades(DispatchArgs p_args) {
    FacadeArguments args(options_trades::kMethod, p_args);
    const int32_t ownerId = Owner(args, options_trades::kOwnerId, OwnerAccess::Read);
    ResultTable table({{"Name", FieldKind::Text},
                       {"Group_ID", FieldKind::Integer},
                       {"tradeID", FieldKind::Integer}});
    SqlStatement query = Backend().Database().Prepare(
        "SELECT name, group_id, -1 FROM options_groups WHERE owner_id = ?1 "
        "UNION ALL SELECT t.name, t.group_id, t.trade_id FROM options_trades t "
        "JOIN options_groups g ON g.group_id = t.group_id WHERE g.owner_id = ?1 "
        "ORDER BY 2, 3");
    query.BindInt64(1, ownerId);
    while (query.Step()) {
        table.AppendRow({query.ColumnText(0), query.ColumnInt64(1), query.ColumnInt64(2)});
    }
    return RecordsetValue(std::move(table));
}

const DispatchTable& PortfolioReaderComponent::Table() const {
    using Self = PortfolioReaderComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method(current_holdings::kMethod, current_holdings::kCount, current_holdings::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetCurrentHoldings(args); })
            .Method(portfolios::kMethod, portfolios::kCount, portfolios::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetPortfolios(args); })
            .Method(options_trades::kMethod, options_trades::kCount, options_trades::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetOptionsTrades(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
