#include "shell/option_price_page.h"

#include "outside/automation_error.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "shell/chart_parts.h"
#include "shell/chart_series.h"
#include "shell/page_views.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace qv {

namespace call = facade_protocol::option_price;

namespace {

constexpr int kStartDays = 30;
constexpr double kStartRate = 4.0;

struct FigureRow {
    const char* m_sField;
    const char* m_sCaption;
    int m_iDecimals;
};

constexpr std::array<FigureRow, 8> kFigureRows = {{
    {"CallPrice", "Call price", 2},
    {"PutPrice", "Put price", 2},
    {"CallDelta", "Call delta", 4},
    {"PutDelta", "Put delta", 4},
    {"Gamma", "Gamma", 4},
    {"Vega", "Vega (per point of volatility)", 4},
    {"CallTheta", "Call theta (per day)", 4},
    {"PutTheta", "Put theta (per day)", 4},
}};

QDoubleSpinBox* NewNumberBox(double p_dLow, double p_dHigh, int p_iDecimals, const QString& p_sName,
                             QWidget* p_pParent) {
    auto* box = new QDoubleSpinBox(p_pParent);
    box->setRange(p_dLow, p_dHigh);
    box->setDecimals(p_iDecimals);
    box->setObjectName(p_sName);
    box->setKeyboardTracking(false);
    return box;
}

}  // namespace

OptionPricePage::OptionPricePage(const PageRequest& p_oPage, QWidget* p_pParent)
    : QWidget(p_pParent), m_oPage(p_oPage) {
    setObjectName(QStringLiteral("optionPricePage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewPageHeading(QString::fromStdString(PageKindName(p_oPage.m_eKind)), this));
    m_pBasis = NewPageText(QString(), this);
    layout->addWidget(m_pBasis);
    auto* inputs = new QFormLayout;
    inputs->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_pStrike = NewNumberBox(0.01, 1e7, 2, QStringLiteral("optionStrike"), this);
    m_pDays = new QSpinBox(this);
    m_pDays->setRange(1, 3650);
    m_pDays->setValue(kStartDays);
    m_pDays->setObjectName(QStringLiteral("optionDays"));
    m_pDays->setKeyboardTracking(false);
    m_pRate = NewNumberBox(-5, 50, 2, QStringLiteral("optionRate"), this);
    m_pRate->setValue(kStartRate);
    m_pRate->setSuffix(QStringLiteral(" %"));
    m_pVolatility = NewNumberBox(0.1, 500, 2, QStringLiteral("optionVolatility"), this);
    m_pVolatility->setSuffix(QStringLiteral(" %"));
    inputs->addRow(QStringLiteral("Strike"), m_pStrike);
    inputs->addRow(QStringLiteral("Days to expiry"), m_pDays);
    inputs->addRow(QStringLiteral("Interest rate (a year)"), m_pRate);
    inputs->addRow(QStringLiteral("Volatility (a year)"), m_pVolatility);
    layout->addLayout(inputs);
    auto* results = new QFormLayout;
    for (size_t i = 0; i < kFigureRows.size(); ++i) {
        m_figures[i] = NewPageText(QString(), this);
        results->addRow(QString::fromLatin1(kFigureRows[i].m_sCaption), m_figures[i]);
    }
    layout->addLayout(results);
    m_pProblem = NewPageText(QString(), this);
    m_pProblem->setObjectName(QStringLiteral("optionProblem"));
    m_pProblem->setStyleSheet(QStringLiteral("color: #b00020"));
    layout->addWidget(m_pProblem);
    layout->addWidget(NewPageText(
        QStringLiteral("Black-Scholes prices of European options; dividends are not taken into "
                       "account, so an option on a stock that pays them is priced too high "
                       "(calls) or too low (puts)."),
        this));
    layout->addStretch();
    const auto reprice = [this] { Price(false); };
    connect(m_pStrike, &QDoubleSpinBox::valueChanged, this, reprice);
    connect(m_pDays, &QSpinBox::valueChanged, this, reprice);
    connect(m_pRate, &QDoubleSpinBox::valueChanged, this, reprice);
    connect(m_pVolatility, &QDoubleSpinBox::valueChanged, this, reprice);
    Price(true);
}

QString OptionPricePage::Figure(const char* p_sField) const {
    for (size_t i = 0; i < kFigureRows.size(); ++i) {
        if (std::string_view(kFigureRows[i].m_sField) == p_sField) {
            return m_figures[i]->text();
        }
    }
    return {};
}

void OptionPricePage::Price(bool p_bFirst) {
    std::array<Variant, call::kCount> args{Variant(m_oPage.m_codes.front()),
                                           DayArgument(m_oPage.m_lDate),
                                           p_bFirst ? Variant() : Variant(m_pStrike->value()),
                                           Variant(m_pDays->value()),
                                           Variant(m_pRate->value()),
                                           p_bFirst ? Variant() : Variant(m_pVolatility->value())};
    std::shared_ptr<Recordset> row;
    try {
        row = RecordsetOf(CallPages(call::kMethod, args));
    } catch (const AutomationError& error) {
        m_sProblem = QStringLiteral("The option cannot be priced: ") +
                     QString::fromStdString(error.Description());
        m_pProblem->setText(m_sProblem);
        for (QLabel* figure : m_figures) {
            figure->clear();
        }
        return;
    }
    m_sProblem.clear();
    m_pProblem->clear();
    if (p_bFirst) {
        const QSignalBlocker strike(m_pStrike);
        const QSignalBlocker volatility(m_pVolatility);
        m_pStrike->setValue(FigureOf(row->Value("Strike")));
        m_pVolatility->setValue(FigureOf(row->Value("Volatility")));
        const double history = FigureOf(row->Value("HistVolatility"));
        m_pBasis->setText(
            QStringLiteral("%1 closed at %2 on %3; its volatility over the last year was %4 %.")
                .arg(QString::fromStdString(row->Value("Symbol").ToString()),
                     QString::number(FigureOf(row->Value("Close")), 'f', 2),
                     DayText(static_cast<int32_t>(row->Value("TradeDate").ToDate())),
                     std::isnan(history) ? QStringLiteral("n/a")
                                         : QString::number(history, 'f', 2)));
    }
    for (size_t i = 0; i < kFigureRows.size(); ++i) {
        m_figures[i]->setText(QString::number(FigureOf(row->Value(kFigureRows[i].m_sField)), 'f',
                                              kFigureRows[i].m_iDecimals));
    }
}

}  // namespace qv
