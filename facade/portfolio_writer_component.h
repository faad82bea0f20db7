// "QorvantOnlineFacade.PortfolioFTr": the portfolios a person keeps and their trades: creating,
// renaming and deleting portfolios, reading, saving and deleting trades, and trades to and from
// CSV text. The calls, their arguments and their refusals are those of the protocol
// (outside/facade_protocol.h, "Portfolios a person keeps").
//
// Every call acts for the session's owner (owner_authority.h): GetTrades and ExportTrades read,
// the others write. A portfolio or trade of another owner is one that does not exist, so a caller
// learns nothing of what others keep: a change is refused ("portfolio 12 not found") and a read
// answers with no trades, as GetCurrentHoldings answers with no holdings. A refusal names the
// argument and the reason, in words a person can be shown, and nothing is written then: each change
// is one transaction.
#pragma once

#include "facade/facade_component.h"

namespace qv::facade {

class PortfolioWriterComponent : public FacadeComponent {
  public:
    using FacadeComponent::FacadeComponent;

    std::string_view DispatchClassName() const override { return "PortfolioFTr"; }

    Variant NewPortfolio(DispatchArgs p_args);
    Variant RenamePortfolio(DispatchArgs p_args);
    Variant DeletePortfolio(DispatchArgs p_args);
    Variant GetTrades(DispatchArgs p_args);
    Variant SaveTrade(DispatchArgs p_args);
    Variant DeleteTrade(DispatchArgs p_args);
    Variant ImportTrades(DispatchArgs p_args);
    Variant ExportTrades(DispatchArgs p_args);

  protected:
    const DispatchTable& Table() const override;
};

}  // namespace qv::facade
