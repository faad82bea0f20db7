#include "shell/chart_parts.h"

#include "outside/recordset.h"
#include "outside/vb_date.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <span>

namespace qv {

namespace {

constexpr qreal kWheelStep = 1.25;
const QColor kBarColor(0x7a, 0x8a, 0xa6, 0xb0);
constexpr int32_t kShortSpan = 120;
constexpr int32_t kLongSpan = 800;

// Day serial 25569 is 1970-01-01, where milliseconds since the epoch start.
constexpr int32_t kEpochDay = 25569;
constexpr qint64 kDayMilliseconds = 86400000;

// The point nearest x, or nothing where there are no points. The points are in order of day.
std::optional<QPointF> PointNear(std::span<const QPointF> p_points, qreal p_dX) {
    if (p_points.empty()) {
        return std::nullopt;
    }
    auto after = std::lower_bound(p_points.begin(), p_points.end(), p_dX,
                                  [](const QPointF& p, qreal x) { return p.x() < x; });
    if (after == p_points.end()) {
        return p_points.back();
    }
    if (after != p_points.begin() && p_dX - (after - 1)->x() < after->x() - p_dX) {
        --after;
    }
    return *after;
}

QString FigureText(qreal p_dValue) {
    return QString::number(p_dValue, 'f', std::abs(p_dValue) >= 1000 ? 0 : 2);
}

}  // namespace

// Counted, not converted through the local time zone, which costs a look at the zone's file for
// every point of a long series.
qreal DayPosition(int32_t p_lDay) {
    return static_cast<qreal>((p_lDay - kEpochDay) * kDayMilliseconds + kDayMilliseconds / 2);
}

int32_t DayAt(qreal p_dPosition) {
    return static_cast<int32_t>(std::floor(p_dPosition / kDayMilliseconds)) + kEpochDay;
}

QString DayText(int32_t p_lDay) {
    return QString::fromStdString(IsoDateText(p_lDay));
}

QDateTimeAxis* NewDayAxis(int32_t p_lFirst, int32_t p_lLast) {
    auto* axis = new QDateTimeAxis;
    const int32_t span = p_lLast - p_lFirst;
    axis->setFormat(span <= kShortSpan  ? QStringLiteral("d MMM")
                    : span <= kLongSpan ? QStringLiteral("d MMM yyyy")
                                        : QStringLiteral("MMM yyyy"));
    axis->setTickCount(7);
    axis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(DayPosition(p_lFirst))),
                   QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(DayPosition(p_lLast))));
    return axis;
}

QLineSeries* NewDayLine(const QString& p_sName, const std::vector<ChartPoint>& p_points,
                        const std::function<double(const ChartPoint&)>& p_fnFigure,
                        const QColor& p_oColor, double p_dScale) {
    auto* line = new QLineSeries;
    line->setName(p_sName);
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(p_points.size()));
    for (const ChartPoint& point : p_points) {
        const double figure = p_fnFigure(point);
        if (!std::isnan(figure)) {
            points.append(QPointF(DayPosition(point.m_lDay), figure * p_dScale));
        }
    }
    line->replace(points);
    QPen pen(p_oColor);
    pen.setWidthF(1.5);
    line->setPen(pen);
    return line;
}

std::pair<double, double> ValueRange(const std::vector<QLineSeries*>& p_lines, bool p_bPositive) {
    double low = INFINITY;
    double high = -INFINITY;
    for (const QLineSeries* line : p_lines) {
        for (const QPointF& point : line->points()) {
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    if (low > high) {
        return {0.0, 1.0};
    }
    const double margin = std::max((high - low) / 20.0, 1.0);
    const double floor = p_bPositive && low - margin <= 0 ? low / 2 : low - margin;
    return {floor, high + margin};
}

void Attach(QChart& p_oChart, QAbstractSeries* p_pSeries, QAbstractAxis* p_pX, Qt::Alignment p_eX,
            QAbstractAxis* p_pY, Qt::Alignment p_eY) {
    p_oChart.addSeries(p_pSeries);
    for (const auto& [axis, side] : {std::pair{p_pX, p_eX}, std::pair{p_pY, p_eY}}) {
        if (!p_oChart.axes().contains(axis)) {
            p_oChart.addAxis(axis, side);
        }
        p_pSeries->attachAxis(axis);
    }
}

ChartView::ChartView(QChart* p_pChart, QLabel* p_pReadout, QWidget* p_pParent)
    : QChartView(p_pChart, p_pParent), m_pReadout(p_pReadout) {
    setRenderHint(QPainter::Antialiasing);
    // The view's own background stands for the chart's, so that bars can be painted under the
    // grid and the lines, and every pane of a page looks alike.
    chart()->setBackgroundVisible(false);
    setBackgroundBrush(Qt::white);
    setRubberBand(QChartView::HorizontalRubberBand);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

QDateTimeAxis* ChartView::DayAxis() const {
    const QList<QAbstractAxis*> axes = chart()->axes(Qt::Horizontal);
    return axes.isEmpty() ? nullptr : qobject_cast<QDateTimeAxis*>(axes.front());
}

void ChartView::Lead(const std::vector<ChartView*>& p_followers) {
    QDateTimeAxis* lead = DayAxis();
    for (ChartView* follower : p_followers) {
        QDateTimeAxis* axis = follower->DayAxis();
        if (lead != nullptr && axis != nullptr) {
            connect(lead, &QDateTimeAxis::rangeChanged, axis, &QDateTimeAxis::setRange);
        }
    }
}

void ChartView::ReadOut(const QPointF& p_oAt) {
    const QRectF area = chart()->plotArea();
    const QList<QAbstractSeries*> series = chart()->series();
    m_bCross = false;
    if (!area.contains(p_oAt) || series.isEmpty()) {
        return;
    }
    const qreal x = chart()->mapToValue(p_oAt, series.front()).x();
    QStringList parts;
    for (QAbstractSeries* each : series) {
        const auto* line = qobject_cast<QXYSeries*>(each);
        const QList<QPointF> points = line != nullptr ? line->points() : QList<QPointF>();
        const std::optional<QPointF> near =
            PointNear(std::span<const QPointF>(points.constData(), points.size()), x);
        if (!near) {
            continue;
        }
        if (parts.isEmpty()) {
            parts << DayText(DayAt(near->x()));
            m_oCross = chart()->mapToPosition(*near, each);
            m_bCross = true;
        }
        parts << each->name() + QStringLiteral(" ") + FigureText(near->y());
    }
    if (const std::optional<QPointF> bar = PointNear(m_bars, x); bar && m_bCross) {
        parts << m_sBars + QStringLiteral(" ") + FigureText(bar->y());
    }
    if (m_pReadout != nullptr && m_bCross) {
        m_pReadout->setText(parts.join(QStringLiteral("   ")));
    }
}

void ChartView::mouseMoveEvent(QMouseEvent* p_pEvent) {
    if (m_bPanning) {
        const QPointF by = p_pEvent->position() - m_oPanFrom;
        chart()->scroll(-by.x(), 0);
        m_oPanFrom = p_pEvent->position();
    }
    ReadOut(p_pEvent->position());
    viewport()->update();
    QChartView::mouseMoveEvent(p_pEvent);
}

void ChartView::mousePressEvent(QMouseEvent* p_pEvent) {
    if (p_pEvent->button() == Qt::MiddleButton) {
        m_bPanning = true;
        m_oPanFrom = p_pEvent->position();
        return;
    }
    QChartView::mousePressEvent(p_pEvent);
}

void ChartView::mouseReleaseEvent(QMouseEvent* p_pEvent) {
    if (p_pEvent->button() == Qt::MiddleButton) {
        m_bPanning = false;
        return;
    }
    QChartView::mouseReleaseEvent(p_pEvent);
}

// Only the days zoom: the values keep their axis, so that a line stays in view.
void ChartView::wheelEvent(QWheelEvent* p_pEvent) {
    const QRectF area = chart()->plotArea();
    const qreal factor = p_pEvent->angleDelta().y() > 0 ? 1 / kWheelStep : kWheelStep;
    const qreal x = std::clamp(p_pEvent->position().x(), area.left(), area.right());
    const qreal left = x - (x - area.left()) * factor;
    chart()->zoomIn(QRectF(left, area.top(), area.width() * factor, area.height()));
    p_pEvent->accept();
}

void ChartView::keyPressEvent(QKeyEvent* p_pEvent) {
    const qreal step = chart()->plotArea().width() / 10;
    switch (p_pEvent->key()) {
        case Qt::Key_Left:
            chart()->scroll(-step, 0);
            return;
        case Qt::Key_Right:
            chart()->scroll(step, 0);
            return;
        case Qt::Key_Plus:
            chart()->zoom(kWheelStep);
            return;
        case Qt::Key_Minus:
            chart()->zoom(1 / kWheelStep);
            return;
        default:
            QChartView::keyPressEvent(p_pEvent);
    }
}

void ChartView::SetBars(const QString& p_sName, std::vector<QPointF> p_bars, double p_dShare) {
    m_sBars = p_sName;
    m_bars = std::move(p_bars);
    m_dBarsShare = p_dShare;
    m_dTallest = 0;
    for (const QPointF& bar : m_bars) {
        m_dTallest = std::max(m_dTallest, bar.y());
    }
}

// A day's bar is 70% of a day wide, where the days' axis puts it.
void ChartView::drawBackground(QPainter* p_pPainter, const QRectF& p_oRect) {
    QChartView::drawBackground(p_pPainter, p_oRect);
    const QList<QAbstractSeries*> series = chart()->series();
    if (m_bars.empty() || m_dTallest <= 0 || series.isEmpty()) {
        return;
    }
    const QRectF area = chart()->plotArea();
    QAbstractSeries* days = series.front();
    const qreal dayWidth = chart()->mapToPosition(QPointF(DayPosition(1), 0), days).x() -
                           chart()->mapToPosition(QPointF(DayPosition(0), 0), days).x();
    const qreal half = std::max<qreal>(0.35 * dayWidth, 0.5);
    const qreal scale = m_dBarsShare * area.height() / m_dTallest;
    p_pPainter->save();
    p_pPainter->setClipRect(area);
    p_pPainter->setPen(Qt::NoPen);
    p_pPainter->setBrush(kBarColor);
    for (const QPointF& bar : m_bars) {
        const qreal x = chart()->mapToPosition(QPointF(bar.x(), 0), days).x();
        p_pPainter->drawRect(
            QRectF(x - half, area.bottom() - bar.y() * scale, 2 * half, bar.y() * scale));
    }
    p_pPainter->restore();
}

// A date label takes about this many pixels; a narrow chart (a page in a narrow dock) shows
// fewer dates rather than elided ones.
constexpr int kPixelsPerDate = 105;
constexpr int kMostDates = 7;

void ChartView::resizeEvent(QResizeEvent* p_pEvent) {
    QChartView::resizeEvent(p_pEvent);
    if (QDateTimeAxis* days = DayAxis()) {
        days->setTickCount(std::clamp(width() / kPixelsPerDate, 2, kMostDates));
    }
}

void ChartView::leaveEvent(QEvent* p_pEvent) {
    m_bCross = false;
    viewport()->update();
    QChartView::leaveEvent(p_pEvent);
}

void ChartView::drawForeground(QPainter* p_pPainter, const QRectF& p_oRect) {
    QChartView::drawForeground(p_pPainter, p_oRect);
    if (!m_bCross) {
        return;
    }
    const QRectF area = chart()->plotArea();
    p_pPainter->save();
    p_pPainter->setPen(QPen(QColor(90, 90, 90), 0, Qt::DashLine));
    p_pPainter->drawLine(QPointF(m_oCross.x(), area.top()), QPointF(m_oCross.x(), area.bottom()));
    p_pPainter->drawLine(QPointF(area.left(), m_oCross.y()), QPointF(area.right(), m_oCross.y()));
    p_pPainter->restore();
}

ChartView* NewHeldAndMarketView(Recordset& p_oLines, const char* p_sHeldField,
                                const QString& p_sHeld, const QString& p_sTitle,
                                QWidget* p_pParent) {
    std::vector<ChartPoint> held;
    std::vector<ChartPoint> market;
    for (p_oLines.MoveFirst(); !p_oLines.IsEOF(); p_oLines.MoveNext()) {
        const auto day = static_cast<int32_t>(p_oLines.Value("TradeDate").ToDate());
        held.push_back({day, FigureOf(p_oLines.Value(p_sHeldField))});
        market.push_back({day, FigureOf(p_oLines.Value("Market"))});
    }
    const auto value = [](const ChartPoint& p) { return p.m_dValue; };
    std::vector<QLineSeries*> lines{
        NewDayLine(p_sHeld, held, value, QColor(0x1f, 0x4e, 0x9c)),
        NewDayLine(QStringLiteral("Market"), market, value, QColor(0x90, 0x90, 0x90))};
    auto* chart = new QChart;
    chart->setTitle(p_sTitle);
    chart->legend()->setAlignment(Qt::AlignTop);
    QDateTimeAxis* days = NewDayAxis(held.front().m_lDay, held.back().m_lDay);
    auto* values = new QValueAxis;
    const auto [low, high] = ValueRange(lines, false);
    values->setRange(low, high);
    values->applyNiceNumbers();
    for (QLineSeries* line : lines) {
        Attach(*chart, line, days, Qt::AlignBottom, values, Qt::AlignRight);
    }
    return new ChartView(chart, nullptr, p_pParent);
}

}  // namespace qv
