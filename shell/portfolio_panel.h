// The "Portfolios" side panel ("ctlPortfolioSupport"): the owner's portfolios. Choosing one
// (Enter, a double click, Show) raises "ITEMSELECTED" with its id, on which the master shows its
// holdings; the close button raises "CLOSECLICKED".
//
// By name: "CurrentItem" (get: the portfolio chosen, 0 for none; let: chooses that portfolio as a
// person does) and "RaiseHoldings". The master sets RaiseHoldings False just before it sets
// CurrentItem at start-up and still expects the holdings to show, so the flag is kept and read
// back but every choice raises "ITEMSELECTED".
//
//     PortfolioPanel panel(session, frame);
//     LetProperty(*panel.Object(), "CurrentItem", Variant(portfolioId));
#pragma once

#include "shell/support_panel.h"

#include <cstdint>
#include <memory>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace qv {

class DispatchTable;
class MarketSession;

class PortfolioPanel : public SupportPanel {
  public:
    PortfolioPanel(const MarketSession& p_oSession, QWidget* p_pParent);

    std::shared_ptr<DispatchObject> Object() override;

    bool RaiseHoldings() const { return m_bRaiseHoldings; }
    void SetRaiseHoldings(bool p_bRaise) { m_bRaiseHoldings = p_bRaise; }
    int32_t CurrentItem() const;
    // Chooses the portfolio of that id; false, and nothing raised, when the owner has none such.
    bool SetCurrentItem(int32_t p_lPortfolioId);

    QListWidget& List() const { return *m_pList; }
    QString StatusText() const;

  private:
    static const DispatchTable& Table();
    void Choose(const QListWidgetItem* p_pItem);

    QListWidget* m_pList = nullptr;
    QLabel* m_pStatus = nullptr;
    bool m_bRaiseHoldings = true;
};

}  // namespace qv
