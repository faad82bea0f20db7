// A portfolio's trades, open and closed, with New…, Edit…, Close… and Delete. Each opens the
// trade editor or asks first; after a change the trades are read again and the owner of the
// dialog hears of it (the window shows the portfolio's holdings afresh).
//
//     TradesDialog trades(ownerId, portfolioId, TradeMarketOf(session), this);
//     trades.SetOnChanged([&] { RefreshList(); });
//     trades.exec();
#pragma once

#include "shell/portfolio_calls.h"
#include "shell/trade_editor.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

class QLabel;
class QTableWidget;

namespace qv {

class TradesDialog : public QDialog {
  public:
    TradesDialog(int32_t p_lOwnerId, int32_t p_lPortfolioId, TradeMarket p_oMarket,
                 QWidget* p_pParent = nullptr);

    void SetOnChanged(std::function<void()> p_fnChanged) { m_fnChanged = std::move(p_fnChanged); }

    // As the buttons do, on the current row; true when a trade was saved or deleted.
    bool NewTrade();
    bool EditCurrent(bool p_bClose);
    bool DeleteCurrent();

    const std::vector<Trade>& Trades() const { return m_aTrades; }
    QTableWidget& Table() const { return *m_pTable; }
    QString StatusText() const;

  private:
    void Read();
    bool RunEditor(const Trade& p_oTrade);
    const Trade* Current() const;

    int32_t m_lOwnerId;
    int32_t m_lPortfolioId;
    TradeMarket m_oMarket;
    std::vector<Trade> m_aTrades;
    QTableWidget* m_pTable = nullptr;
    QLabel* m_pStatus = nullptr;
    std::function<void()> m_fnChanged;
};

}  // namespace qv
