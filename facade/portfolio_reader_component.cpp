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
    FacadeArguments oArgs("GetCurrentHoldings", p_args);
    SqliteDatabase& oDatabase = Backend().Database();
    ReadSnapshot oSnapshot(oDatabase);
    const int32_t lPortfolioId = oArgs.Long(0, "PortfolioID");
    const int32_t lOwnerId = Owner(oArgs, 1, OwnerAccess::Read);
    const int32_t lDate = oArgs.Day(2, "Date");
    const bool bWithTrades = oArgs.Boolean(3, "WithTrades");
    const bool bWithCatalogue = oArgs.Boolean(6, "WithCatalogue");
    std::optional<LayoutDescription> oSent = oArgs.Layout(5, "LayoutInfo");
    const int32_t lLayoutId = oSent ? oSent->Header.Id : 0;
    const LayoutInForce oInForce = LayoutAccess(oDatabase).InForce(
        oArgs.Method(), lOwnerId, std::move(oSent),
        lLayoutId > 0 ? lLayoutId : system_layout::kPortfolio, kPortfolioViewer, -1);
    const LayoutRecord& oLayout = oInForce.m_oLayout;
    MarketLists oLists(oDatabase);
    ListAnswer oHoldings =
        oLists.Holdings(lOwnerId, lPortfolioId, lDate,
                        WithKeys(kTradeEditFields, FetchedFields(oLayout)), SortTextOf(oLayout));

    const Variant vRows = RecordsetValue(std::move(oHoldings.m_oRows));
    oArgs.Out(2) = oHoldings.m_lTradingDay > 0 ? Variant::Date(oHoldings.m_lTradingDay) : Variant();
    if (bWithTrades) {
        oArgs.Out(4) = RecordsetValue(
            oLists.Holdings(lOwnerId, lPortfolioId, lDate, kTradeFields, "").m_oRows);
    }
    WriteBackLayout(oArgs.Out(5), oInForce);
    if (bWithCatalogue) {
        oArgs.Out(7) = RecordsetValue(Backend().FieldCatalogue());
    }
    return vRows;
}

Variant PortfolioReaderComponent::GetPortfolios(DispatchArgs p_args) {
    FacadeArguments oArgs("GetPortfolios", p_args);
    const int32_t lOwnerId = Owner(oArgs, 0, OwnerAccess::Read);
    ResultTable oTable;
    oTable.m_aColumns = {{"id", FieldKind::Integer}, {"Name", FieldKind::Text}};
    if (lOwnerId != kSystemOwnerId) {
        for (auto& [lId, sName] : PortfolioStore(Backend().Database()).Portfolios(lOwnerId)) {
            oTable.m_aRows.push_back({int64_t{lId}, std::move(sName)});
        }
    }
    return RecordsetValue(std::move(oTable));
}

const DispatchTable& PortfolioReaderComponent::Table() const {
    using Self = PortfolioReaderComponent;
    static const DispatchTable oTable =
        DispatchTable::Builder<Self>()
            .Method("GetCurrentHoldings", 8, 8,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.GetCurrentHoldings(aArgs); })
            .Method("GetPortfolios", 1, 1,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.GetPortfolios(aArgs); })
            .Build();
    return oTable;
}

}  // namespace qv::facade
