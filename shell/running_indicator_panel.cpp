#include "shell/running_indicator_panel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int32_t kMarginTwips = 30;
constexpr int kSpokes = 12;
constexpr int kStepMilliseconds = 80;
constexpr int kWheelSize = 32;
constexpr int kPadding = 14;
constexpr int kMinimumWidth = 180;
constexpr int kHeight = 60;
constexpr double kFullTurnDegrees = 360.0;

}  // namespace

int32_t IndicatorOffset(int32_t p_lControl, int32_t p_lIndicator) {
    if (p_lIndicator + 2 * kMarginTwips >= p_lControl) {
        return kMarginTwips;
    }
    return (p_lControl - p_lIndicator) / 2;
}

RunningIndicatorPanel::RunningIndicatorPanel(QWidget* p_pParent) : QWidget(p_pParent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer.setInterval(kStepMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &RunningIndicatorPanel::Advance);
    if (p_pParent != nullptr) {
        p_pParent->installEventFilter(this);
    }
    hide();
}

void RunningIndicatorPanel::SetCaption(const QString& p_sCaption) {
    m_sCaption = p_sCaption;
    const int text = QFontMetrics(font()).horizontalAdvance(m_sCaption);
    resize(std::max(kMinimumWidth, kWheelSize + 3 * kPadding + text), kHeight);
    Place();
    update();
}

void RunningIndicatorPanel::Place() {
    const QWidget* parent = parentWidget();
    if (parent == nullptr) {
        return;
    }
    const double twipsPerPixel = kTwipsPerInch / std::max(logicalDpiX(), 1);
    const auto twips = [&](int pixels) {
        return static_cast<int32_t>(std::lround(pixels * twipsPerPixel));
    };
    const auto pixels = [&](int32_t twipsValue) {
        return static_cast<int>(std::lround(twipsValue / twipsPerPixel));
    };
    move(pixels(IndicatorOffset(twips(parent->width()), twips(width()))),
         pixels(IndicatorOffset(twips(parent->height()), twips(height()))));
}

bool RunningIndicatorPanel::eventFilter(QObject* p_pWatched, QEvent* p_pEvent) {
    if (p_pWatched == parentWidget() && p_pEvent->type() == QEvent::Resize) {
        Place();
    }
    return QWidget::eventFilter(p_pWatched, p_pEvent);
}

void RunningIndicatorPanel::showEvent(QShowEvent* p_pEvent) {
    QWidget::showEvent(p_pEvent);
    raise();
    m_timer.start();
}

void RunningIndicatorPanel::hideEvent(QHideEvent* p_pEvent) {
    m_timer.stop();
    QWidget::hideEvent(p_pEvent);
}

void RunningIndicatorPanel::Advance() {
    m_iStep = (m_iStep + 1) % kSpokes;
    update();
}

void RunningIndicatorPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    // Twelve spokes, the one at the step darkest and the ones behind it fading.
    const QPointF centre(kPadding + kWheelSize / 2.0, height() / 2.0);
    painter.save();
    painter.translate(centre);
    for (int spoke = 0; spoke < kSpokes; ++spoke) {
        const int age = (m_iStep - spoke + kSpokes) % kSpokes;
        QColor colour(0, 80, 128);
        colour.setAlphaF(1.0 - static_cast<double>(age) / kSpokes);
        painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(kFullTurnDegrees * spoke / kSpokes);
        painter.drawLine(QPointF(0, -kWheelSize / 4.0), QPointF(0, -kWheelSize / 2.0));
        painter.restore();
    }
    painter.restore();

    painter.setPen(Qt::black);
    const QRect text(kPadding * 2 + kWheelSize, 0, width() - kPadding * 3 - kWheelSize, height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, m_sCaption);
}

}  // namespace qv
