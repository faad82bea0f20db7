// "QorvantOnlineFacade.PortfolioFNTr": the holdings of an owner's portfolio with their gains.
//
// Arguments in the callers' order; "ref" marks a by-reference argument, "out" one the call writes
// back, "in/out" one it reads and writes back.
//
// GetCurrentHoldings (returns the holdings Recordset)
//    1 PortfolioID Long, 2 OwnerId Long,
//    3 Date Variant in/out: the day to value at (Empty: the latest); the trading day used
//      comes back as a Date,
//    4 WithTrades Boolean: also hand back the trades,
//    5 Trades Recordset out (only with WithTrades): every trade of the holdings with its cost,
//      value and gains,
//    6 LayoutInfo Variant in/out, 7 WithCatalogue Boolean,
//    8 ParameterList Recordset out (only with WithCatalogue)
// GetPortfolios, for hosts (returns a Recordset of "id", "Name" by name)
//    1 OwnerId Long
// GetOptionsTrades (returns a Recordset of "Name", "Group_ID", "tradeID")
//    1 OwnerId Long: the owner's options-analysis groups (tradeID -1) and trades, by group
//
// A holding is one trade opened on or before the day and not sold by then, valued at its stock's
// last close on or before the day; its shares and buy price count the splits since the buy. The
// holdings recordset starts with the trade fields the viewer reads back
// ("Trade_ID", "Symbol", "BuyDate", "Commission", "InitialPrice", "Shares", "Short", "InitialReq",
// "MaintenancePercent", in that order), then "NumShares" and the fields of the layout in force
// (the description sent, else the layout of its id or the portfolio layout, 14), ordered by the
// layout's sort. The owner is the session's (owner_authority.h); a portfolio of another owner,
// or none, gives an empty recordset.
#pragma once

#include "facade/facade_component.h"

namespace qv::facade {

class PortfolioReaderComponent : public FacadeComponent {
  public:
    using FacadeComponent::FacadeComponent;

    std::string_view DispatchClassName() const override { return "PortfolioFNTr"; }

    Variant GetCurrentHoldings(DispatchArgs p_args);
    Variant GetPortfolios(DispatchArgs p_args);
    Variant GetOptionsTrades(DispatchArgs p_args);

  protected:
    const DispatchTable& Table() const override;
};

}  // namespace qv::facade
