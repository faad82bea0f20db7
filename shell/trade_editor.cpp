#include "shell/trade_editor.h"

#include "outside/automation_error.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"
#include "shell/market_session.h"
#include "shell/panel_parts.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

std::string DayProblem(int32_t p_lDay, const TradeMarket& p_oMarket) {
    if (p_lDay > p_oMarket.m_lLastDay) {
        return "after the latest trading day, " + IsoDateText(p_oMarket.m_lLastDay);
    }
    if (p_lDay < p_oMarket.m_lFirstDay) {
        return "before the market's first day, " + IsoDateText(p_oMarket.m_lFirstDay);
    }
    if (p_oMarket.m_fnTradingDay(p_lDay) != p_lDay) {
        return "not a trading day";
    }
    return {};
}

std::string PositiveProblem(double p_dValue) {
    return p_dValue > 0 ? std::string() : std::string("must be more than 0");
}

std::string PercentProblem(double p_dValue) {
    return p_dValue >= 0 && p_dValue <= 100 ? std::string() : std::string("must be 0 to 100");
}

QDoubleSpinBox* NewAmount(QWidget* p_pParent, const char* p_sName, int p_lDecimals,
                          double p_dMaximum) {
    auto* box = new QDoubleSpinBox(p_pParent);
    box->setObjectName(QString::fromLatin1(p_sName));
    box->setDecimals(p_lDecimals);
    box->setRange(0, p_dMaximum);
    return box;
}

QDateEdit* NewDay(QWidget* p_pParent, const char* p_sName) {
    auto* edit = new QDateEdit(p_pParent);
    edit->setObjectName(QString::fromLatin1(p_sName));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return edit;
}

int32_t DayOf(const QDateEdit& p_oEdit) {
    return static_cast<int32_t>(SerialOfQDate(p_oEdit.date()));
}

}  // namespace

TradeMarket TradeMarketOf(const MarketSession& p_oSession) {
    return {[&p_oSession](const std::string& p_sSymbol) { return p_oSession.HasStock(p_sSymbol); },
            p_oSession.FirstDay(), p_oSession.LastDay(),
            [&p_oSession](int32_t p_lDay) { return p_oSession.TradingDayOnOrBefore(p_lDay); }};
}

TradeProblems CheckTrade(const Trade& p_oTrade, const TradeMarket& p_oMarket) {
    TradeProblems problems;
    const std::string_view symbol = TrimWhitespace(p_oTrade.m_sSymbol);
    if (symbol.empty()) {
        problems[tfSymbol] = "enter the stock's symbol";
    } else if (!p_oMarket.m_fnKnown(std::string(symbol))) {
        problems[tfSymbol] = "no stock with the symbol " + std::string(symbol);
    }
    problems[tfBuyDate] = DayProblem(p_oTrade.m_lBuyDate, p_oMarket);
    problems[tfShares] = PositiveProblem(p_oTrade.m_dShares);
    problems[tfPrice] = PositiveProblem(p_oTrade.m_dInitialPrice);
    if (p_oTrade.m_dCommission < 0) {
        problems[tfCommission] = "cannot be negative";
    }
    problems[tfInitialReq] = PercentProblem(p_oTrade.m_dInitialReq);
    problems[tfMaintenance] = PercentProblem(p_oTrade.m_dMaintenancePercent);
    if (!p_oTrade.IsClosed()) {
        return problems;
    }
    problems[tfSellDate] = p_oTrade.m_lSellDate < p_oTrade.m_lBuyDate
                               ? "before the buy date"
                               : DayProblem(p_oTrade.m_lSellDate, p_oMarket);
    problems[tfSellPrice] = PositiveProblem(p_oTrade.m_dSellPrice);
    return problems;
}

TradeEditor::TradeEditor(int32_t p_lOwnerId, int32_t p_lPortfolioId, const Trade& p_oTrade,
                         TradeMarket p_oMarket, QWidget* p_pParent)
    : QDialog(p_pParent),
      m_lOwnerId(p_lOwnerId),
      m_lPortfolioId(p_lPortfolioId),
      m_oTrade(p_oTrade),
      m_oMarket(std::move(p_oMarket)) {
    setObjectName(QStringLiteral("tradeEditor"));
    setWindowTitle(p_oTrade.m_lTradeId > 0 ? QStringLiteral("Edit Trade")
                                           : QStringLiteral("New Trade"));
    Build();
    Show(p_oTrade);
}

void TradeEditor::Build() {
    m_pSymbol = new QLineEdit(this);
    m_pSymbol->setObjectName(QStringLiteral("symbol"));
    m_pBuyDate = NewDay(this, "buyDate");
    m_pShares = NewAmount(this, "shares", 4, 1e9);
    m_pPrice = NewAmount(this, "price", 4, 1e7);
    m_pCommission = NewAmount(this, "commission", 2, 1e6);
    m_pShort = new QCheckBox(QStringLiteral("S&hort"), this);
    m_pInitialReq = NewAmount(this, "initialReq", 2, 100);
    m_pMaintenance = NewAmount(this, "maintenance", 2, 100);
    m_pClosed = new QCheckBox(QStringLiteral("&Closed"), this);
    m_pClosed->setObjectName(QStringLiteral("closed"));
    m_pSellDate = NewDay(this, "sellDate");
    m_pSellPrice = NewAmount(this, "sellPrice", 4, 1e7);
    for (QLabel*& reason : m_aReasons) {
        reason = new QLabel(this);
        reason->setStyleSheet(QStringLiteral("color: #b00020"));
    }

    auto* form = new QFormLayout;
    const auto addRow = [&](const char* p_sLabel, QWidget* p_pField, int p_lField) {
        auto* row = new QHBoxLayout;
        row->addWidget(p_pField);
        if (p_lField >= 0) {
            row->addWidget(m_aReasons[static_cast<size_t>(p_lField)], 1);
        } else {
            row->addStretch(1);
        }
        auto* label = new QLabel(QString::fromUtf8(p_sLabel), this);
        label->setBuddy(p_pField);
        form->addRow(label, row);
    };
    addRow("&Symbol", m_pSymbol, tfSymbol);
    addRow("&Buy date", m_pBuyDate, tfBuyDate);
    addRow("S&hares", m_pShares, tfShares);
    addRow("&Price", m_pPrice, tfPrice);
    addRow("C&ommission", m_pCommission, tfCommission);
    addRow("", m_pShort, -1);
    addRow("&Initial req %", m_pInitialReq, tfInitialReq);
    addRow("&Maintenance %", m_pMaintenance, tfMaintenance);
    addRow("", m_pClosed, -1);
    addRow("Se&ll date", m_pSellDate, tfSellDate);
    addRow("Sell p&rice", m_pSellPrice, tfSellPrice);

    m_pStatus = new QLabel(this);
    m_pStatus->setObjectName(QStringLiteral("tradeStatus"));
    m_pStatus->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    m_pSave = buttons->button(QDialogButtonBox::Save);
    m_pReload = buttons->addButton(QStringLiteral("&Reload"), QDialogButtonBox::ResetRole);
    m_pReload->setObjectName(QStringLiteral("reloadTrade"));
    m_pReload->setVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_pStatus);
    layout->addWidget(buttons);

    connect(m_pSave, &QPushButton::clicked, this, [this] { Save(); });
    connect(m_pReload, &QPushButton::clicked, this, [this] { Reload(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pSymbol, &QLineEdit::textEdited, this, [this](const QString& p_sText) {
        const int cursor = m_pSymbol->cursorPosition();
        m_pSymbol->setText(p_sText.toUpper());
        m_pSymbol->setCursorPosition(cursor);
    });
    connect(m_pSymbol, &QLineEdit::textChanged, this, [this] { Check(); });
    for (QDateEdit* edit : {m_pBuyDate, m_pSellDate}) {
        connect(edit, &QDateEdit::dateChanged, this, [this] { Check(); });
    }
    for (QDoubleSpinBox* box :
         {m_pShares, m_pPrice, m_pCommission, m_pInitialReq, m_pMaintenance, m_pSellPrice}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { Check(); });
    }
    connect(m_pClosed, &QCheckBox::toggled, this, [this] { Check(); });
}

void TradeEditor::Show(const Trade& p_oTrade) {
    const int32_t latest = m_oMarket.m_lLastDay;
    m_pSymbol->setText(QString::fromStdString(p_oTrade.m_sSymbol));
    m_pBuyDate->setDate(QDateOfSerial(p_oTrade.m_lBuyDate != 0 ? p_oTrade.m_lBuyDate : latest));
    m_pShares->setValue(p_oTrade.m_dShares);
    m_pPrice->setValue(p_oTrade.m_dInitialPrice);
    m_pCommission->setValue(p_oTrade.m_dCommission);
    m_pShort->setChecked(p_oTrade.m_bShort);
    m_pInitialReq->setValue(p_oTrade.m_dInitialReq);
    m_pMaintenance->setValue(p_oTrade.m_dMaintenancePercent);
    m_pClosed->setChecked(p_oTrade.IsClosed());
    m_pSellDate->setDate(QDateOfSerial(p_oTrade.IsClosed() ? p_oTrade.m_lSellDate : latest));
    m_pSellPrice->setValue(p_oTrade.m_dSellPrice);
    Check();
}

Trade TradeEditor::Entered() const {
    Trade trade = m_oTrade;
    trade.m_sSymbol = std::string(TrimWhitespace(m_pSymbol->text().toUpper().toStdString()));
    trade.m_lBuyDate = DayOf(*m_pBuyDate);
    trade.m_dShares = m_pShares->value();
    trade.m_dInitialPrice = m_pPrice->value();
    trade.m_dCommission = m_pCommission->value();
    trade.m_bShort = m_pShort->isChecked();
    trade.m_dInitialReq = m_pInitialReq->value();
    trade.m_dMaintenancePercent = m_pMaintenance->value();
    trade.m_lSellDate = m_pClosed->isChecked() ? DayOf(*m_pSellDate) : 0;
    trade.m_dSellPrice = m_pClosed->isChecked() ? m_pSellPrice->value() : 0;
    return trade;
}

void TradeEditor::Check() {
    const TradeProblems problems = CheckTrade(Entered(), m_oMarket);
    for (size_t field = 0; field < problems.size(); ++field) {
        m_aReasons[field]->setText(QString::fromStdString(problems[field]));
    }
    m_pSellDate->setEnabled(m_pClosed->isChecked());
    m_pSellPrice->setEnabled(m_pClosed->isChecked());
    m_pSave->setEnabled(std::all_of(problems.begin(), problems.end(),
                                    [](const std::string& p_sText) { return p_sText.empty(); }));
}

bool TradeEditor::CanSave() const {
    return m_pSave->isEnabled();
}

QString TradeEditor::Reason(TradeField p_eField) const {
    return m_aReasons[static_cast<size_t>(p_eField)]->text();
}

QString TradeEditor::StatusText() const {
    return m_pStatus->text();
}

bool TradeEditor::Save() {
    if (!CanSave()) {
        return false;
    }
    Trade trade = Entered();
    try {
        SaveTrade(m_lOwnerId, m_lPortfolioId, trade);
    } catch (const std::exception& error) {
        const std::string text = ErrorText(error);
        const bool changed = text.find("changed elsewhere") != std::string::npos;
        m_pStatus->setText(
            QStringLiteral("Not saved: ") + QString::fromStdString(text) +
            (changed ? QStringLiteral(" (Reload shows it as it is now)") : QString()));
        m_pReload->setVisible(changed);
        return false;
    }
    m_oTrade = trade;
    m_pStatus->setText(QStringLiteral("Saved"));
    accept();
    return true;
}

bool TradeEditor::Reload() {
    try {
        for (const Trade& stored : ReadTrades(m_lOwnerId, m_lPortfolioId)) {
            if (stored.m_lTradeId == m_oTrade.m_lTradeId) {
                m_oTrade = stored;
                Show(stored);
                m_pReload->setVisible(false);
                m_pStatus->setText(QStringLiteral("Read again: the trade as it is stored now"));
                return true;
            }
        }
        m_pStatus->setText(QStringLiteral("The trade is no longer in the portfolio"));
    } catch (const std::exception& error) {
        m_pStatus->setText(QStringLiteral("Not read: ") + QString::fromStdString(ErrorText(error)));
    }
    return false;
}

}  // namespace qv
