// The quick test page ("QuickTest.asp?..."): the pages component's test of the chosen stocks,
// industry groups or sectors, bought in equal amounts on the first day and held to the last,
// against the market bought the same way. The page shows the summary (total and annualised
// return, maximum drawdown, volatility, best and worst member), the portfolio and market lines,
// and a row per member. What the facade refuses (no codes, unknown codes, no prices in range)
// is said on the page in the facade's words.
#pragma once

#include "shell/page_address.h"

#include <QWidget>

class QTableWidget;

namespace qv {

class ChartView;

class QuickTestPage : public QWidget {
  public:
    // What a start before the market's first day gives: the facade's refusal, or a test from
    // that first day (for a range a person picked by its length).
    enum class StartBefore { Refused, FirstDay };

    explicit QuickTestPage(const PageRequest& p_oPage, QWidget* p_pParent = nullptr,
                           StartBefore p_eStartBefore = StartBefore::Refused);

    // Null when the facade refused the test.
    ChartView* Lines() const { return m_pLines; }
    QTableWidget* Members() const { return m_pMembers; }

  private:
    ChartView* m_pLines = nullptr;
    QTableWidget* m_pMembers = nullptr;
};

}  // namespace qv
