// The "Portfolios" side panel ("ctlPortfolioSupport"): the owner's portfolios. Choosing one
// (Enter, a double click, Show) raises "ITEMSELECTED" with its id, on which the master shows its
// holdings; the close button raises "CLOSECLICKED".
//
// New…, Rename… and Delete (which asks first) change the owner's portfolios through the data
// facade; what it refuses is said in the panel and changes nothing. A new portfolio is chosen at
// once, its (empty) holdings shown. Trades… opens the chosen portfolio's trades.
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
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace qv {

class DispatchTable;
class MarketSession;

class PortfolioPanel : public SupportPanel {
  public:
    // A name typed for a portfolio; nothing when the person cancelled.
    using AskNameFn =
        std::function<std::optional<QString>(const QString& p_sTitle, const QString& p_sName)>;
    // After the owner's portfolios changed (the window's boxes read them again); the id of a new
    // portfolio, 0 after a rename or a delete.
    using ChangedFn = std::function<void(int32_t p_lNewPortfolioId)>;
    // Opens the trades of a portfolio.
    using TradesFn = std::function<void(int32_t p_lPortfolioId)>;

    PortfolioPanel(const MarketSession& p_oSession, QWidget* p_pParent);

    std::shared_ptr<DispatchObject> Object() override;

    bool RaiseHoldings() const { return m_bRaiseHoldings; }
    void SetRaiseHoldings(bool p_bRaise) { m_bRaiseHoldings = p_bRaise; }
    int32_t CurrentItem() const;
    // Chooses the portfolio of that id; false, and nothing raised, when the owner has none such.
    bool SetCurrentItem(int32_t p_lPortfolioId);

    // Without an asker, an input dialog asks.
    void SetNameAsker(AskNameFn p_fnAsk) { m_fnAskName = std::move(p_fnAsk); }
    void SetOnChanged(ChangedFn p_fnChanged) { m_fnChanged = std::move(p_fnChanged); }
    void SetOnTrades(TradesFn p_fnTrades) { m_fnTrades = std::move(p_fnTrades); }

    // As the buttons do; each returns whether the facade changed the portfolios.
    bool NewPortfolio();
    bool RenameCurrent();
    bool DeleteCurrent();
    // Reads the owner's portfolios again and marks p_lPortfolioId, raising nothing.
    void Refill(int32_t p_lPortfolioId);

    QListWidget& List() const { return *m_pList; }
    QString StatusText() const;

  private:
    static const DispatchTable& Table();
    void Choose(const QListWidgetItem* p_pItem);
    QListWidgetItem* Find(int32_t p_lPortfolioId) const;
    std::optional<QString> AskName(const QString& p_sTitle, const QString& p_sName);
    void Changed(int32_t p_lNewPortfolioId);

    const MarketSession& m_oSession;
    AskNameFn m_fnAskName;
    ChangedFn m_fnChanged;
    TradesFn m_fnTrades;

    QListWidget* m_pList = nullptr;
    QLabel* m_pStatus = nullptr;
    bool m_bRaiseHoldings = true;
};

}  // namespace qv
