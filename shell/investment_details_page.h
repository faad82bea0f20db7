// The "View Investment Details" page: one holding of a portfolio (its symbol), with its trades
// (cost, value on the day, realised and unrealised gain) and a chart of the holding's value on
// each trading day against the equal-weight market scaled to the same start. The control raises
// the page without keys, so the window hands in the portfolio shown and the symbol of its current
// row. What the facade refuses is said on the page in its words.
//
//     auto* page = new InvestmentDetailsPage({ownerId, portfolioId, "QA", day}, parent);
#pragma once

#include <QWidget>

#include <cstdint>
#include <string>

class QTableWidget;

namespace qv {

class ChartView;

struct HoldingChoice {
    int32_t m_lOwnerId = 0;
    int32_t m_lPortfolioId = 0;
    std::string m_sSymbol;
    // A day serial; the value and gains are those of its close.
    int32_t m_lDate = 0;
};

class InvestmentDetailsPage : public QWidget {
  public:
    explicit InvestmentDetailsPage(const HoldingChoice& p_oHolding, QWidget* p_pParent = nullptr);

    // Null when the facade refused, or the holding has no days to draw.
    ChartView* Lines() const { return m_pLines; }
    QTableWidget* Trades() const { return m_pTrades; }

  private:
    ChartView* m_pLines = nullptr;
    QTableWidget* m_pTrades = nullptr;
};

}  // namespace qv
