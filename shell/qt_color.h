// The runtime's colour values (outside/color.h) as Qt colours and back.
#pragma once

#include "outside/color.h"

#include <QColor>

#include <cstdint>

namespace qv {

inline QColor ToQColor(int32_t p_lColor) {
    return QColor(RedOf(p_lColor), GreenOf(p_lColor), BlueOf(p_lColor));
}

inline int32_t ToRgbColor(const QColor& p_color) {
    return RgbColor(p_color.red(), p_color.green(), p_color.blue());
}

}  // namespace qv
