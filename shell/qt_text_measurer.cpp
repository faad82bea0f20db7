#include "shell/qt_text_measurer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QString>

#include <cmath>

namespace qv {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDotsPerInch = 96.0;

double ScreenDotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchX() : kDefaultDotsPerInch;
}

}  // namespace

int32_t QtTextMeasurer::TextWidth(std::string_view p_sText, const FontSpec& p_font) const {
    QFont font = QGuiApplication::font();
    if (!p_font.Name.empty()) {
        font.setFamily(QString::fromStdString(p_font.Name));
    }
    if (p_font.Size > 0) {
        font.setPointSizeF(p_font.Size);
    }
    font.setBold(p_font.Bold);
    const QFontMetricsF metrics(font);
    const double pixels = metrics.horizontalAdvance(
        QString::fromUtf8(p_sText.data(), static_cast<qsizetype>(p_sText.size())));
    return static_cast<int32_t>(std::lround(pixels * kTwipsPerInch / ScreenDotsPerInch()));
}

}  // namespace qv
