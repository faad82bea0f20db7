// What the chart pages share: days on a date axis, lines of days, a volume pane, and a chart view
// that a person can read and move about in.
//
// The view reads out, under the mouse, the day and the value of each line (and bar) on that day,
// with a
// crosshair at the first line's point; the wheel zooms the days in and out about the mouse, a
// drag of the left button zooms to the days it spans, the right button zooms back out, and a
// drag of the middle button (or the arrow keys) pans.
#pragma once

#include "shell/chart_series.h"

#include <QChartView>
#include <QColor>
#include <QDateTime>
#include <QPointF>
#include <QString>

#include <vector>

#include <cstdint>
#include <functional>
#include <vector>

class QAbstractAxis;
class QAbstractSeries;
class QChart;
class QDateTimeAxis;
class QLabel;
class QLineSeries;

namespace qv {

// Where day p_lDay (a day serial) lies on a date axis: noon of that day, UTC, which is the same
// day in the local time of every zone within eleven hours of it.
qreal DayPosition(int32_t p_lDay);
int32_t DayAt(qreal p_dPosition);
QString DayText(int32_t p_lDay);

// A date axis over p_lFirst..p_lLast, labelled to suit the span.
QDateTimeAxis* NewDayAxis(int32_t p_lFirst, int32_t p_lLast);

// A line named p_sName of the figures p_fnFigure picks from p_points, leaving out the days it
// gives NaN. p_dScale multiplies every figure.
QLineSeries* NewDayLine(const QString& p_sName, const std::vector<ChartPoint>& p_points,
                        const std::function<double(const ChartPoint&)>& p_fnFigure,
                        const QColor& p_oColor, double p_dScale = 1.0);

// The lowest and highest y of the lines, widened by a twentieth of the span (at least 1) so that
// no line runs along the frame; low stays above 0 when p_bPositive.
std::pair<double, double> ValueRange(const std::vector<QLineSeries*>& p_lines, bool p_bPositive);

// Attaches p_pSeries to the axes, which the chart takes if they are not yet its own.
void Attach(QChart& p_oChart, QAbstractSeries* p_pSeries, QAbstractAxis* p_pX, Qt::Alignment p_eX,
            QAbstractAxis* p_pY, Qt::Alignment p_eY);

class ChartView;

// Two lines of the rows of p_oLines ("TradeDate", p_sHeldField, "Market"), oldest first: what is
// held, named p_sHeld, against the market, on one value axis. The rows must not be empty.
ChartView* NewHeldAndMarketView(Recordset& p_oLines, const char* p_sHeldField,
                                const QString& p_sHeld, const QString& p_sTitle,
                                QWidget* p_pParent);

class ChartView : public QChartView {
  public:
    // p_pReadout shows the day and values under the mouse; it may be shared by the panes of a
    // page.
    ChartView(QChart* p_pChart, QLabel* p_pReadout, QWidget* p_pParent = nullptr);

    // The other panes follow the days this view shows.
    void Lead(const std::vector<ChartView*>& p_followers);
    QDateTimeAxis* DayAxis() const;
    // Bars along the bottom of the plot, under the lines and the grid, on no axis of their own:
    // p_bars (day position, figure) with the tallest reaching p_dShare of the plot's height. The
    // view paints them itself, which costs a long series nothing until it is shown; the read-out
    // names their figure p_sName.
    void SetBars(const QString& p_sName, std::vector<QPointF> p_bars, double p_dShare);
    const std::vector<QPointF>& Bars() const { return m_bars; }

  protected:
    void mouseMoveEvent(QMouseEvent* p_pEvent) override;
    void mousePressEvent(QMouseEvent* p_pEvent) override;
    void mouseReleaseEvent(QMouseEvent* p_pEvent) override;
    void wheelEvent(QWheelEvent* p_pEvent) override;
    void keyPressEvent(QKeyEvent* p_pEvent) override;
    void leaveEvent(QEvent* p_pEvent) override;
    void resizeEvent(QResizeEvent* p_pEvent) override;
    void drawForeground(QPainter* p_pPainter, const QRectF& p_oRect) override;
    void drawBackground(QPainter* p_pPainter, const QRectF& p_oRect) override;

  private:
    void ReadOut(const QPointF& p_oAt);

    QLabel* m_pReadout;
    // Where the crosshair is, in the chart's coordinates; null when the mouse is away.
    QPointF m_oCross;
    bool m_bCross = false;
    bool m_bPanning = false;
    QPointF m_oPanFrom;
    QString m_sBars;
    std::vector<QPointF> m_bars;
    double m_dBarsShare = 0;
    double m_dTallest = 0;
};

}  // namespace qv
