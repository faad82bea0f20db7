// The dividends page (the "DividendUrl" template's address): the dividends the pages component
// infers from each stock's prices, and the next date it estimates, which the page labels
// "estimate". A stock whose prices show no dividend has no rows, which the page says.
#pragma once

#include "shell/page_address.h"

#include <QWidget>

class QTableWidget;

namespace qv {

class DividendsPage : public QWidget {
  public:
    explicit DividendsPage(const PageRequest& p_oPage, QWidget* p_pParent = nullptr);

    // Null when the facade refused the stocks.
    QTableWidget* Table() const { return m_pTable; }

  private:
    QTableWidget* m_pTable = nullptr;
};

}  // namespace qv
