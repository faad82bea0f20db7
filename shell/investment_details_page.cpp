#include "shell/investment_details_page.h"

#include "outside/automation_error.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "outside/vb_date.h"
#include "shell/chart_pages.h"
#include "shell/chart_parts.h"
#include "shell/chart_series.h"
#include "shell/page_views.h"

#include <QFormLayout>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace qv {

namespace call = facade_protocol::investment_details;

namespace {

constexpr int kLinesHeight = 300;

QString Money(const Variant& p_vValue) {
    const double value = FigureOf(p_vValue);
    return std::isnan(value) ? QString() : QString::number(value, 'f', 2);
}

QString Day(const Variant& p_vValue) {
    return p_vValue.IsNull() || p_vValue.IsEmpty()
               ? QString()
               : QString::fromStdString(IsoDateText(static_cast<int32_t>(p_vValue.ToDate())));
}

struct Totals {
    double m_dCost = 0;
    double m_dValue = 0;
    double m_dRealized = 0;
    double m_dUnrealized = 0;
};

double Added(const Variant& p_vValue) {
    const double value = FigureOf(p_vValue);
    return std::isnan(value) ? 0 : value;
}

QTableWidget* NewTradesTable(Recordset& p_oTrades, Totals& p_oTotals, QWidget* p_pParent) {
    QTableWidget* table =
        NewPageTable({QStringLiteral("Bought"), QStringLiteral("Shares"), QStringLiteral("Price"),
                      QStringLiteral("Short"), QStringLiteral("Sold"), QStringLiteral("Sell price"),
                      QStringLiteral("Cost"), QStringLiteral("Value"),
                      QStringLiteral("Realised gain"), QStringLiteral("Unrealised gain")},
                     p_oTrades.RecordCount(), p_pParent);
    table->setObjectName(QStringLiteral("investmentTrades"));
    if (p_oTrades.RecordCount() == 0) {
        return table;
    }
    int row = 0;
    for (p_oTrades.MoveFirst(); !p_oTrades.IsEOF(); p_oTrades.MoveNext(), ++row) {
        const std::array<QString, 10> cells{
            Day(p_oTrades.Value("BuyDate")),
            QString::number(FigureOf(p_oTrades.Value("Shares")), 'f', 2),
            Money(p_oTrades.Value("InitialPrice")),
            p_oTrades.Value("Short").ToBool() ? QStringLiteral("Yes") : QStringLiteral("No"),
            Day(p_oTrades.Value("SellDate")),
            Money(p_oTrades.Value("SellPrice")),
            Money(p_oTrades.Value("Cost")),
            Money(p_oTrades.Value("Value")),
            Money(p_oTrades.Value("RealizedGain")),
            Money(p_oTrades.Value("UnrealizedGain"))};
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            auto* item = new QTableWidgetItem(cells[static_cast<size_t>(column)]);
            if (column != 0 && column != 3 && column != 4) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table->setItem(row, column, item);
        }
        p_oTotals.m_dCost += Added(p_oTrades.Value("Cost"));
        p_oTotals.m_dValue += Added(p_oTrades.Value("Value"));
        p_oTotals.m_dRealized += Added(p_oTrades.Value("RealizedGain"));
        p_oTotals.m_dUnrealized += Added(p_oTrades.Value("UnrealizedGain"));
    }
    table->resizeColumnsToContents();
    table->setMinimumHeight(std::min(300, 40 + 30 * p_oTrades.RecordCount()));
    return table;
}

}  // namespace

InvestmentDetailsPage::InvestmentDetailsPage(const HoldingChoice& p_oHolding, QWidget* p_pParent)
    : QWidget(p_pParent) {
    setObjectName(QStringLiteral("investmentDetailsPage"));
    const QString symbol = QString::fromStdString(p_oHolding.m_sSymbol);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewPageHeading(QStringLiteral("Investment details: ") + symbol, this));
    std::array<Variant, call::kCount> args{
        Variant(p_oHolding.m_lOwnerId), Variant(p_oHolding.m_lPortfolioId),
        Variant(p_oHolding.m_sSymbol), Variant::Date(static_cast<double>(p_oHolding.m_lDate)),
        Variant::Nothing()};
    std::shared_ptr<Recordset> trades;
    QString problem;
    try {
        trades = ExpectRecordset(CallPages(call::kMethod, args), "the holding's trades");
        if (trades->RecordCount() == 0) {
            problem = QStringLiteral("The portfolio holds no trades in %1.").arg(symbol);
        }
    } catch (const std::exception& error) {
        problem = QStringLiteral("The holding's details cannot be shown: ") +
                  QString::fromStdString(ErrorText(error));
    }
    if (!problem.isEmpty()) {
        QLabel* text = NewPageText(problem, this);
        text->setObjectName(QStringLiteral("investmentProblem"));
        layout->addWidget(text);
        layout->addStretch();
        return;
    }
    layout->addWidget(
        NewPageText(QStringLiteral("The trades of %1 in the portfolio, valued at the close of %2.")
                        .arg(symbol, DayText(p_oHolding.m_lDate)),
                    this));
    Totals totals;
    m_pTrades = NewTradesTable(*trades, totals, this);
    auto* summary = new QFormLayout;
    summary->addRow(QStringLiteral("Cost"),
                    NewPageText(QString::number(totals.m_dCost, 'f', 2), this));
    summary->addRow(QStringLiteral("Value"),
                    NewPageText(QString::number(totals.m_dValue, 'f', 2), this));
    summary->addRow(QStringLiteral("Realised gain"),
                    NewPageText(QString::number(totals.m_dRealized, 'f', 2), this));
    summary->addRow(QStringLiteral("Unrealised gain"),
                    NewPageText(QString::number(totals.m_dUnrealized, 'f', 2), this));
    layout->addLayout(summary);
    const std::shared_ptr<Recordset> lines = RecordsetOf(args[call::kLines.Position]);
    if (lines && lines->RecordCount() > 0) {
        m_pLines = NewHeldAndMarketView(
            *lines, "Value", symbol,
            QStringLiteral("Value of %1 and the market from the same start").arg(symbol), this);
        m_pLines->setMinimumHeight(kLinesHeight);
        layout->addWidget(m_pLines, 1);
    }
    layout->addWidget(m_pTrades);
}

}  // namespace qv
