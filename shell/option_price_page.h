// The option price page ("pagecontroller.aspx?pagetype=26&symbol=...&date=..."): a European call
// and put on the stock, priced by the pages component from the stock's close on the day. A person
// sets the strike, the days to expiry, the interest rate and the volatility (starting from the
// close, 30 days, 4 % and the stock's historical volatility) and reads the prices and their
// sensitivities as they change.
#pragma once

#include "shell/page_address.h"

#include <QString>
#include <QWidget>

#include <array>

class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace qv {

class OptionPricePage : public QWidget {
  public:
    explicit OptionPricePage(const PageRequest& p_oPage, QWidget* p_pParent = nullptr);

    QDoubleSpinBox* Strike() const { return m_pStrike; }
    QSpinBox* Days() const { return m_pDays; }
    QDoubleSpinBox* Rate() const { return m_pRate; }
    QDoubleSpinBox* Volatility() const { return m_pVolatility; }
    // The figure shown for a result field ("CallPrice", ...); empty before the first pricing.
    QString Figure(const char* p_sField) const;
    // Why nothing is priced; empty when the figures stand.
    const QString& Problem() const { return m_sProblem; }

  private:
    // Prices the option on the inputs shown; the first time, with the strike and volatility the
    // facade starts from.
    void Price(bool p_bFirst);

    PageRequest m_oPage;
    QLabel* m_pBasis = nullptr;
    QDoubleSpinBox* m_pStrike = nullptr;
    QSpinBox* m_pDays = nullptr;
    QDoubleSpinBox* m_pRate = nullptr;
    QDoubleSpinBox* m_pVolatility = nullptr;
    std::array<QLabel*, 8> m_figures{};
    QLabel* m_pProblem = nullptr;
    QString m_sProblem;
};

}  // namespace qv
