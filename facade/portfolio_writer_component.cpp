#include "facade/portfolio_writer_component.h"

#include <string>

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/portfolio_store.h"
#include "facade/recordset_conversion.h"
#include "facade/result_table.h"
#include "facade/sqlite_database.h"
#include "facade/trade_csv.h"
#include "facade/trade_rules.h"
#include "facade/trade_table.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

namespace new_portfolio = facade_protocol::new_portfolio;
namespace rename_portfolio = facade_protocol::rename_portfolio;
namespace delete_portfolio = facade_protocol::delete_portfolio;
namespace get_trades = facade_protocol::get_trades;
namespace save_trade = facade_protocol::save_trade;
namespace delete_trade = facade_protocol::delete_trade;
namespace import_trades = facade_protocol::import_trades;
namespace export_trades = facade_protocol::export_trades;
using facade_protocol::Argument;

// A portfolio's name: trimmed, text, 1 to 60 characters, none of the owner's other portfolios'.
std::string PortfolioName(const FacadeArguments& p_oArgs, const Argument& p_oName,
                          PortfolioStore& p_oStore, int32_t p_lOwnerId, int32_t p_lPortfolioId) {
    const std::string name(TrimWhitespace(p_oArgs.Text(p_oName)));
    const std::string fault = PortfolioNameFault(name);
    if (!fault.empty()) {
        p_oArgs.Fail(p_oName, fault);
    }
    if (p_oStore.FindByName(p_lOwnerId, name, p_lPortfolioId)) {
        p_oArgs.Fail(p_oName, "there is already a portfolio named \"" + name + "\"");
    }
    return name;
}

// One of the owner's portfolios, or the call fails naming p_oPortfolio.
int32_t OwnersPortfolio(const FacadeArguments& p_oArgs, const Argument& p_oPortfolio,
                        PortfolioStore& p_oStore, int32_t p_lOwnerId) {
    const int32_t portfolioId = p_oArgs.Long(p_oPortfolio);
    if (!p_oStore.IsOwners(p_lOwnerId, portfolioId)) {
        p_oArgs.Fail(p_oPortfolio, "portfolio " + std::to_string(portfolioId) + " not found");
    }
    return portfolioId;
}

// The trades of one of the owner's portfolios. A read answers for a portfolio that is not the
// owner's as the holdings do, with none, so that reading as the system (which keeps no
// portfolios) is never refused.
std::vector<TradeRecord> ReadableTrades(const FacadeArguments& p_oArgs,
                                        const Argument& p_oPortfolio, PortfolioStore& p_oStore,
                                        int32_t p_lOwnerId) {
    const int32_t portfolioId = p_oArgs.Long(p_oPortfolio);
    if (!p_oStore.IsOwners(p_lOwnerId, portfolioId)) {
        return {};
    }
    return p_oStore.Trades(portfolioId);
}

// One of the owner's trades, or the call fails naming p_oTrade.
TradeRecord OwnersTrade(const FacadeArguments& p_oArgs, const Argument& p_oTrade,
                        PortfolioStore& p_oStore, int32_t p_lOwnerId) {
    const int32_t tradeId = p_oArgs.Long(p_oTrade);
    std::optional<TradeRecord> trade = p_oStore.FindTrade(tradeId);
    if (!trade || !p_oStore.IsOwners(p_lOwnerId, trade->m_lPortfolioId)) {
        p_oArgs.Fail(p_oTrade, "trade " + std::to_string(tradeId) + " not found");
    }
    return std::move(*trade);
}

[[noreturn]] void FailChanged(const FacadeArguments& p_oArgs, const Argument& p_oVersion,
                              int64_t p_llTradeId) {
    p_oArgs.Fail(p_oVersion, "trade " + std::to_string(p_llTradeId) +
                                 " was changed elsewhere since it was read; read it again");
}

// A sale's day and price as a caller hands back what GetTrades gave: Null while open.
int32_t OptionalDay(const FacadeArguments& p_oArgs, const Argument& p_oArg) {
    return p_oArgs.Value(p_oArg).IsNull() ? 0 : p_oArgs.Day(p_oArg);
}

std::optional<double> OptionalNumber(const FacadeArguments& p_oArgs, const Argument& p_oArg) {
    return p_oArgs.Value(p_oArg).IsNull() ? std::nullopt : p_oArgs.Number(p_oArg);
}

TradeTerms TermsOf(const FacadeArguments& p_oArgs) {
    TradeTerms terms;
    terms.m_sSymbol = p_oArgs.Text(save_trade::kSymbol);
    terms.m_lBuyDate = p_oArgs.Day(save_trade::kBuyDate);
    terms.m_dCommission = p_oArgs.Number(save_trade::kCommission);
    terms.m_dPrice = p_oArgs.Number(save_trade::kInitialPrice);
    terms.m_dShares = p_oArgs.Number(save_trade::kShares);
    terms.m_bShort = p_oArgs.Boolean(save_trade::kShort);
    terms.m_dInitialReq = p_oArgs.Number(save_trade::kInitialReq);
    terms.m_dMaintenancePct = p_oArgs.Number(save_trade::kMaintenancePercent);
    terms.m_lSellDate = OptionalDay(p_oArgs, save_trade::kSellDate);
    terms.m_dSellPrice = OptionalNumber(p_oArgs, save_trade::kSellPrice);
    return terms;
}

const Argument& ArgumentOf(TradeField p_eField) {
    switch (p_eField) {
        case TradeField::Symbol:
            return save_trade::kSymbol;
        case TradeField::BuyDate:
            return save_trade::kBuyDate;
        case TradeField::Shares:
            return save_trade::kShares;
        case TradeField::Price:
            return save_trade::kInitialPrice;
        case TradeField::Commission:
            return save_trade::kCommission;
        case TradeField::InitialReq:
            return save_trade::kInitialReq;
        case TradeField::MaintenancePercent:
            return save_trade::kMaintenancePercent;
        case TradeField::SellDate:
            return save_trade::kSellDate;
        case TradeField::SellPrice:
            return save_trade::kSellPrice;
    }
    return save_trade::kSymbol;
}

ResultTable ImportTable(const TradeImport& p_oImport) {
    ResultTable table({{"Row", FieldKind::Integer},
                       {"Symbol", FieldKind::Text},
                       {"Status", FieldKind::Text},
                       {"Reason", FieldKind::Text}});
    for (const TradeImportRow& row : p_oImport.m_aRows) {
        table.AppendRow({row.m_llRow, row.m_sSymbol, row.m_sStatus, row.m_sReason});
    }
    return table;
}

}  // namespace

Variant PortfolioWriterComponent::NewPortfolio(DispatchArgs p_args) {
    FacadeArguments args(new_portfolio::kMethod, p_args);
    const int32_t ownerId = Owner(args, new_portfolio::kOwnerId, OwnerAccess::Write);
    SqlTransaction work(Backend().Database());
    PortfolioStore portfolios(Backend().Database());
    const std::string name = PortfolioName(args, new_portfolio::kName, portfolios, ownerId, 0);
    const int32_t id = portfolios.CreatePortfolio(ownerId, name);
    work.Commit();
    return id;
}

Variant PortfolioWriterComponent::RenamePortfolio(DispatchArgs p_args) {
    FacadeArguments args(rename_portfolio::kMethod, p_args);
    const int32_t ownerId = Owner(args, rename_portfolio::kOwnerId, OwnerAccess::Write);
    SqlTransaction work(Backend().Database());
    PortfolioStore portfolios(Backend().Database());
    const int32_t id = OwnersPortfolio(args, rename_portfolio::kPortfolioId, portfolios, ownerId);
    portfolios.RenamePortfolio(
        id, PortfolioName(args, rename_portfolio::kName, portfolios, ownerId, id));
    work.Commit();
    return true;
}

Variant PortfolioWriterComponent::DeletePortfolio(DispatchArgs p_args) {
    FacadeArguments args(delete_portfolio::kMethod, p_args);
    const int32_t ownerId = Owner(args, delete_portfolio::kOwnerId, OwnerAccess::Write);
    SqlTransaction work(Backend().Database());
    PortfolioStore portfolios(Backend().Database());
    portfolios.DeletePortfolio(
        OwnersPortfolio(args, delete_portfolio::kPortfolioId, portfolios, ownerId));
    work.Commit();
    return true;
}

Variant PortfolioWriterComponent::GetTrades(DispatchArgs p_args) {
    FacadeArguments args(get_trades::kMethod, p_args);
    const int32_t ownerId = Owner(args, get_trades::kOwnerId, OwnerAccess::Read);
    PortfolioStore portfolios(Backend().Database());
    return RecordsetValue(
        TradeTable(ReadableTrades(args, get_trades::kPortfolioId, portfolios, ownerId)));
}

Variant PortfolioWriterComponent::SaveTrade(DispatchArgs p_args) {
    FacadeArguments args(save_trade::kMethod, p_args);
    const int32_t ownerId = Owner(args, save_trade::kOwnerId, OwnerAccess::Write);
    SqlDatabase& database = Backend().Database();
    SqlTransaction work(database);
    PortfolioStore portfolios(database);
    const int32_t portfolioId =
        OwnersPortfolio(args, save_trade::kPortfolioId, portfolios, ownerId);
    TradeRecord trade;
    if (args.Long(save_trade::kTradeId) > 0) {
        trade = OwnersTrade(args, save_trade::kTradeId, portfolios, ownerId);
        if (trade.m_lPortfolioId != portfolioId) {
            args.Fail(save_trade::kPortfolioId, "trade " + std::to_string(trade.m_llTradeId) +
                                                    " is not in portfolio " +
                                                    std::to_string(portfolioId));
        }
    }
    if (std::optional<TradeFault> fault = TradeRules(database).Check(TermsOf(args), trade)) {
        args.Fail(ArgumentOf(fault->m_eField), fault->m_sReason);
    }
    if (trade.m_llTradeId > 0) {
        const std::optional<int32_t> version =
            portfolios.UpdateTrade(trade, args.Long(save_trade::kVersion));
        if (!version) {
            FailChanged(args, save_trade::kVersion, trade.m_llTradeId);
        }
        trade.m_lVersion = *version;
    } else {
        trade.m_llTradeId = portfolios.AddTrade(portfolioId, trade);
        trade.m_lVersion = 1;
    }
    work.Commit();
    args.Out(save_trade::kTradeId) = static_cast<int32_t>(trade.m_llTradeId);
    args.Out(save_trade::kVersion) = trade.m_lVersion;
    return true;
}

Variant PortfolioWriterComponent::DeleteTrade(DispatchArgs p_args) {
    FacadeArguments args(delete_trade::kMethod, p_args);
    const int32_t ownerId = Owner(args, delete_trade::kOwnerId, OwnerAccess::Write);
    SqlTransaction work(Backend().Database());
    PortfolioStore portfolios(Backend().Database());
    const TradeRecord trade = OwnersTrade(args, delete_trade::kTradeId, portfolios, ownerId);
    if (!portfolios.DeleteTrade(trade.m_llTradeId, args.Long(delete_trade::kVersion))) {
        FailChanged(args, delete_trade::kVersion, trade.m_llTradeId);
    }
    work.Commit();
    return true;
}

Variant PortfolioWriterComponent::ImportTrades(DispatchArgs p_args) {
    FacadeArguments args(import_trades::kMethod, p_args);
    const int32_t ownerId = Owner(args, import_trades::kOwnerId, OwnerAccess::Write);
    SqlDatabase& database = Backend().Database();
    PortfolioStore portfolios(database);
    const int32_t id = OwnersPortfolio(args, import_trades::kPortfolioId, portfolios, ownerId);
    const TradeImport answer = ImportTradeCsv(database, id, args.Text(import_trades::kCsv),
                                              args.Boolean(import_trades::kCommit));
    if (!answer.m_sFault.empty()) {
        args.Fail(import_trades::kCsv, answer.m_sFault);
    }
    return RecordsetValue(ImportTable(answer));
}

Variant PortfolioWriterComponent::ExportTrades(DispatchArgs p_args) {
    FacadeArguments args(export_trades::kMethod, p_args);
    const int32_t ownerId = Owner(args, export_trades::kOwnerId, OwnerAccess::Read);
    PortfolioStore portfolios(Backend().Database());
    return WriteTradeCsv(ReadableTrades(args, export_trades::kPortfolioId, portfolios, ownerId));
}

const DispatchTable& PortfolioWriterComponent::Table() const {
    using Self = PortfolioWriterComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method(new_portfolio::kMethod, new_portfolio::kCount, new_portfolio::kCount,
                    [](Self& self, DispatchArgs args) { return self.NewPortfolio(args); })
            .Method(rename_portfolio::kMethod, rename_portfolio::kCount, rename_portfolio::kCount,
                    [](Self& self, DispatchArgs args) { return self.RenamePortfolio(args); })
            .Method(delete_portfolio::kMethod, delete_portfolio::kCount, delete_portfolio::kCount,
                    [](Self& self, DispatchArgs args) { return self.DeletePortfolio(args); })
            .Method(get_trades::kMethod, get_trades::kCount, get_trades::kCount,
                    [](Self& self, DispatchArgs args) { return self.GetTrades(args); })
            .Method(save_trade::kMethod, save_trade::kCount, save_trade::kCount,
                    [](Self& self, DispatchArgs args) { return self.SaveTrade(args); })
            .Method(delete_trade::kMethod, delete_trade::kCount, delete_trade::kCount,
                    [](Self& self, DispatchArgs args) { return self.DeleteTrade(args); })
            .Method(import_trades::kMethod, import_trades::kCount, import_trades::kCount,
                    [](Self& self, DispatchArgs args) { return self.ImportTrades(args); })
            .Method(export_trades::kMethod, export_trades::kCount, export_trades::kCount,
                    [](Self& self, DispatchArgs args) { return self.ExportTrades(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
