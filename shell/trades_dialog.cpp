#include "shell/trades_dialog.h"

#include "outside/automation_error.h"
#include "outside/platform_context.h"
#include "outside/vb_date.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

const QStringList kColumns{QStringLiteral("Symbol"),     QStringLiteral("Buy date"),
                           QStringLiteral("Shares"),     QStringLiteral("Price"),
                           QStringLiteral("Commission"), QStringLiteral("Short"),
                           QStringLiteral("Sell date"),  QStringLiteral("Sell price")};

QStringList CellsOf(const Trade& p_oTrade) {
    const bool closed = p_oTrade.IsClosed();
    return {QString::fromStdString(p_oTrade.m_sSymbol),
            QString::fromStdString(IsoDateText(p_oTrade.m_lBuyDate)),
            QString::number(p_oTrade.m_dShares, 'f', 2),
            QString::number(p_oTrade.m_dInitialPrice, 'f', 2),
            QString::number(p_oTrade.m_dCommission, 'f', 2),
            p_oTrade.m_bShort ? QStringLiteral("Yes") : QStringLiteral("No"),
            closed ? QString::fromStdString(IsoDateText(p_oTrade.m_lSellDate)) : QString(),
            closed ? QString::number(p_oTrade.m_dSellPrice, 'f', 2) : QString()};
}

}  // namespace

TradesDialog::TradesDialog(int32_t p_lOwnerId, int32_t p_lPortfolioId, TradeMarket p_oMarket,
                           QWidget* p_pParent)
    : QDialog(p_pParent),
      m_lOwnerId(p_lOwnerId),
      m_lPortfolioId(p_lPortfolioId),
      m_oMarket(std::move(p_oMarket)) {
    setObjectName(QStringLiteral("tradesDialog"));
    setWindowTitle(QStringLiteral("Trades"));
    m_pTable = new QTableWidget(0, static_cast<int>(kColumns.size()), this);
    m_pTable->setObjectName(QStringLiteral("trades"));
    m_pTable->setHorizontalHeaderLabels(kColumns);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->verticalHeader()->setVisible(false);
    m_pStatus = new QLabel(this);
    m_pStatus->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](const char* p_sText, std::function<void()> p_fnClicked) {
        auto* button = new QPushButton(QString::fromUtf8(p_sText), this);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, std::move(p_fnClicked));
    };
    addButton("&New…", [this] { NewTrade(); });
    addButton("&Edit…", [this] { EditCurrent(false); });
    addButton("Close &trade…", [this] { EditCurrent(true); });
    addButton("&Delete", [this] { DeleteCurrent(); });
    buttons->addStretch(1);
    auto* done = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addWidget(done);
    connect(done, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pTable, &QTableWidget::cellDoubleClicked, this, [this] { EditCurrent(false); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTable, 1);
    layout->addWidget(m_pStatus);
    layout->addLayout(buttons);
    resize(720, 420);
    Read();
}

void TradesDialog::Read() {
    try {
        m_aTrades = ReadTrades(m_lOwnerId, m_lPortfolioId);
    } catch (const std::exception& error) {
        m_aTrades.clear();
        m_pStatus->setText(QStringLiteral("The trades were not read: ") +
                           QString::fromStdString(ErrorText(error)));
    }
    m_pTable->setRowCount(static_cast<int>(m_aTrades.size()));
    for (int row = 0; row < m_pTable->rowCount(); ++row) {
        const QStringList cells = CellsOf(m_aTrades[static_cast<size_t>(row)]);
        for (int column = 0; column < cells.size(); ++column) {
            m_pTable->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    if (!m_aTrades.empty()) {
        m_pTable->selectRow(0);
    }
}

const Trade* TradesDialog::Current() const {
    const int row = m_pTable->currentRow();
    if (row < 0 || row >= static_cast<int>(m_aTrades.size())) {
        return nullptr;
    }
    return &m_aTrades[static_cast<size_t>(row)];
}

bool TradesDialog::RunEditor(const Trade& p_oTrade) {
    TradeEditor editor(m_lOwnerId, m_lPortfolioId, p_oTrade, m_oMarket, this);
    if (editor.exec() != QDialog::Accepted) {
        return false;
    }
    m_pStatus->setText(
        QStringLiteral("Saved %1").arg(QString::fromStdString(editor.Saved().m_sSymbol)));
    Read();
    if (m_fnChanged) {
        m_fnChanged();
    }
    return true;
}

bool TradesDialog::NewTrade() {
    return RunEditor(Trade{});
}

bool TradesDialog::EditCurrent(bool p_bClose) {
    const Trade* current = Current();
    if (current == nullptr) {
        m_pStatus->setText(QStringLiteral("Choose a trade first"));
        return false;
    }
    Trade trade = *current;
    if (p_bClose && !trade.IsClosed()) {
        trade.m_lSellDate = m_oMarket.m_lLastDay;
    }
    return RunEditor(trade);
}

bool TradesDialog::DeleteCurrent() {
    const Trade* current = Current();
    if (current == nullptr) {
        m_pStatus->setText(QStringLiteral("Choose a trade first"));
        return false;
    }
    const std::string what = current->m_sSymbol + " bought " + IsoDateText(current->m_lBuyDate);
    if (MsgBox("Delete the trade in " + what + "?", vbYesNo, vbQuestion, "Delete Trade") != vbYes) {
        return false;
    }
    try {
        DeleteTrade(m_lOwnerId, *current);
    } catch (const std::exception& error) {
        m_pStatus->setText(QStringLiteral("Not deleted: ") +
                           QString::fromStdString(ErrorText(error)));
        return false;
    }
    m_pStatus->setText(QStringLiteral("Deleted the trade in ") + QString::fromStdString(what));
    Read();
    if (m_fnChanged) {
        m_fnChanged();
    }
    return true;
}

QString TradesDialog::StatusText() const {
    return m_pStatus->text();
}

}  // namespace qv
