// The trade editor: a trade's symbol, buy date, shares, price, commission, short and margin
// percents, and, once closed, its sell date and price. What is typed is checked as it is typed,
// the reason beside the field, and Save waits until nothing is wrong; the data facade has the last
// word ("SaveTrade"), and what it refuses is shown in the dialog with everything typed kept. A
// trade changed in another window since it was read is refused; the dialog then offers to read it
// again.
//
//     TradeEditor editor(ownerId, portfolioId, trade, TradeMarketOf(session), this);
//     if (editor.exec() == QDialog::Accepted) { ... editor.Saved() ... }
#pragma once

#include "shell/portfolio_calls.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class MarketSession;

// What the editor asks of the market to check a trade.
struct TradeMarket {
    std::function<bool(const std::string& p_sSymbol)> m_fnKnown;
    int32_t m_lFirstDay = 0;
    int32_t m_lLastDay = 0;
    // The last trading day on or before a day; 0 when there is none.
    std::function<int32_t(int32_t p_lDay)> m_fnTradingDay;
};

TradeMarket TradeMarketOf(const MarketSession& p_oSession);

enum TradeField : int {
    tfSymbol,
    tfBuyDate,
    tfShares,
    tfPrice,
    tfCommission,
    tfInitialReq,
    tfMaintenance,
    tfSellDate,
    tfSellPrice,
    tfFieldCount
};

// The reason each field is wrong, empty where it is right.
using TradeProblems = std::array<std::string, tfFieldCount>;
TradeProblems CheckTrade(const Trade& p_oTrade, const TradeMarket& p_oMarket);

class TradeEditor : public QDialog {
  public:
    TradeEditor(int32_t p_lOwnerId, int32_t p_lPortfolioId, const Trade& p_oTrade,
                TradeMarket p_oMarket, QWidget* p_pParent = nullptr);

    // The trade as typed.
    Trade Entered() const;
    // The trade as last saved (its id and version from the facade).
    const Trade& Saved() const { return m_oTrade; }
    bool CanSave() const;
    QString Reason(TradeField p_eField) const;
    QString StatusText() const;
    // Saves as Save does; true, and the dialog accepted, when the facade took the trade.
    bool Save();
    // Reads the trade again and shows it as it is stored now.
    bool Reload();

  private:
    void Build();
    void Show(const Trade& p_oTrade);
    void Check();

    int32_t m_lOwnerId;
    int32_t m_lPortfolioId;
    Trade m_oTrade;
    TradeMarket m_oMarket;
    QLineEdit* m_pSymbol = nullptr;
    QDateEdit* m_pBuyDate = nullptr;
    QDoubleSpinBox* m_pShares = nullptr;
    QDoubleSpinBox* m_pPrice = nullptr;
    QDoubleSpinBox* m_pCommission = nullptr;
    QCheckBox* m_pShort = nullptr;
    QDoubleSpinBox* m_pInitialReq = nullptr;
    QDoubleSpinBox* m_pMaintenance = nullptr;
    QCheckBox* m_pClosed = nullptr;
    QDateEdit* m_pSellDate = nullptr;
    QDoubleSpinBox* m_pSellPrice = nullptr;
    std::array<QLabel*, tfFieldCount> m_aReasons{};
    QLabel* m_pStatus = nullptr;
    QPushButton* m_pSave = nullptr;
    QPushButton* m_pReload = nullptr;
};

}  // namespace qv
