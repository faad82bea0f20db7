// The strip under the portfolio's holdings with the totals of cost, value and gain: a widget
// beside the grid rather than a row of it, so sorting and export see only the holdings. Each
// total reads as its column formats the values.
#pragma once

#include <QLabel>

#include <string>

namespace qv {

class GridControl;

class TotalsFooter : public QLabel {
    Q_OBJECT

  public:
    explicit TotalsFooter(QWidget* p_pParent = nullptr);

    // The totals of p_oGrid's rows, of the columns it shows of cost, value and gain; hidden
    // when it shows none of them.
    void ShowTotals(const GridControl& p_oGrid);
};

// "Cost Basis 61,000.00    Market Value 98,131.20    Gain 37,131.25": the captions and totals of
// the total columns p_oGrid shows, empty when it shows none.
std::string TotalsText(const GridControl& p_oGrid);

}  // namespace qv
