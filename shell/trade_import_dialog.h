// Trades from a CSV file into a portfolio, previewed first: one row per data row of the file with
// its status and reason, the rows in error in red. Import is offered only when no row is in
// error, and adds the "ok" rows in one go ("ImportTrades" with Commit True); rows equal to trades
// already held are left out and said so.
//
//     TradeImportDialog import(ownerId, portfolioId, csvText, this);
//     if (import.exec() == QDialog::Accepted) { ... import.Added() trades ... }
#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;

namespace qv {

class Recordset;

class TradeImportDialog : public QDialog {
  public:
    TradeImportDialog(int32_t p_lOwnerId, int32_t p_lPortfolioId, std::string p_sCsv,
                      QWidget* p_pParent = nullptr);

    bool CanImport() const;
    // As Import does; true, and the dialog accepted, when the trades were added.
    bool Import();
    int32_t Added() const { return m_lAdded; }
    QTableWidget& Table() const { return *m_pTable; }
    QString StatusText() const;

  private:
    // Shows the rows; returns how many are "ok" and how many in error.
    std::pair<int32_t, int32_t> ShowRows(Recordset& p_oRows);

    int32_t m_lOwnerId;
    int32_t m_lPortfolioId;
    std::string m_sCsv;
    int32_t m_lAdded = 0;
    QTableWidget* m_pTable = nullptr;
    QLabel* m_pStatus = nullptr;
    QPushButton* m_pImport = nullptr;
};

}  // namespace qv
