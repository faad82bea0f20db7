#include "shell/chart_page.h"

#include "outside/automation_error.h"
#include "outside/facade_protocol.h"
#include "shell/chart_pages.h"
#include "shell/chart_parts.h"
#include "shell/page_views.h"

#include <QButtonGroup>
#include <QChart>
#include <QCheckBox>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <array>
#include <cmath>

namespace qv {

namespace kinds = facade_protocol::page_kind;

namespace {

struct RangeButton {
    ChartRange m_eRange;
    const char* m_sCaption;
    int32_t m_lDays;
};

constexpr std::array<RangeButton, 4> kRanges = {{
    {ChartRange::ThreeMonths, "3M", 91},
    {ChartRange::SixMonths, "6M", 182},
    {ChartRange::OneYear, "1Y", 365},
    {ChartRange::ThreeYears, "3Y", 1096},
}};

// Lines of several codes, in turn.
constexpr std::array<QRgb, 8> kPalette = {0x1f77b4, 0xd62728, 0x2ca02c, 0x9467bd,
                                          0xff7f0e, 0x17becf, 0x8c564b, 0xe377c2};
const QColor kPriceColor(0x1f, 0x4e, 0x9c);
const QColor kAverage50(0xe0, 0x8a, 0x00);
const QColor kAverage200(0xb0, 0x20, 0x20);
const QColor kStrengthColor(0x2a, 0x8a, 0x3a);

const QString kHowToRead = QStringLiteral(
    "Point at the chart to read a day's values. The wheel or a drag zooms, a right "
    "click zooms out, a middle drag or the arrow keys pan.");

// Each pane's share of the height, and its least height; a page drawn small (a PNG of a size
// given) still has its size.
constexpr int kPriceHeight = 340;
constexpr double kMillion = 1e6;
constexpr int kStrengthHeight = 150;
// The share of the price pane's height under the lines, where the volume bars stand.
constexpr double kVolumeShare = 0.22;

QString Subject(const PageRequest& p_oPage) {
    return QStringLiteral("Of %1%2.")
        .arg(PageSubject(p_oPage),
             p_oPage.m_bAdvanced ? QStringLiteral(", in the advanced edition") : QString());
}

// What the lines are, as the facade makes them.
QString Basis(const PageRequest& p_oPage) {
    QString basis = ChartKindOf(p_oPage.m_eKind) == kinds::kStocks
                        ? QStringLiteral(
                              "Prices are adjusted closes: splits and dividends are taken out, so "
                              "that neither shows as a fall.")
                        : QStringLiteral(
                              "Industry and sector lines are equal-weight indexes computed by the "
                              "facade: each day's average return of the members, chained from "
                              "100 on the group's first day.");
    if (p_oPage.m_codes.size() > 1) {
        basis += QStringLiteral(" Each line is taken as 100 on the first day shown.");
    }
    if (p_oPage.m_bAdvanced) {
        basis += QStringLiteral(
            " Relative strength: the line against the equal-weight market, both 100 on the first "
            "day.");
    }
    return basis;
}

QChart* NewChart() {
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    return chart;
}

// p_dRoomBelow: the share of the height left under the lines, for the volume bars.
QAbstractAxis* NewValueAxis(const std::vector<QLineSeries*>& p_lines, bool p_bLog,
                            double p_dRoomBelow = 0) {
    auto [low, high] = ValueRange(p_lines, p_bLog);
    const double below = p_dRoomBelow / (1 - p_dRoomBelow);
    low = p_bLog ? low / std::pow(high / low, below) : low - (high - low) * below;
    if (p_bLog) {
        auto* axis = new QLogValueAxis;
        axis->setBase(10);
        axis->setMinorTickCount(8);
        axis->setLabelFormat(QStringLiteral("%.4g"));
        axis->setRange(low, high);
        return axis;
    }
    auto* axis = new QValueAxis;
    axis->setRange(low, high);
    axis->setLabelFormat(QStringLiteral("%.4g"));
    axis->applyNiceNumbers();
    return axis;
}

// The first value of a line, by which several lines are taken as 100.
double FirstValue(const ChartLine& p_oLine) {
    for (const ChartPoint& point : p_oLine.m_points) {
        if (!std::isnan(point.m_dValue) && point.m_dValue != 0) {
            return point.m_dValue;
        }
    }
    return kNoFigure;
}

// Each day's volume in millions, for the bars under the price line.
std::vector<QPointF> VolumesOf(const ChartLine& p_oLine) {
    std::vector<QPointF> volumes;
    volumes.reserve(p_oLine.m_points.size());
    for (const ChartPoint& point : p_oLine.m_points) {
        if (!std::isnan(point.m_dVolume)) {
            volumes.emplace_back(DayPosition(point.m_lDay), point.m_dVolume / kMillion);
        }
    }
    return volumes;
}

}  // namespace

int32_t ChartKindOf(PageKind p_eKind) {
    switch (p_eKind) {
        case PageKind::StockGraph:
            return kinds::kStocks;
        case PageKind::IndustryGraph:
            return kinds::kIndustries;
        case PageKind::SectorGraph:
            return kinds::kSectors;
        default:
            return -1;
    }
}

int32_t DaysOf(ChartRange p_eRange) {
    for (const RangeButton& button : kRanges) {
        if (button.m_eRange == p_eRange) {
            return button.m_lDays;
        }
    }
    return kRanges.back().m_lDays;
}

QHBoxLayout* NewRangeBar(QWidget* p_pPage, ChartRange p_eChecked,
                         const std::function<void(ChartRange)>& p_fnShow) {
    auto* bar = new QHBoxLayout;
    auto* group = new QButtonGroup(p_pPage);
    for (const RangeButton& range : kRanges) {
        auto* button = new QPushButton(QString::fromLatin1(range.m_sCaption), p_pPage);
        button->setObjectName(QStringLiteral("range") + QString::fromLatin1(range.m_sCaption));
        button->setCheckable(true);
        button->setChecked(range.m_eRange == p_eChecked);
        // Four buttons of two letters fit a narrow page dock.
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("3M")) * 2);
        group->addButton(button);
        QObject::connect(button, &QPushButton::clicked, p_pPage,
                         [p_fnShow, range] { p_fnShow(range.m_eRange); });
        bar->addWidget(button);
    }
    return bar;
}

ChartQuery ChartQueryOf(const PageRequest& p_oPage, ChartRange p_eRange, int32_t p_lLast) {
    ChartQuery query;
    query.m_lKind = ChartKindOf(p_oPage.m_eKind);
    query.m_codes = p_oPage.m_codes;
    query.m_lLast = p_lLast;
    query.m_lFirst = p_lLast == 0 ? 0 : p_lLast - DaysOf(p_eRange);
    query.m_bAdvanced = p_oPage.m_bAdvanced && p_oPage.m_codes.size() == 1;
    return query;
}

ChartPage::ChartPage(const PageRequest& p_oPage, ChartRange p_eRange, QWidget* p_pParent)
    : QWidget(p_pParent), m_oPage(p_oPage), m_eRange(p_eRange), m_pPaneLayout(new QVBoxLayout) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewPageHeading(QString::fromStdString(PageKindName(p_oPage.m_eKind)), this));
    layout->addWidget(NewPageText(Subject(p_oPage) + QLatin1Char(' ') + Basis(p_oPage), this));
    // Not selectable: it changes as the mouse moves to select it.
    m_pReadout = new QLabel(kHowToRead, this);
    m_pReadout->setWordWrap(true);
    m_pReadout->setTextFormat(Qt::PlainText);
    setObjectName(QStringLiteral("chartPage"));
    m_pReadout->setObjectName(QStringLiteral("chartReadout"));
    QHBoxLayout* bar =
        NewRangeBar(this, p_eRange, [this](ChartRange p_eShown) { ShowRange(p_eShown); });
    if (ChartQueryOf(p_oPage, p_eRange, 0).m_bAdvanced) {
        m_pLog = new QCheckBox(QStringLiteral("Log scale"), this);
        m_pLog->setObjectName(QStringLiteral("logScale"));
        connect(m_pLog, &QCheckBox::toggled, this, [this](bool p_bLog) { SetLogScale(p_bLog); });
        bar->addWidget(m_pLog);
    }
    bar->addStretch();

    layout->addLayout(bar);
    layout->addWidget(m_pReadout);
    layout->addLayout(m_pPaneLayout, 1);
    Load();
}

void ChartPage::ShowRange(ChartRange p_eRange) {
    m_eRange = p_eRange;
    Load();
}

void ChartPage::SetLogScale(bool p_bLog) {
    m_bLog = p_bLog;
    if (m_pLog != nullptr && m_pLog->isChecked() != p_bLog) {
        m_pLog->setChecked(p_bLog);
    }
    Draw();
}

// The ranges end on the page's day (the facade reads it as the trading day on or before it), or
// without one on the latest trading day, which costs a call of its own. A range reaching back
// before the market's first day is refused by the facade; it then starts on that first day.
void ChartPage::Load() {
    m_lines.clear();
    try {
        if (m_lLast == 0) {
            m_lLast = m_oPage.m_lDate != 0
                          ? m_oPage.m_lDate
                          : TradingDayOf(ChartQueryOf(m_oPage, m_eRange, 0), m_oPage.m_lDate);
        }
        ChartQuery query = ChartQueryOf(m_oPage, m_eRange, m_lLast);
        try {
            m_lines = ReadChartSeries(query);
        } catch (const AutomationError&) {
            query.m_lFirst = 0;
            m_lines = ReadChartSeries(query);
        }
        m_sProblem.clear();
        m_pReadout->setText(kHowToRead);
    } catch (const AutomationError& error) {
        // Without a graph there is nothing to read out: the line says why instead.
        m_sProblem = QStringLiteral("The graph cannot be drawn: ") +
                     QString::fromStdString(error.Description());
        m_pReadout->setText(m_sProblem);
    }
    Draw();
}

void ChartPage::ClearPanes() {
    for (ChartView* pane : m_panes) {
        delete pane;
    }
    m_panes.clear();
}

void ChartPage::AddPane(ChartView* p_pPane, int p_iHeight) {
    p_pPane->setMinimumHeight(p_iHeight / 3);
    m_pPaneLayout->addWidget(p_pPane, p_iHeight);
    m_panes.push_back(p_pPane);
}

void ChartPage::Draw() {
    ClearPanes();
    if (m_lines.empty()) {
        return;
    }
    if (m_lines.size() > 1) {
        AddPane(NewComparisonPane(), kPriceHeight);
        return;
    }
    AddPane(NewPricePane(), kPriceHeight);
    if (ChartQueryOf(m_oPage, m_eRange, 0).m_bAdvanced) {
        AddPane(NewStrengthPane(), kStrengthHeight);
    }
    m_panes.front()->Lead({m_panes.begin() + 1, m_panes.end()});
}

ChartView* ChartPage::NewPricePane() {
    const ChartLine& line = m_lines.front();
    const QString name = QString::fromStdString(line.m_sCode);
    std::vector<QLineSeries*> lines{NewDayLine(
        name, line.m_points, [](const ChartPoint& p) { return p.m_dValue; }, kPriceColor)};
    QChart* chart = NewChart();
    if (ChartQueryOf(m_oPage, m_eRange, 0).m_bAdvanced) {
        lines.push_back(NewDayLine(
            QStringLiteral("MA50"), line.m_points, [](const ChartPoint& p) { return p.m_dMA50; },
            kAverage50));
        lines.push_back(NewDayLine(
            QStringLiteral("MA200"), line.m_points, [](const ChartPoint& p) { return p.m_dMA200; },
            kAverage200));
        chart->legend()->show();
        chart->legend()->setAlignment(Qt::AlignTop);
    }
    QDateTimeAxis* days = NewDayAxis(line.m_points.front().m_lDay, line.m_points.back().m_lDay);
    QAbstractAxis* values = NewValueAxis(lines, m_bLog, kVolumeShare);
    for (QLineSeries* each : lines) {
        Attach(*chart, each, days, Qt::AlignBottom, values, Qt::AlignRight);
    }
    auto* pane = new ChartView(chart, m_pReadout, this);
    pane->SetBars(QStringLiteral("Volume (millions)"), VolumesOf(line), kVolumeShare);
    return pane;
}

ChartView* ChartPage::NewStrengthPane() {
    const ChartLine& line = m_lines.front();
    std::vector<QLineSeries*> lines{NewDayLine(
        QStringLiteral("Relative strength"), line.m_points,
        [](const ChartPoint& p) { return p.m_dRelStrength; }, kStrengthColor)};
    QChart* chart = NewChart();
    chart->setTitle(QStringLiteral("Relative strength against the market (100 on the first day)"));
    QDateTimeAxis* days = NewDayAxis(line.m_points.front().m_lDay, line.m_points.back().m_lDay);
    QAbstractAxis* values = NewValueAxis(lines, false);
    static_cast<QValueAxis*>(values)->setTickCount(3);
    Attach(*chart, lines.front(), days, Qt::AlignBottom, values, Qt::AlignRight);
    return new ChartView(chart, m_pReadout, this);
}

ChartView* ChartPage::NewComparisonPane() {
    QChart* chart = NewChart();
    chart->legend()->show();
    chart->legend()->setAlignment(Qt::AlignTop);
    std::vector<QLineSeries*> lines;
    int32_t first = m_lines.front().m_points.front().m_lDay;
    int32_t last = m_lines.front().m_points.back().m_lDay;
    for (const ChartLine& line : m_lines) {
        const double base = FirstValue(line);
        lines.push_back(NewDayLine(
            QString::fromStdString(line.m_sCode), line.m_points,
            [](const ChartPoint& p) { return p.m_dValue; },
            QColor(kPalette[lines.size() % kPalette.size()]), 100.0 / base));
        if (!line.m_points.empty()) {
            first = std::min(first, line.m_points.front().m_lDay);
            last = std::max(last, line.m_points.back().m_lDay);
        }
    }
    QDateTimeAxis* days = NewDayAxis(first, last);
    QAbstractAxis* values = NewValueAxis(lines, false);
    for (QLineSeries* line : lines) {
        Attach(*chart, line, days, Qt::AlignBottom, values, Qt::AlignRight);
    }
    return new ChartView(chart, m_pReadout, this);
}

}  // namespace qv
