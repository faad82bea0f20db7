#include "shell/trade_import_dialog.h"

#include "outside/automation_error.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "shell/portfolio_calls.h"

#include <QBrush>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

const QColor kErrorColor(0xb0, 0x00, 0x20);

}  // namespace

TradeImportDialog::TradeImportDialog(int32_t p_lOwnerId, int32_t p_lPortfolioId, std::string p_sCsv,
                                     QWidget* p_pParent)
    : QDialog(p_pParent),
      m_lOwnerId(p_lOwnerId),
      m_lPortfolioId(p_lPortfolioId),
      m_sCsv(std::move(p_sCsv)) {
    setObjectName(QStringLiteral("tradeImport"));
    setWindowTitle(QStringLiteral("Import Trades"));
    m_pTable = new QTableWidget(0, 4, this);
    m_pTable->setObjectName(QStringLiteral("importRows"));
    m_pTable->setHorizontalHeaderLabels({QStringLiteral("Row"), QStringLiteral("Symbol"),
                                         QStringLiteral("Status"), QStringLiteral("Reason")});
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    m_pTable->verticalHeader()->setVisible(false);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("importStatus"));
    m_pStatus->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_pImport = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    m_pImport->setObjectName(QStringLiteral("importTrades"));
    connect(m_pImport, &QPushButton::clicked, this, [this] { Import(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTable, 1);
    layout->addWidget(m_pStatus);
    layout->addWidget(buttons);
    resize(720, 420);

    m_pImport->setEnabled(false);
    std::shared_ptr<Recordset> rows;
    try {
        rows = ImportTrades(m_lOwnerId, m_lPortfolioId, m_sCsv, false);
    } catch (const std::exception& error) {
        m_pStatus->setText(QStringLiteral("The file cannot be imported: ") +
                           QString::fromStdString(ErrorText(error)));
        return;
    }
    const auto [ok, errors] = ShowRows(*rows);
    m_pImport->setEnabled(errors == 0 && ok > 0);
    if (errors > 0) {
        m_pStatus->setText(
            QStringLiteral("%1 rows are in error: correct the file and import it again")
                .arg(errors));
    } else {
        m_pStatus->setText(
            QStringLiteral("%1 of %2 rows are new trades").arg(ok).arg(m_pTable->rowCount()));
    }
}

std::pair<int32_t, int32_t> TradeImportDialog::ShowRows(Recordset& p_oRows) {
    int32_t ok = 0;
    int32_t errors = 0;
    m_pTable->setRowCount(0);
    if (p_oRows.RecordCount() == 0) {
        return {ok, errors};
    }
    for (p_oRows.MoveFirst(); !p_oRows.IsEOF(); p_oRows.MoveNext()) {
        const std::string status = p_oRows.Value("Status").ToString();
        const Variant reason = p_oRows.Value("Reason");
        const bool error = EqualsIgnoreCase(status, "error");
        errors += error ? 1 : 0;
        ok += EqualsIgnoreCase(status, "ok") ? 1 : 0;
        const int row = m_pTable->rowCount();
        m_pTable->insertRow(row);
        const QStringList cells{
            QString::number(p_oRows.Value("Row").ToLong()),
            QString::fromStdString(p_oRows.Value("Symbol").ToString()),
            QString::fromStdString(status),
            reason.IsNull() ? QString() : QString::fromStdString(reason.ToString())};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (error) {
                item->setForeground(QBrush(kErrorColor));
            }
            m_pTable->setItem(row, column, item);
        }
    }
    return {ok, errors};
}

bool TradeImportDialog::CanImport() const {
    return m_pImport->isEnabled();
}

bool TradeImportDialog::Import() {
    if (!CanImport()) {
        return false;
    }
    try {
        const std::shared_ptr<Recordset> rows =
            ImportTrades(m_lOwnerId, m_lPortfolioId, m_sCsv, true);
        const auto [ok, errors] = ShowRows(*rows);
        if (errors > 0) {
            m_pImport->setEnabled(false);
            m_pStatus->setText(
                QStringLiteral("Nothing was imported: %1 rows are in error").arg(errors));
            return false;
        }
        m_lAdded = ok;
    } catch (const std::exception& error) {
        m_pStatus->setText(QStringLiteral("Nothing was imported: ") +
                           QString::fromStdString(ErrorText(error)));
        return false;
    }
    m_pStatus->setText(QStringLiteral("Imported %1 trades").arg(m_lAdded));
    accept();
    return true;
}

QString TradeImportDialog::StatusText() const {
    return m_pStatus->text();
}

}  // namespace qv
