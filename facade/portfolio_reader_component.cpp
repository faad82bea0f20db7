#include "facade/portfolio_reader_component.h"

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/layout_access.h"
#include "facade/market_lists.h"
#include "facade/portfolio_store.h"
#include "facade/read_snapshot.h"
#include "facade/recordset_conversion.h"
#include "facade/system_layouts.h"
#include "outside/recordset.h"

namespace qv::facade {

namespace {

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
    FacadeArguments args("GetCurrentHoldings", p_args);
    SqliteDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t portfolioId = args.Long(0, "PortfolioID");
    const int32_t ownerId = Owner(args, 1, OwnerAccess::Read);
    const int32_t date = args.Day(2, "Date");
    const bool withTrades = args.Boolean(3, "WithTrades");
    const bool withCatalogue = args.Boolean(6, "WithCatalogue");
    std::optional<LayoutDescription> sent = args.Layout(5, "LayoutInfo");
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
    args.Out(2) = holdings.m_lTradingDay > 0 ? Variant::Date(holdings.m_lTradingDay) : Variant();
    if (withTrades) {
        args.Out(4) =
            RecordsetValue(lists.Holdings(ownerId, portfolioId, date, kTradeFields, "").m_oRows);
    }
    WriteBackLayout(args.Out(5), inForce);
    if (withCatalogue) {
        args.Out(7) = RecordsetValue(Backend().FieldCatalogue());
    }
    return rows;
}

Variant PortfolioReaderComponent::GetPortfolios(DispatchArgs p_args) {
    FacadeArguments args("GetPortfolios", p_args);
    const int32_t ownerId = Owner(args, 0, OwnerAccess::Read);
    ResultTable table({{"id", FieldKind::Integer}, {"Name", FieldKind::Text}});
    if (ownerId != kSystemOwnerId) {
        for (auto& [id, name] : PortfolioStore(Backend().Database()).Portfolios(ownerId)) {
            table.AppendRow({int64_t{id}, std::move(name)});
        }
    }
    return RecordsetValue(std::move(table));
}

const DispatchTable& PortfolioReaderComponent::Table() const {
    using Self = PortfolioReaderComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method("GetCurrentHoldings", 8, 8,
                    [](Self& self, DispatchArgs args) { return self.GetCurrentHoldings(args); })
            .Method("GetPortfolios", 1, 1,
                    [](Self& self, DispatchArgs args) { return self.GetPortfolios(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
