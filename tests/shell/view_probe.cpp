#include "shell/view_probe.h"

#include "shell/qt_color.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <cstdlib>

namespace qv::test {

void SendMouse(QWidget* p_pWidget, QEvent::Type p_eType, QPoint p_point, Qt::MouseButton p_button,
               Qt::MouseButtons p_buttons, Qt::KeyboardModifiers p_modifiers) {
    QMouseEvent event(p_eType, QPointF(p_point), QPointF(p_pWidget->mapToGlobal(p_point)), p_button,
                      p_buttons, p_modifiers);
    QApplication::sendEvent(p_pWidget, &event);
}

void ClickAt(QWidget* p_pWidget, QPoint p_point) {
    SendMouse(p_pWidget, QEvent::MouseButtonPress, p_point, Qt::LeftButton, Qt::LeftButton);
    SendMouse(p_pWidget, QEvent::MouseButtonRelease, p_point, Qt::LeftButton, Qt::NoButton);
}

QColor BackgroundOf(const QImage& p_picture, const QRect& p_cell) {
    EXPECT_FALSE(p_cell.isEmpty());
    return p_picture.pixelColor(p_cell.left() + 1, p_cell.top() + 2);
}

bool HasText(const QImage& p_picture, const QRect& p_cell, int32_t p_lColour) {
    const QColor text = ToQColor(p_lColour);
    const QRect inside = p_cell.adjusted(1, 1, -2, -2);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = p_picture.pixelColor(x, y);
            if (std::abs(pixel.red() - text.red()) + std::abs(pixel.green() - text.green()) +
                    std::abs(pixel.blue() - text.blue()) <
                60) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace qv::test
