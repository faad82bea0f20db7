// A person's pointer as a widget receives it, and a look for drawn text in a picture of a view.
#pragma once

#include <QEvent>
#include <QPoint>
#include <QRect>

#include <cstdint>

class QColor;
class QImage;
class QWidget;

namespace qv::test {

void SendMouse(QWidget* p_pWidget, QEvent::Type p_eType, QPoint p_point, Qt::MouseButton p_button,
               Qt::MouseButtons p_buttons, Qt::KeyboardModifiers p_modifiers = {});

// A press and release of the left button.
void ClickAt(QWidget* p_pWidget, QPoint p_point);

// A pixel of a cell's background: inside its left padding, clear of text and grid lines.
QColor BackgroundOf(const QImage& p_picture, const QRect& p_cell);

// Whether text of about p_lColour is drawn in p_cell: smoothed glyphs mix their colour with the
// background, so the darkest or lightest strokes come near it without meeting it.
bool HasText(const QImage& p_picture, const QRect& p_cell, int32_t p_lColour);

}  // namespace qv::test
